#include "views/widgets/high_dpi_picture.h"

#include "app/services/high_dpi_image.h"

high_dpi_picture::high_dpi_picture(const QString &name) : m_name(name), m_pixmap(name) {}

const QPixmap &high_dpi_picture::forRatio(int devicePixelRatio)
{
    if (devicePixelRatio != m_ratio) {
        m_ratio = devicePixelRatio;
        int scale = 1;
        QPixmap chosen(high_dpi_image_name(m_name, devicePixelRatio, &scale));
        if (!chosen.isNull()) {
            chosen.setDevicePixelRatio(scale);
            m_pixmap = chosen;
            m_scale = scale;
        }
    }
    return m_pixmap;
}
