#pragma once

#include "views/widgets/color_picker_cie_xy_geometry.h"
#include "views/widgets/high_dpi_picture.h"

#include <QPixmap>
#include <QWidget>

// Picks a point on a rectangular chromaticity picture with a draggable ball,
// in whole units over an integer range on each axis; every change made with
// the pointer or the arrow keys is reported.
class KQ_color_picker_cie_xy_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_color_picker_cie_xy_widget(QWidget *parent = nullptr);

    void setRange(int xMin, int xMax, int yMin, int yMax);
    // Not clamped and not reported.
    void setValue(int x, int y);
    // Keeps the current picture when |fileName| does not load.
    bool setBackgroundImage(const QString &fileName);
    void setShowCenterLines(bool show);
    // Kept for the owner; the picker itself does not use it.
    void setReferenceSize(int width, int height);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void cie_xy_changed(unsigned int x, unsigned int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double ballRadius() const;
    void setOffsets(QPoint offsets);
    void updateCursor(QPoint point);

    QPixmap m_picture;
    QPixmap m_pictureDisabled;
    high_dpi_picture m_ball;
    bool m_dragging = false;
    cie_xy_value m_value;
    QSize m_referenceSize;
    bool m_showCenterLines = false;
};
