#pragma once

#include "colour/CSpline.h"
#include "views/widgets/Plotter.h"

#include <QPen>
#include <QVector>

// A plot of tone curves over the unit square, each curve with its own pen;
// the curves follow the zoom.
class KQ_curves_graph : public Plotter
{
    Q_OBJECT

public:
    explicit KQ_curves_graph(QWidget *parent = nullptr);

    // One pen per curve, at the same index; a curve without a pen is not drawn.
    void setCurves(const QVector<CSpline> &curves, const QVector<QPen> &pens);

protected:
    void drawCurves(QPainter *painter) override;

private:
    QVector<CSpline> m_curves;
    QVector<QPen> m_pens;
};
