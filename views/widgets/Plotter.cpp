#include "views/widgets/Plotter.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kTickLength = 5;
constexpr int kLabelGap = 6;
constexpr int kLabelBoxWidth = 100;
constexpr int kWheelStep = 120;
constexpr int kButtonInset = 3;
constexpr int kButtonGap = 5;
const QColor kGridColour(50, 50, 50);

QToolButton *zoom_button(QWidget *parent, const char *picture, const QString &tooltip)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(QString::fromLatin1(picture)));
    button->setToolTip(tooltip);
    button->adjustSize();
    button->setEnabled(false);
    return button;
}

} // namespace

Plotter::Plotter(QWidget *parent) : QWidget(parent)
{
    QFont smaller = parent ? parent->font() : font();
    if (smaller.pointSizeF() > 0)
        smaller.setPointSize(std::max(1, static_cast<int>(smaller.pointSizeF() * 0.9)));
    setFont(smaller);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);

    m_zoomInButton = zoom_button(this, ":/images/Resources/zoomin.png",
                                 tr("<html>Zooms in.<br>Click and drag in the graph to select the region to zoom in "
                                    "on.<br>Use the keyboard arrow keys to pan around.</html>"));
    m_zoomOutButton = zoom_button(this, ":/images/Resources/zoomout.png", tr("<html>Zooms out.</html>"));
    connect(m_zoomInButton, &QToolButton::clicked, this, &Plotter::zoomIn);
    connect(m_zoomOutButton, &QToolButton::clicked, this, &Plotter::zoomOut);

    refreshPixmap();
    setPlotRange(PlotRange());
}

void Plotter::setDeferRefresh(bool defer)
{
    m_deferRefresh = defer;
    if (!defer)
        refreshPixmap();
}

void Plotter::setColors(const QColor &lowEnd, const QColor &highEnd)
{
    m_lowEndColor = lowEnd;
    m_highEndColor = highEnd;
    refreshPixmap();
}

