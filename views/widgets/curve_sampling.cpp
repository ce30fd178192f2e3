#include "views/widgets/curve_sampling.h"

#include "colour/CSpline.h"

QVector<QPointF> sample_curve(const CSpline &curve, double minX, double maxX, int plotWidth)
{
    const int intervals = plotWidth / 2;
    QVector<QPointF> points;
    if (intervals <= 1)
        return points;
    points.reserve(intervals + 1);
    for (int k = 0; k <= intervals; ++k) {
        const double x = minX + (double(k) / intervals) * (maxX - minX);
        points.append(QPointF(x, curve.Evaluate(x)));
    }
    return points;
}
