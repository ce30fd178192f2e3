#include "app/window/dock_scroll_area.h"

#include <QEvent>
#include <QStyle>

namespace {

// Enough of the content to see what the dock is and to scroll it.
constexpr int kMinimumVisibleLines = 3;

// The smallest size a layout gives |content|: its size hint in a direction
// its size policy does not let it shrink in.
QSize smallest_size(const QWidget &content)
{
    const QSizePolicy policy = content.sizePolicy();
    const QSize hint = content.sizeHint();
    QSize smallest = content.minimumSizeHint();
    if (!(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag))
        smallest.setWidth(qMax(smallest.width(), hint.width()));
    if (!(policy.verticalPolicy() & QSizePolicy::ShrinkFlag))
        smallest.setHeight(qMax(smallest.height(), hint.height()));
    return smallest.expandedTo(content.minimumSize());
}

} // namespace

dock_scroll_area::dock_scroll_area(QWidget *content, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidget(content);
    // The content announces a new size to the viewport, its parent; the dock
    // and the window must hear of it to give the content its new width.
    viewport()->installEventFilter(this);
}

bool dock_scroll_area::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewport() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

// The whole content where there is room: a floating dock takes this size.
QSize dock_scroll_area::sizeHint() const
{
    const QSize content = widget() ? widget()->sizeHint().expandedTo(smallest_size(*widget())) : QSize();
    return content.grownBy(contentsMargins());
}

// The content's full width with room for the scroll bar, and a few lines of it.
QSize dock_scroll_area::minimumSizeHint() const
{
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QSize content = widget() ? smallest_size(*widget()) : QSize();
    const int height = qMin(content.height(), kMinimumVisibleLines * fontMetrics().height());
    return QSize(content.width() + bar, qMax(height, bar)).grownBy(contentsMargins());
}
