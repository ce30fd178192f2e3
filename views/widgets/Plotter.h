#pragma once

#include "views/widgets/PlotRange.h"
#include "views/widgets/plot_geometry.h"

#include <QColor>
#include <QPixmap>
#include <QVector>
#include <QWidget>

class QToolButton;

// A square 2-D plot with a stack of zoom levels: drag a square over the plot
// to zoom in, step back and forth with the zoom buttons or + and -, pan with
// the arrow keys or the wheel in whole ticks within the range's bounds.
// Subclasses draw their curves in drawCurves.
class Plotter : public QWidget
{
    Q_OBJECT

public:
    explicit Plotter(QWidget *parent = nullptr);

    // While deferred nothing is redrawn; clearing it redraws at once.
    void setDeferRefresh(bool defer);
    void setColors(const QColor &lowEnd, const QColor &highEnd);
    void setShowTickLabels(bool show);
    void setShowYTitle(bool show);
    void setShowXTitle(bool show);
    void setShowTitle(bool show);
    void setShowYRamp(bool show);
    void setShowXRamp(bool show);
    void setXTitle(const QString &title);
    void setYTitle(const QString &title);
    // Starts a new zoom stack holding just |range|.
    void setPlotRange(const PlotRange &range);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

public slots:
    void refreshPixmap(bool force_update);
    void refreshPixmap();
    void zoomIn();
    void zoomOut();

protected:
    virtual QPointF mapToPixel(const QPointF &point, const QRect &rect) const;
    virtual void drawGrid(QPainter *painter);
    virtual void drawCurves(QPainter *painter);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

    // The view shown now; the default range while the stack is empty.
    PlotRange currentRange() const;
    QRect plotRect() const;

private:
    void updateMargins();
    void updateZoomButtons();
    void scrollBy(int dx, int dy);
    void drawRamps(QPainter *painter, const QRect &rect);
    void drawXAxis(QPainter *painter, const QRect &rect, const PlotRange &range);
    void drawYAxis(QPainter *painter, const QRect &rect, const PlotRange &range);
    void drawTitles(QPainter *painter);

    QVector<PlotRange> m_zoomStack;
    int m_curZoom = 0;
    plot_margins m_margins;
    plot_decorations m_shown;
    QToolButton *m_zoomInButton = nullptr;
    QToolButton *m_zoomOutButton = nullptr;
    bool m_rubberBandShown = false;
    bool m_deferRefresh = false;
    QRect m_rubberBand;
    QString m_yTitle;
    QString m_xTitle;
    QString m_title;
    QColor m_lowEndColor = Qt::black;
    QColor m_highEndColor = Qt::red;
    QColor m_plotBackground = Qt::black;
    QPixmap m_pixmap;
};
