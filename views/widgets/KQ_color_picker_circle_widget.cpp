#include "views/widgets/KQ_color_picker_circle_widget.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr double kBallStep = 0.25;
const QColor kFocusColour(64, 64, 64);

} // namespace

KQ_color_picker_circle_widget::KQ_color_picker_circle_widget(QWidget *parent)
    : QWidget(parent),
      m_circle(QStringLiteral(":/images/Resources/white point color circle.png")),
      m_ball(QStringLiteral(":/images/Resources/control ball.png"))
{
    m_circleDisabled = QIcon(m_circle).pixmap(m_circle.size(), QIcon::Disabled);
    setMouseTracking(true);
    setMinimumSize(m_circle.size());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize KQ_color_picker_circle_widget::sizeHint() const
{
    return m_circle.size();
}

QSize KQ_color_picker_circle_widget::minimumSizeHint() const
{
    return m_circle.size();
}

void KQ_color_picker_circle_widget::setHueSaturation(double hue, double saturation)
{
    m_value.hue = hue;
    m_value.saturation = saturation;
    update();
}

void KQ_color_picker_circle_widget::moveControlBall(double dx, double dy)
{
    const auto moved = color_circle_moved(color_circle_geometry_for(size()), m_value,
                                          QPointF(dx * kBallStep, dy * kBallStep));
    if (!moved)
        return;
    m_value = *moved;
    update();
    emit HueSatChanged(m_value.hue, m_value.saturation);
}

void KQ_color_picker_circle_widget::paintEvent(QPaintEvent *)
{
    const int side = qMin(width(), height());
    QPainter painter(this);
    if (isEnabled()) {
        painter.drawPixmap(QRect(0, 0, side, side), m_circle);
        const QPixmap &ball = m_ball.forRatio(devicePixelRatio());
        const QPointF centre = color_circle_ball_centre(color_circle_geometry_for(size()), m_value);
        const QSizeF ballSize = m_ball.logicalSize();
        painter.drawPixmap(centre - QPointF(ballSize.width() / 2, ballSize.height() / 2), ball);
    } else {
        painter.drawPixmap(QRect(0, 0, side, side), m_circleDisabled);
    }
    if (hasFocus()) {
        painter.setPen(QPen(kFocusColour, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, side, side).adjusted(2, 2, -3, -3));
    }
}

void KQ_color_picker_circle_widget::mousePressEvent(QMouseEvent *event)
{
    const color_circle_geometry geometry = color_circle_geometry_for(size());
    if (!color_circle_contains(geometry, event->pos()))
        return;
    m_dragging = true;
    const hue_saturation pointed = color_circle_value_at(geometry, event->pos());
    emit HueSatChanged(pointed.hue, pointed.saturation);
}

void KQ_color_picker_circle_widget::mouseMoveEvent(QMouseEvent *event)
{
    const color_circle_geometry geometry = color_circle_geometry_for(size());
    if (!color_circle_contains(geometry, event->pos()))
        setCursor(Qt::ArrowCursor);
    else
        setCursor(m_dragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    if ((event->buttons() & Qt::LeftButton) && m_dragging && geometry.diameter >= 1) {
        const hue_saturation pointed = color_circle_value_at(geometry, event->pos());
        emit HueSatChanged(pointed.hue, pointed.saturation);
    }
}

void KQ_color_picker_circle_widget::mouseReleaseEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        m_dragging = false;
}

void KQ_color_picker_circle_widget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveControlBall(-1, 0);
        break;
    case Qt::Key_Right:
        moveControlBall(1, 0);
        break;
    case Qt::Key_Up:
        moveControlBall(0, -1);
        break;
    case Qt::Key_Down:
        moveControlBall(0, 1);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}
