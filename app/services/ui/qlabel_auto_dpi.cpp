#include "app/services/ui/qlabel_auto_dpi.h"

#include "app/services/high_dpi_image.h"

#include <QPixmap>
#include <QScreen>
#include <QWindow>

QLabelAutoDPI::QLabelAutoDPI(QWidget *parent) : QLabel(parent) {}

QLabelAutoDPI::~QLabelAutoDPI() = default;

void QLabelAutoDPI::setPixmapByFileName(const QString &fileName)
{
    m_fileName = fileName;
    m_devicePixelRatio = devicePixelRatio();
    showPicture();
}

void QLabelAutoDPI::screenChanged()
{
    const int ratio = devicePixelRatio();
    if (ratio == m_devicePixelRatio)
        return;
    m_devicePixelRatio = ratio;
    if (!pixmap(Qt::ReturnByValue).isNull())
        showPicture();
}

void QLabelAutoDPI::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (QWindow *handle = window()->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &QLabelAutoDPI::screenChanged, Qt::UniqueConnection);
    screenChanged();
}

void QLabelAutoDPI::showPicture()
{
    int scale = 1;
    QPixmap picture(high_dpi_image_name(m_fileName, m_devicePixelRatio, &scale));
    // The double-size picture covers the same logical size.
    picture.setDevicePixelRatio(scale);
    setPixmap(picture);
}
