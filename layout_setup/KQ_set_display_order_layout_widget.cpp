#include "layout_setup/KQ_set_display_order_layout_widget.h"

#include <QPainter>

namespace {

constexpr int kMinimumSide = 40;
const QColor kOutline(64, 64, 64);
const QColor kUnchosen(128, 128, 128);
const QColor kUnchosenHover(135, 135, 135);
const QColor kChosen(255, 255, 192);
const QColor kChosenHover(255, 255, 205);
const QColor kCheckedFrame(192, 192, 192);
constexpr int kCheckedFrameWidth = 4;
constexpr int kFocusFrameWidth = 2;

} // namespace

KQ_set_display_order_layout_widget::KQ_set_display_order_layout_widget(QWidget *parent, int x, int y)
    : QAbstractButton(parent)
    , m_x(x)
    , m_y(y)
{
    connect(this, &QAbstractButton::toggled, this, &KQ_set_display_order_layout_widget::selection_changed);
}

QSize KQ_set_display_order_layout_widget::minimumSizeHint() const
{
    // Room for the widest number a wall can give.
    const QString widest = QStringLiteral("# 100") + QChar(6);
    const int side = qMax(kMinimumSide, fontMetrics().horizontalAdvance(widest));
    return QSize(side, side);
}

void KQ_set_display_order_layout_widget::SetLayoutArrayPosition(int in_pos)
{
    m_orderIndex = in_pos;
    setText(chosen() ? tr("# %1").arg(m_orderIndex + 1) : QString());
    update();
}

void KQ_set_display_order_layout_widget::reset()
{
    SetLayoutArrayPosition(-1);
    // An exclusive button cannot be unchecked while it is exclusive.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
    update();
}

void KQ_set_display_order_layout_widget::selection_changed(bool checked)
{
    if (checked && !chosen())
        emit selected(m_x, m_y);
}

void KQ_set_display_order_layout_widget::enterEvent(QEvent *)
{
    m_pointerInside = true;
    update();
}

void KQ_set_display_order_layout_widget::leaveEvent(QEvent *)
{
    m_pointerInside = false;
    update();
}

void KQ_set_display_order_layout_widget::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    emit highlighted(m_x, m_y);
}

void KQ_set_display_order_layout_widget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int side = qMax(0, qMin(width(), height()) - 2);
    QRect square((width() - side) / 2, (height() - side) / 2, side - 1, side - 1);
    if (m_pointerInside)
        square.adjust(0, 0, 1, 1);
    painter.setPen(QPen(kOutline, m_pointerInside ? 2 : 1));
    if (chosen())
        painter.setBrush(m_pointerInside ? kChosenHover : kChosen);
    else
        painter.setBrush(m_pointerInside ? kUnchosenHover : kUnchosen);
    painter.drawRect(square);

    if (chosen()) {
        painter.setPen(kOutline);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    painter.setBrush(Qt::NoBrush);
    const QRect frame = rect().adjusted(1, 1, -1, -1);
    if (isChecked()) {
        painter.setPen(QPen(kCheckedFrame, kCheckedFrameWidth));
        painter.drawRect(frame);
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, kFocusFrameWidth));
        painter.drawRect(frame);
    }
}
