#pragma once

#include <QLabel>

// A label that shows a picture by file name, in its "@2x" variant on
// screens with a device pixel ratio above 1, and picks again when its
// window moves to a screen of another ratio.
class QLabelAutoDPI : public QLabel
{
    Q_OBJECT

public:
    explicit QLabelAutoDPI(QWidget *parent = nullptr);
    ~QLabelAutoDPI() override;

public slots:
    void setPixmapByFileName(const QString &fileName);
    void screenChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showPicture();

    QString m_fileName;
    int m_devicePixelRatio = 0;
};
