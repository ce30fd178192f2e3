#include "jobs/ui/KQ_color_xy_widget.h"

#include "jobs/ui/color_xy_geometry.h"

#include <QPainter>

namespace {

constexpr int kCrossArm = 5;
const QColor kFrameColour(128, 128, 128);
const QColor kTargetColour(237, 0, 0);

} // namespace

KQ_color_xy_widget::KQ_color_xy_widget(QWidget *parent)
    : QWidget(parent), m_background(QStringLiteral(":/images/Resources/white point adjustment xy.png"))
{
}

QSize KQ_color_xy_widget::sizeHint() const
{
    return QSize(60, 60);
}

QSize KQ_color_xy_widget::minimumSizeHint() const
{
    return sizeHint();
}

void KQ_color_xy_widget::SetMeasured_xy(double in_x, double in_y)
{
    m_measuredX = in_x;
    m_measuredY = in_y;
    update();
}

void KQ_color_xy_widget::SetTarget_xy(double in_x, double in_y)
{
    m_targetX = in_x;
    m_targetY = in_y;
    update();
}

void KQ_color_xy_widget::SetFinalMeasurement(bool in_final)
{
    m_finalMeasurement = in_final;
    update();
}

void KQ_color_xy_widget::paintEvent(QPaintEvent *)
{
    const color_xy_geometry geometry = color_xy_geometry_for(size());
    const QRect &square = geometry.square;
    if (square.isEmpty())
        return;
    QPainter painter(this);
    painter.drawPixmap(square, m_background);
    painter.setPen(kFrameColour);
    painter.drawRect(square.adjusted(-1, -1, 0, 0));

    const int x0 = square.left();
    const int y0 = square.top();
    const int e = geometry.last;
    const int c = geometry.centre;
    painter.setPen(kTargetColour);
    painter.drawLine(x0, y0 + c, x0 + e, y0 + c);
    painter.drawLine(x0 + c, y0, x0 + c, y0 + e);
    painter.drawLine(x0 + c - kCrossArm, y0 + c - kCrossArm, x0 + c + kCrossArm, y0 + c + kCrossArm);
    painter.drawLine(x0 + c - kCrossArm, y0 + c + kCrossArm, x0 + c + kCrossArm, y0 + c - kCrossArm);

    const auto measured = color_xy_measured_offset(geometry, m_targetX, m_targetY, m_measuredX, m_measuredY);
    if (!measured)
        return;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(x0 + measured->x(), y0, x0 + measured->x(), y0 + e);
    painter.drawLine(x0, y0 + measured->y(), x0 + e, y0 + measured->y());
}
