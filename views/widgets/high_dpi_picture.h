#pragma once

#include <QPixmap>
#include <QSizeF>
#include <QString>

// A picture shown in its "@2x" variant on screens with a device pixel ratio
// above 1, chosen again whenever the ratio it is asked for changes.
class high_dpi_picture
{
public:
    explicit high_dpi_picture(const QString &name);

    // The picture for |devicePixelRatio|; its own ratio is its scale, so it
    // paints at its logical size.
    const QPixmap &forRatio(int devicePixelRatio);
    // 1, or 2 while the "@2x" variant is loaded.
    int scale() const { return m_scale; }
    QSizeF logicalSize() const { return QSizeF(m_pixmap.size()) / m_scale; }

private:
    QString m_name;
    QPixmap m_pixmap;
    int m_scale = 1;
    int m_ratio = 0;
};
