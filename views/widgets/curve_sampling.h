#pragma once

#include <QPointF>
#include <QVector>

class CSpline;

// The points of |curve| drawn over the visible x range of a plot
// |plotWidth| pixels wide: one sample per two pixels, both ends included;
// none when that gives fewer than two intervals.
QVector<QPointF> sample_curve(const CSpline &curve, double minX, double maxX, int plotWidth);
