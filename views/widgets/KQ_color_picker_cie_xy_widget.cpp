#include "views/widgets/KQ_color_picker_cie_xy_widget.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kFrameColour(64, 64, 64);
const QColor kCentreLineColour(255, 64, 64);

QPixmap disabled_form(const QPixmap &picture)
{
    return QIcon(picture).pixmap(picture.size(), QIcon::Disabled);
}

} // namespace

KQ_color_picker_cie_xy_widget::KQ_color_picker_cie_xy_widget(QWidget *parent)
    : QWidget(parent),
      m_picture(QStringLiteral(":/images/Resources/cie_xy_control.png")),
      m_pictureDisabled(disabled_form(m_picture)),
      m_ball(QStringLiteral(":/images/Resources/control ball.png"))
{
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void KQ_color_picker_cie_xy_widget::setRange(int xMin, int xMax, int yMin, int yMax)
{
    m_value.minX = xMin;
    m_value.minY = yMin;
    m_value.spanX = xMax - xMin;
    m_value.spanY = yMax - yMin;
    updateGeometry();
    update();
}

void KQ_color_picker_cie_xy_widget::setValue(int x, int y)
{
    m_value.offsetX = x - m_value.minX;
    m_value.offsetY = y - m_value.minY;
    update();
}

bool KQ_color_picker_cie_xy_widget::setBackgroundImage(const QString &fileName)
{
    QPixmap picture(fileName);
    if (picture.isNull())
        return false;
    m_picture = picture;
    m_pictureDisabled = disabled_form(picture);
    update();
    return true;
}

void KQ_color_picker_cie_xy_widget::setShowCenterLines(bool show)
{
    m_showCenterLines = show;
    update();
}

void KQ_color_picker_cie_xy_widget::setReferenceSize(int width, int height)
{
    m_referenceSize = QSize(width, height);
}

bool KQ_color_picker_cie_xy_widget::hasHeightForWidth() const
{
    return true;
}

int KQ_color_picker_cie_xy_widget::heightForWidth(int width) const
{
    return cie_xy_height_for_width(m_value, width);
}

// The picture's own size, in logical pixels.
QSize KQ_color_picker_cie_xy_widget::sizeHint() const
{
    const qreal ratio = m_picture.devicePixelRatio();
    return QSize(qRound(m_picture.width() / ratio), qRound(heightForWidth(m_picture.width()) / ratio));
}

QSize KQ_color_picker_cie_xy_widget::minimumSizeHint() const
{
    return sizeHint();
}

double KQ_color_picker_cie_xy_widget::ballRadius() const
{
    return m_ball.logicalSize().width() / 2;
}

void KQ_color_picker_cie_xy_widget::setOffsets(QPoint offsets)
{
    m_value.offsetX = offsets.x();
    m_value.offsetY = offsets.y();
    update();
    emit cie_xy_changed(static_cast<unsigned int>(m_value.minX + m_value.offsetX),
                        static_cast<unsigned int>(m_value.minY + m_value.offsetY));
}

void KQ_color_picker_cie_xy_widget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (hasFocus()) {
        painter.setPen(QPen(kFrameColour, 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
    painter.setPen(QPen(kFrameColour, 1));
    painter.drawRect(rect().adjusted(8, 8, -9, -9));

    const QRect inside = rect().adjusted(kCieXyInset, kCieXyInset, -kCieXyInset, -kCieXyInset);
    if (!isEnabled()) {
        painter.drawPixmap(inside, m_pictureDisabled);
        return;
    }
    painter.drawPixmap(inside, m_picture);
    const cie_xy_area area = cie_xy_area_for(size());
    if (!m_value.hasRange() || !area.isValid())
        return;
    if (m_showCenterLines) {
        const QPointF centre = QRectF(inside).center();
        const bool xCentred = m_value.offsetX == m_value.spanX / 2;
        const bool yCentred = m_value.offsetY == m_value.spanY / 2;
        painter.setPen(QPen(kCentreLineColour, 1, xCentred ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(QPointF(centre.x(), inside.top()), QPointF(centre.x(), inside.bottom()));
        painter.setPen(QPen(kCentreLineColour, 1, yCentred ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(QPointF(inside.left(), centre.y()), QPointF(inside.right(), centre.y()));
    }
    const QPixmap &ball = m_ball.forRatio(devicePixelRatio());
    const QSizeF ballSize = m_ball.logicalSize();
    painter.drawPixmap(cie_xy_ball_centre(area, m_value) - QPointF(ballSize.width() / 2, ballSize.height() / 2), ball);
}

void KQ_color_picker_cie_xy_widget::mousePressEvent(QMouseEvent *event)
{
    const cie_xy_area area = cie_xy_area_for(size());
    if (!cie_xy_grabs(area, m_value, event->pos(), ballRadius()))
        return;
    const auto offsets = cie_xy_offsets_at(area, m_value, event->pos());
    if (!offsets)
        return;
    m_dragging = true;
    setCursor(Qt::ClosedHandCursor);
    setOffsets(*offsets);
}

void KQ_color_picker_cie_xy_widget::updateCursor(QPoint point)
{
    const cie_xy_area area = cie_xy_area_for(size());
    if (cie_xy_grabs(area, m_value, point, ballRadius()))
        setCursor(m_dragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void KQ_color_picker_cie_xy_widget::mouseMoveEvent(QMouseEvent *event)
{
    const cie_xy_area area = cie_xy_area_for(size());
    const bool over = cie_xy_grabs(area, m_value, event->pos(), ballRadius());
    if (!over && !m_dragging) {
        setCursor(Qt::ArrowCursor);
        return;
    }
    if (over)
        setCursor(m_dragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging)
        return;
    if (const auto offsets = cie_xy_offsets_at(area, m_value, event->pos()))
        setOffsets(*offsets);
}

void KQ_color_picker_cie_xy_widget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        return;
    m_dragging = false;
    updateCursor(event->pos());
}

void KQ_color_picker_cie_xy_widget::keyPressEvent(QKeyEvent *event)
{
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = 1;
        break;
    case Qt::Key_Down:
        dy = -1;
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
    if (const auto stepped = cie_xy_stepped(m_value, dx, dy))
        setOffsets(*stepped);
}
