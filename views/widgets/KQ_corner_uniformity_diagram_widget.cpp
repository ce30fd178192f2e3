#include "views/widgets/KQ_corner_uniformity_diagram_widget.h"

#include "views/widgets/corner_uniformity_geometry.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kLevels = 3;
constexpr int kTintAlpha = 100;
constexpr int kHoverFill = 255;
constexpr int kRestingFill = 240;
const QColor kFocusColour(64, 64, 64);
const QColor kLevelColour(255, 128, 128);
const QColor kHoverPen(0, 84, 183);
const QColor kHoverFillColour(204, 228, 247);

bool is_corner(int corner)
{
    return corner >= 0 && corner < 4;
}

} // namespace

KQ_corner_uniformity_diagram_widget::KQ_corner_uniformity_diagram_widget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover, true);
    setMouseTracking(true);
}

void KQ_corner_uniformity_diagram_widget::setCornerUniformityData(const CornerUniformitySet &data)
{
    m_data = data;
    // A selection from outside the four corners is none.
    m_selectedCorner = is_corner(data.selected_corner) ? data.selected_corner : -1;
    update();
}

QSize KQ_corner_uniformity_diagram_widget::minimumSizeHint() const
{
    return QSize(100, 100);
}

QSize KQ_corner_uniformity_diagram_widget::sizeHint() const
{
    return minimumSizeHint();
}

void KQ_corner_uniformity_diagram_widget::showHover(bool show)
{
    m_showHover = show;
    update();
}

QPointF KQ_corner_uniformity_diagram_widget::toDiagram(const QPoint &pos) const
{
    return corner_diagram_transform(size(), portrait()).inverted().map(QPointF(pos));
}

bool KQ_corner_uniformity_diagram_widget::usable(const QPointF &point) const
{
    return m_data.isSupported() && corner_diagram_hit_rect(portrait()).contains(point);
}

int KQ_corner_uniformity_diagram_widget::levelOf(int corner) const
{
    return is_corner(corner) ? corner_diagram_level(m_data.corners[corner]) : -1;
}

void KQ_corner_uniformity_diagram_widget::setCornerCursor(int corner, bool usable)
{
    if (!usable || corner < 0 || corner != m_selectedCorner)
        setCursor(Qt::ArrowCursor);
    else
        setCursor(corner_diagram_cursor(corner, portrait()));
}

// A model without corner correction takes no pointer input at all, not even
// the click outside that would deselect.
void KQ_corner_uniformity_diagram_widget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_data.isSupported()) {
        m_pressed = true;
        m_pressedCorner = m_pressedLevel = m_hoveredLevel = -1;
        const QPointF point = toDiagram(event->pos());
        if (usable(point)) {
            m_pressedCorner = corner_diagram_corner_at(point, portrait());
            if (m_pressedCorner == m_selectedCorner)
                m_pressedLevel = corner_diagram_level_at(point, m_selectedCorner, portrait());
        }
        update();
    }
    QWidget::mousePressEvent(event);
}

void KQ_corner_uniformity_diagram_widget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_showHover || !m_data.isSupported())
        return;
    const QPointF point = toDiagram(event->pos());
    const bool isUsable = usable(point);
    int corner = -1;
    int level = -1;
    if (isUsable) {
        corner = corner_diagram_corner_at(point, portrait());
        if (m_pressed || corner == m_selectedCorner)
            level = corner_diagram_level_at(point, m_selectedCorner, portrait());
    }
    if (m_pressed) {
        if (m_pressedLevel >= 0 && level != m_pressedLevel) {
            m_pressedLevel = level;
            update();
        }
    } else {
        const int hoveredLevel = corner < 0 ? -1 : level;
        if (corner != m_hoveredCorner || hoveredLevel != m_hoveredLevel) {
            m_hoveredCorner = corner;
            m_hoveredLevel = hoveredLevel;
            update();
        }
    }
    setCornerCursor(m_pressed ? m_pressedCorner : corner, isUsable);
}

void KQ_corner_uniformity_diagram_widget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const QPointF point = toDiagram(event->pos());
    const bool isUsable = usable(point);
    // Dragged off the selected corner onto another: that corner is picked,
    // and no level.
    const int releaseCorner = isUsable ? corner_diagram_corner_at(point, portrait()) : -1;
    if (m_pressedCorner >= 0 && m_pressedCorner == m_selectedCorner && releaseCorner >= 0
        && releaseCorner != m_pressedCorner)
        m_pressedCorner = releaseCorner;

    int level = -1;
    if (isUsable && m_pressedLevel >= 0 && m_selectedCorner == m_pressedCorner)
        level = corner_diagram_level_at(point, m_selectedCorner, portrait());
    if (m_selectedCorner != m_pressedCorner) {
        m_selectedCorner = m_pressedCorner;
        if (m_selectedCorner != -1)
            setCornerCursor(m_selectedCorner, isUsable);
        update();
        emit selected_corner_position_changed(m_data.layout_index, m_selectedCorner);
    }
    if (m_selectedCorner == m_pressedCorner && level >= 0)
        emit selected_corner_uniformity_level_changed(m_data.layout_index, level);
    if (m_pressedLevel >= 0) {
        m_pressedLevel = -1;
        update();
    }
}

