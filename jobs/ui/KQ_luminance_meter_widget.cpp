#include "jobs/ui/KQ_luminance_meter_widget.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

const QColor kFrameColour(128, 128, 128);

} // namespace

KQ_luminance_meter_widget::KQ_luminance_meter_widget(QWidget *parent)
    : QWidget(parent),
      m_arrowLeft(QStringLiteral(":/images/Resources/small arrow left.png")),
      m_arrowRight(QStringLiteral(":/images/Resources/small arrow right.png")),
      m_arrowLeft2x(QStringLiteral(":/images/Resources/small arrow left@2x.png")),
      m_arrowRight2x(QStringLiteral(":/images/Resources/small arrow right@2x.png")),
      m_margin(qRound(m_arrowRight.height() / 2.0))
{
}

QSize KQ_luminance_meter_widget::sizeHint() const
{
    return QSize(2 * m_arrowRight.width() + 22, 80);
}

QSize KQ_luminance_meter_widget::minimumSizeHint() const
{
    return sizeHint();
}

void KQ_luminance_meter_widget::show_target_level(bool show)
{
    m_state.show_target = show;
    update();
}

void KQ_luminance_meter_widget::set_target_level(double level)
{
    m_state.target_level = level;
    if (level > m_state.maximum)
        m_state.maximum = level;
    update();
}

void KQ_luminance_meter_widget::set_value_min_max(double min, double max)
{
    m_state.minimum = min;
    m_state.maximum = max;
    update();
}

void KQ_luminance_meter_widget::set_value(double value)
{
    m_state.value = value > 0.0 ? value : 0.0;
    update();
}

void KQ_luminance_meter_widget::set_bar_graident_color(QColor inner_color, QColor outer_color)
{
    m_innerColor = inner_color;
    m_outerColor = outer_color;
    update();
}

void KQ_luminance_meter_widget::set_bar_background_fill_color(QColor in_color)
{
    m_backgroundFill = in_color;
    update();
}

void KQ_luminance_meter_widget::paintEvent(QPaintEvent *)
{
    const luminance_meter_layout layout = layout_luminance_meter(m_state, size(), m_arrowLeft.size(), m_margin);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kFrameColour, 2));
    painter.setBrush(m_backgroundFill);
    painter.drawRect(layout.background);

    const QRect bar = layout.value_bar;
    if (bar.height() != 0) {
        QLinearGradient gradient(bar.left(), 0, bar.left() + bar.width(), 0);
        gradient.setColorAt(0.0, m_outerColor);
        gradient.setColorAt(0.4, m_innerColor);
        gradient.setColorAt(1.0, m_outerColor);
        painter.fillRect(bar, gradient);
    }

    painter.setPen(QPen(m_backgroundFill, 1));
    for (const QPolygon &zigZag : layout.scale_break)
        painter.drawPolyline(zigZag);

    if (layout.show_target) {
        const bool doubleSize = devicePixelRatioF() >= 2.0 && !m_arrowLeft2x.isNull() && !m_arrowRight2x.isNull();
        painter.drawPixmap(QRect(layout.left_arrow, m_arrowLeft.size()), doubleSize ? m_arrowLeft2x : m_arrowLeft);
        painter.drawPixmap(QRect(layout.right_arrow, m_arrowRight.size()),
                           doubleSize ? m_arrowRight2x : m_arrowRight);
    }
}
