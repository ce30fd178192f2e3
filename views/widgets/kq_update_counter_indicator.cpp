#include "views/widgets/kq_update_counter_indicator.h"

#include "display_protocol/wait_service.h"
#include "views/widgets/update_counter_animation.h"

#include <QPainter>

namespace {

constexpr qint64 kStepMs = 20;

} // namespace

kq_update_counter_indicator::kq_update_counter_indicator(QWidget *parent) : QWidget(parent), m_timer(this)
{
    connect(&m_timer, &QTimer::timeout, this, &kq_update_counter_indicator::animate_timer_timeout);
}

QSize kq_update_counter_indicator::sizeHint() const
{
    return QSize(20, 20);
}

QSize kq_update_counter_indicator::minimumSizeHint() const
{
    return sizeHint();
}

void kq_update_counter_indicator::set_value(int value)
{
    m_count = value;
    update();
}

void kq_update_counter_indicator::increment_value()
{
    ++m_count;
    if (m_phase > kUpdateCounterRestartPhase)
        m_phase = kUpdateCounterRestartPhase;
    m_timer.start(wait_service::timer_interval_ms(kStepMs));
}

void kq_update_counter_indicator::reset()
{
    m_timer.stop();
    m_count = 0;
    m_phase = 0;
    update();
}

void kq_update_counter_indicator::animate_timer_timeout()
{
    ++m_phase;
    update();
    if (m_phase >= kUpdateCounterLastPhase)
        m_timer.stop();
}

void kq_update_counter_indicator::paintEvent(QPaintEvent *)
{
    if (m_count == 0)
        return;
    const int side = qMin(width(), height());
    const double scale = update_counter_scale(m_phase);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, update_counter_pen_width(m_phase), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(Qt::white);
    painter.translate(side / 2, side / 2);
    painter.scale(scale, scale);
    const int radius = update_counter_radius(side, m_phase);
    painter.drawEllipse(QPoint(0, 0), radius, radius);
    painter.drawText(QRect(-side / 2, -side / 2, side, side), Qt::AlignCenter, update_counter_text(m_count));
}
