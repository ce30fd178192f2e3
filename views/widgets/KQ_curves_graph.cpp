#include "views/widgets/KQ_curves_graph.h"

#include "views/widgets/curve_sampling.h"

#include <QPainter>
#include <QPolygonF>

KQ_curves_graph::KQ_curves_graph(QWidget *parent) : Plotter(parent)
{
    PlotRange unitSquare;
    unitSquare.numXTicks = 10;
    unitSquare.numYTicks = 10;
    setPlotRange(unitSquare);
}

void KQ_curves_graph::setCurves(const QVector<CSpline> &curves, const QVector<QPen> &pens)
{
    m_curves = curves;
    m_pens = pens;
    refreshPixmap(true);
}

void KQ_curves_graph::drawCurves(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRect rect = plotRect();
    if (!rect.isValid())
        return;
    painter->setClipRect(rect.adjusted(1, 1, -1, -1));
    const PlotRange range = currentRange();
    for (int i = 0; i < m_curves.size() && i < m_pens.size(); ++i) {
        if (!m_curves.at(i).IsValid())
            continue;
        QPolygonF line;
        for (const QPointF &point : sample_curve(m_curves.at(i), range.minX, range.maxX, rect.width()))
            line.append(mapToPixel(point, rect));
        if (line.isEmpty())
            continue;
        painter->setPen(m_pens.at(i));
        painter->drawPolyline(line);
    }
}
