#include "views/widgets/animated_logo_widget.h"

#include "app/services/high_dpi_image.h"
#include "display_protocol/wait_service.h"
#include "views/widgets/animated_logo_phases.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

constexpr qint64 kTickMs = 10;

} // namespace

animated_logo_widget::animated_logo_widget(QWidget *parent)
    : QWidget(parent), m_phase(kAnimatedLogoFirstPhase), m_timer(this),
      m_logoSize(QPixmap(animated_logo_frame_names(false).first()).size())
{
    connect(&m_timer, &QTimer::timeout, this, &animated_logo_widget::update_image);
    m_timer.start(wait_service::timer_interval_ms(kTickMs));
    screenChanged();
}

QSize animated_logo_widget::minimumSizeHint() const
{
    return m_logoSize;
}

void animated_logo_widget::update_image()
{
    m_phase = animated_logo_next_phase(m_phase);
    update();
}

void animated_logo_widget::screenChanged()
{
    const int ratio = devicePixelRatio();
    if (ratio == m_scale)
        return;
    m_frames.clear();
    const bool dark = animated_logo_is_dark(QApplication::palette().color(QPalette::Window));
    for (const QString &name : animated_logo_frame_names(dark)) {
        int scale = 1;
        QPixmap frame(high_dpi_image_name(name, ratio, &scale));
        m_scale = scale;
        if (frame.isNull())
            continue;
        frame.setDevicePixelRatio(scale);
        m_frames.append(frame);
    }
    update();
}

void animated_logo_widget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QWindow *handle = window()->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &animated_logo_widget::screenChanged, Qt::UniqueConnection);
}

void animated_logo_widget::paintEvent(QPaintEvent *)
{
    if (m_frames.size() != 3)
        return;
    QPainter painter(this);
    for (const logo_drawing &drawing : animated_logo_drawings(m_phase, m_logoSize.height())) {
        painter.setOpacity(drawing.opacity);
        painter.drawPixmap(QPointF(0, drawing.y), m_frames.at(drawing.frame));
    }
}