void KQ_corner_uniformity_diagram_widget::keyPressEvent(QKeyEvent *event)
{
    const int level = levelOf(m_selectedCorner);
    switch (event->key()) {
    case Qt::Key_Plus:
        if (level > 0)
            emit selected_corner_uniformity_level_changed(m_data.layout_index, level - 1);
        break;
    case Qt::Key_Minus:
        if (level >= 0 && level < kLevels - 1)
            emit selected_corner_uniformity_level_changed(m_data.layout_index, level + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int moved = corner_diagram_moved(m_selectedCorner, event->key(), portrait());
        if (moved != m_selectedCorner) {
            m_selectedCorner = moved;
            update();
            emit selected_corner_position_changed(m_data.layout_index, m_selectedCorner);
        }
        break;
    }
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void KQ_corner_uniformity_diagram_widget::enterEvent(QEvent *)
{
    m_hover = true;
    update();
}

void KQ_corner_uniformity_diagram_widget::leaveEvent(QEvent *)
{
    m_hover = false;
    m_hoveredCorner = -1;
    m_hoveredLevel = -1;
    update();
}

void KQ_corner_uniformity_diagram_widget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (hasFocus()) {
        painter.setPen(QPen(kFocusColour, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setTransform(corner_diagram_transform(size(), portrait()));

    const QRectF outline = corner_diagram_outline(portrait());
    const int grey = m_hover && isEnabled() ? kHoverFill : kRestingFill;
    const QColor fill(grey, grey, grey);
    painter.setPen(Qt::NoPen);
    painter.fillRect(outline.adjusted(1, 1, -1, -1), fill);

    const double frameWidth = showLevels() ? 2 : 1;
    painter.setBrush(Qt::NoBrush);
    if (!m_data.isSupported() || !isEnabled()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), frameWidth));
    } else {
        paintTints(painter, fill);
        painter.setPen(QPen(Qt::black, frameWidth));
    }
    painter.drawRect(outline);

    if (showLevels())
        paintLevels(painter);
    paintHoveredCorner(painter);
    paintLabel(painter);
}

void KQ_corner_uniformity_diagram_widget::paintTints(QPainter &painter, const QColor &fill)
{
    for (int corner = 0; corner < 4; ++corner) {
        const CornerUniformityEntry &entry = m_data.corners[corner];
        const QPointF from = corner_diagram_corner_point(corner, portrait());
        const QPointF to = corner_diagram_tint_end(corner, portrait());
        QColor tint = corner_diagram_tint(entry, fill);
        tint.setAlpha(kTintAlpha);
        QColor clear = fill;
        clear.setAlpha(0);
        QLinearGradient gradient(from, to);
        gradient.setColorAt(0, tint);
        gradient.setColorAt(corner_diagram_level_fraction(corner_diagram_level(entry)), clear);
        gradient.setColorAt(1, clear);
        painter.fillRect(QRectF(from, to).normalized(), gradient);
    }
}

void KQ_corner_uniformity_diagram_widget::paintLevels(QPainter &painter)
{
    if (m_selectedCorner < 0)
        return;
    const QRectF outline = corner_diagram_outline(portrait());
    const double longer = qMax(outline.width(), outline.height());
    const int current = m_pressedLevel >= 0 ? m_pressedLevel : levelOf(m_selectedCorner);
    const bool hoveringSelected = m_hoveredCorner == m_selectedCorner;
    painter.setBrush(Qt::NoBrush);
    for (int level = 0; level < kLevels; ++level) {
        QPen pen(kLevelColour);
        if (level == current) {
            pen.setWidthF(hoveringSelected ? 2 : 1);
        } else if (hoveringSelected) {
            pen.setStyle(Qt::DotLine);
            if (level != m_hoveredLevel) {
                QColor faint = kLevelColour;
                faint.setAlpha(128);
                pen.setColor(faint);
            }
        } else {
            continue;
        }
        painter.setPen(pen);
        painter.drawPolygon(
            corner_diagram_triangle(m_selectedCorner, portrait(), corner_diagram_level_fraction(level) * longer));
    }
}

void KQ_corner_uniformity_diagram_widget::paintHoveredCorner(QPainter &painter)
{
    if (!m_hover || m_hoveredCorner < 0 || m_hoveredCorner == m_selectedCorner)
        return;
    const QRectF outline = corner_diagram_outline(portrait());
    QColor fill = kHoverFillColour;
    fill.setAlpha(m_pressed ? 200 : 100);
    painter.setPen(QPen(kHoverPen, 1));
    painter.setBrush(fill);
    painter.drawPolygon(
        corner_diagram_triangle(m_hoveredCorner, portrait(), qMin(outline.width(), outline.height()) / 2));
}

void KQ_corner_uniformity_diagram_widget::paintLabel(QPainter &painter)
{
    const QRectF outline = corner_diagram_outline(portrait());
    const QString label = corner_diagram_label(m_data.layout_index, isEnabled(), m_data.isSupported());
    painter.setFont(corner_diagram_fitted_font(font(), label, outline.width() - 4));
    painter.setPen(m_data.isSupported() ? QColor(Qt::black) : palette().color(QPalette::WindowText));
    painter.drawText(outline, Qt::AlignCenter | Qt::TextWordWrap, label);
}