void Plotter::setShowTickLabels(bool show)
{
    m_shown.tickLabels = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setShowYTitle(bool show)
{
    m_shown.yTitle = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setShowXTitle(bool show)
{
    m_shown.xTitle = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setShowTitle(bool show)
{
    m_shown.title = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setShowYRamp(bool show)
{
    m_shown.yRamp = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setShowXRamp(bool show)
{
    m_shown.xRamp = show;
    updateMargins();
    refreshPixmap();
}

void Plotter::setXTitle(const QString &title)
{
    m_xTitle = title;
    updateMargins();
    refreshPixmap();
}

void Plotter::setYTitle(const QString &title)
{
    m_yTitle = title;
    refreshPixmap();
}

void Plotter::setPlotRange(const PlotRange &range)
{
    m_zoomStack = {range};
    m_curZoom = 0;
    m_zoomInButton->setEnabled(false);
    m_zoomOutButton->setEnabled(false);
    updateMargins();
    refreshPixmap();
}

QSize Plotter::minimumSizeHint() const
{
    return QSize(3 * (m_margins.left + m_margins.right), 2 * (m_margins.top + m_margins.bottom));
}

QSize Plotter::sizeHint() const
{
    return QSize(6 * (m_margins.left + m_margins.right), 4 * (m_margins.top + m_margins.bottom));
}

void Plotter::refreshPixmap(bool force_update)
{
    if (m_deferRefresh || !isVisible())
        return;
    const qreal ratio = devicePixelRatioF();
    m_pixmap = QPixmap(size() * ratio);
    m_pixmap.setDevicePixelRatio(ratio);
    m_pixmap.fill(Qt::white);
    QPainter painter(&m_pixmap);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    drawGrid(&painter);
    drawCurves(&painter);
    if (force_update)
        update();
}

void Plotter::refreshPixmap()
{
    refreshPixmap(true);
}

void Plotter::zoomIn()
{
    if (m_curZoom < m_zoomStack.size() - 1)
        ++m_curZoom;
    updateZoomButtons();
    updateMargins();
    refreshPixmap();
}

void Plotter::zoomOut()
{
    if (m_curZoom > 0)
        --m_curZoom;
    updateZoomButtons();
    updateMargins();
    refreshPixmap();
}

// Each button is offered only while there is a level to go to.
void Plotter::updateZoomButtons()
{
    m_zoomInButton->setEnabled(m_curZoom < m_zoomStack.size() - 1);
    m_zoomOutButton->setEnabled(m_curZoom > 0);
    m_zoomInButton->show();
    m_zoomOutButton->show();
}

PlotRange Plotter::currentRange() const
{
    return m_zoomStack.isEmpty() ? PlotRange() : m_zoomStack.at(m_curZoom);
}

QRect Plotter::plotRect() const
{
    return plot_rect(m_margins, width(), height());
}

QPointF Plotter::mapToPixel(const QPointF &point, const QRect &rect) const
{
    if (m_zoomStack.isEmpty())
        return QPointF(0, 0);
    return plot_map_to_pixel(currentRange(), point, rect);
}

void Plotter::updateMargins()
{
    if (m_zoomStack.isEmpty())
        return;
    m_margins = plot_margins_for(currentRange(), m_shown, fontMetrics(), m_zoomInButton->height());
}

void Plotter::drawGrid(QPainter *painter)
{
    const QRect rect = plotRect();
    if (m_zoomStack.isEmpty() || !rect.isValid())
        return;
    const PlotRange range = currentRange();
    painter->fillRect(rect, m_plotBackground);
    drawRamps(painter, rect);
    drawXAxis(painter, rect, range);
    drawTitles(painter);
    drawYAxis(painter, rect, range);
    painter->setPen(Qt::black);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

void Plotter::drawRamps(QPainter *painter, const QRect &rect)
{
    const PlotRange range = currentRange();
    if (m_shown.yRamp) {
        const qreal low = mapToPixel(QPointF(range.minX, range.lowerBoundY), rect).y();
        const qreal high = mapToPixel(QPointF(range.minX, range.upperBoundY), rect).y();
        QLinearGradient ramp(0, low, 0, high);
        ramp.setColorAt(0, m_lowEndColor);
        ramp.setColorAt(1, m_highEndColor);
        painter->fillRect(QRect(m_margins.left - 12, rect.top(), 10, rect.height()), ramp);
    }
    if (m_shown.xRamp) {
        const qreal low = mapToPixel(QPointF(range.lowerBoundX, range.minY), rect).x();
        const qreal high = mapToPixel(QPointF(range.upperBoundX, range.minY), rect).x();
        QLinearGradient ramp(low, 0, high, 0);
        ramp.setColorAt(0, m_lowEndColor);
        ramp.setColorAt(1, m_highEndColor);
        painter->fillRect(QRect(rect.left(), height() + 1 - m_margins.bottom, rect.width(), 10), ramp);
    }
}

void Plotter::drawXAxis(QPainter *painter, const QRect &rect, const PlotRange &range)
{
    const int count = std::max(1, range.numXTicks);
    const int decimals = tick_label_decimals(range.minX, range.maxX);
    int widest = 0;
    for (int i = 0; i <= count; ++i)
        widest = std::max(widest, painter->fontMetrics().horizontalAdvance(
                                      plot_tick_label(range.minX + i * range.spanX() / count, decimals)));
    const bool evenOnly = 1.2 * widest > double(rect.width() - 1) / count;
    const int fontHeight = painter->fontMetrics().height();
    for (int i = 0; i <= count; ++i) {
        const int x = rect.left() + (rect.width() - 1) * i / count;
        painter->setPen(kGridColour);
        painter->drawLine(x, rect.top(), x, rect.bottom());
        painter->setPen(Qt::black);
        painter->drawLine(x, rect.bottom(), x, rect.bottom() + kTickLength);
        if (m_shown.tickLabels && (!evenOnly || i % 2 == 0))
            painter->drawText(QRect(x - kLabelBoxWidth / 2, rect.bottom() + kLabelGap, kLabelBoxWidth, fontHeight),
                              Qt::AlignHCenter | Qt::AlignTop,
                              plot_tick_label(range.minX + i * range.spanX() / count, decimals));
    }
}

void Plotter::drawTitles(QPainter *painter)
{
    const int fontHeight = painter->fontMetrics().height();
    painter->setPen(Qt::black);
    if (m_shown.xTitle)
        painter->drawText(QRect(m_margins.left, height() - fontHeight, width() - m_margins.right - m_margins.left,
                                fontHeight),
                          Qt::AlignCenter, m_xTitle);
    if (m_shown.title)
        painter->drawText(QRect(0, 0, width(), m_margins.top), Qt::AlignCenter, m_title);
    if (m_shown.yTitle) {
        painter->save();
        painter->translate(0, m_margins.top + (height() - m_margins.bottom - m_margins.top) / 2);
        painter->rotate(-90);
        painter->drawText(QRect(-height() / 2, 0, height(), fontHeight), Qt::AlignCenter, m_yTitle);
        painter->restore();
    }
}

void Plotter::drawYAxis(QPainter *painter, const QRect &rect, const PlotRange &range)
{
    const int count = std::max(1, range.numYTicks);
    const int decimals = tick_label_decimals(range.minY, range.maxY);
    const int fontHeight = painter->fontMetrics().height();
    const int inset = m_margins.labelInset;
    for (int i = 0; i <= count; ++i) {
        const int y = rect.bottom() - i * (rect.height() - 1) / count;
        painter->setPen(kGridColour);
        painter->drawLine(rect.left(), y, rect.right(), y);
        painter->setPen(Qt::black);
        painter->drawLine(rect.left() - kTickLength, y, rect.left(), y);
        if (m_shown.tickLabels)
            painter->drawText(QRect(inset, y - fontHeight / 2, m_margins.left - 2 * inset - kTickLength, fontHeight),
                              Qt::AlignRight | Qt::AlignVCenter,
                              plot_tick_label(range.minY + i * range.spanY() / count, decimals));
    }
}

void Plotter::drawCurves(QPainter *) {}

void Plotter::paintEvent(QPaintEvent *)
{
    refreshPixmap(false);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
    if (m_rubberBandShown) {
        painter.setPen(palette().light().color());
        painter.drawRect(m_rubberBand.normalized().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().dark().color();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void Plotter::resizeEvent(QResizeEvent *)
{
    if (width() != height()) {
        const int side = std::min(width(), height());
        resize(side, side);
    }
    m_zoomOutButton->move(width() - m_zoomOutButton->width() - kButtonInset, kButtonInset);
    m_zoomInButton->move(width() - m_zoomOutButton->width() - m_zoomInButton->width() - kButtonInset - kButtonGap,
                         kButtonInset);
}

void Plotter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && plotRect().contains(event->pos())) {
        m_rubberBandShown = true;
        m_rubberBand = QRect(event->pos(), event->pos());
        setCursor(Qt::CrossCursor);
        update();
    }
}

void Plotter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_rubberBandShown)
        return;
    m_rubberBand = plot_square_rubber_band(m_rubberBand.topLeft(), event->pos());
    update();
}

void Plotter::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_rubberBandShown)
        return;
    m_rubberBandShown = false;
    unsetCursor();
    update();
    const auto zoomed = plot_zoom_range(currentRange(), m_rubberBand, plotRect());
    if (!zoomed)
        return;
    m_zoomStack.resize(m_curZoom + 1);
    m_zoomStack.append(*zoomed);
    zoomIn();
}

void Plotter::scrollBy(int dx, int dy)
{
    if (m_zoomStack.isEmpty())
        return;
    m_zoomStack[m_curZoom].scrollBy(dx, dy);
    refreshPixmap();
}

void Plotter::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_Left:
        scrollBy(-1, 0);
        break;
    case Qt::Key_Right:
        scrollBy(1, 0);
        break;
    case Qt::Key_Up:
        scrollBy(0, 1);
        break;
    case Qt::Key_Down:
        scrollBy(0, -1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Plotter::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (delta.x() != 0)
        scrollBy(delta.x() / kWheelStep, 0);
    else
        scrollBy(0, delta.y() / kWheelStep);
}
