#include "colour/CSpline.h"

#include "colour/stream_record.h"

#include <array>
#include <cmath>
#include <utility>

namespace {

using Weights = std::array<double, 4>;
using WeightFunction = Weights (*)(double t, double bias, double tension);

Weights bezier_weights(double t, double, double)
{
    const double s = 1.0 - t;
    return {s * s * s, 3.0 * t * s * s, 3.0 * t * t * s, t * t * t};
}

// The truncated constants are kept so that stored curves evaluate as they always did.
Weights b_spline_weights(double t, double, double)
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    return {0.1666 - 0.5 * t + 0.5 * t2 - 0.1666 * t3,
            0.6666 - t2 + 0.5 * t3,
            0.1666 + 0.5 * t + 0.5 * t2 - 0.5 * t3,
            0.1666 * t3};
}

Weights beta_spline_weights(double t, double b1, double b2)
{
    const double b1Sq = b1 * b1;
    const double b1Cu = b1Sq * b1;
    const double delta = 2.0 * b1Cu + 4.0 * b1Sq + 4.0 * b1 + b2 + 2.0;
    if (delta == 0.0)
        return {0.0, 0.0, 0.0, 0.0}; // degenerate parameters from a stream
    const double s = 1.0 - t;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return {2.0 * b1Cu * s * s * s / delta,
            (2.0 * (b1Cu + b1Sq + b1 + b2) * t3 - 3.0 * (2.0 * b1Cu + 2.0 * b1Sq + b2) * t2
             + 6.0 * (b1Cu - b1) * t + (4.0 * b1Sq + 4.0 * b1 + b2)) / delta,
            (-2.0 * (b1Sq + b1 + b2 + 1.0) * t3 + 3.0 * (2.0 * b1Sq + b2) * t2 + 6.0 * b1 * t + 2.0)
                / delta,
            2.0 * t3 / delta};
}

// A Hermite segment with flat tangents: it never leaves the span of its two end
// points. Nothing builds such curves; they only arrive from streams.
Weights hermite_weights(double t, double, double)
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    return {0.0, 2.0 * t3 - 3.0 * t2 + 1.0, -2.0 * t3 + 3.0 * t2, 0.0};
}

Weights catmull_rom_weights(double t, double, double)
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    return {-0.5 * t3 + t2 - 0.5 * t,
            1.5 * t3 - 2.5 * t2 + 1.0,
            -1.5 * t3 + 2.0 * t2 + 0.5 * t,
            0.5 * t3 - 0.5 * t2};
}

// Indexed by kind.
constexpr WeightFunction kWeightFunctions[] = {
    bezier_weights, b_spline_weights, beta_spline_weights, hermite_weights, catmull_rom_weights,
};
constexpr int kWeightFunctionCount = int(sizeof(kWeightFunctions) / sizeof(kWeightFunctions[0]));

// More than any lookup table of a display needs, small enough to refuse garbage counts.
constexpr qint32 kMaxStreamPoints = 1 << 20;
constexpr qint64 kStreamPointBytes = 16;

} // namespace

CSpline &CSpline::operator=(const CSpline &other)
{
    if (this == &other)
        return *this;
    Init(other.m_kind, other.GetSize(), other.m_minimum, other.m_maximum);
    SetBetaParameters(other.m_bias, other.m_tension);
    m_points = other.m_points;
    m_valid = other.m_valid;
    return *this;
}

void CSpline::swap(CSpline &other) noexcept
{
    std::swap(m_valid, other.m_valid);
    std::swap(m_kind, other.m_kind);
    std::swap(m_minimum, other.m_minimum);
    std::swap(m_maximum, other.m_maximum);
    std::swap(m_tension, other.m_tension);
    std::swap(m_bias, other.m_bias);
    m_points.swap(other.m_points);
}

bool CSpline::operator!=(const CSpline &other) const
{
    const int n = GetSize();
    if (m_kind != other.m_kind || m_minimum != other.m_minimum || m_maximum != other.m_maximum
        || n != other.GetSize())
        return true;
    for (int i = 0; i < n; ++i) {
        if (GetX(i) != other.GetX(i) || GetY(i) != other.GetY(i))
            return true;
    }
    return false;
}

int CSpline::Init(int kind, int count, double minimum, double maximum)
{
    SetRange(minimum, maximum);
    m_points.clear();
    switch (kind) {
    case kBezier:
    case kBSpline:
    case kHermite:
        m_kind = kind;
        break;
    case kBetaSpline:
        m_kind = kind;
        m_bias = 1.0;
        m_tension = 0.0;
        break;
    default:
        m_kind = kCatmullRom;
        break;
    }
    if (count >= 2) {
        const double step = (maximum - minimum) / (count - 1);
        m_points.reserve(count);
        for (int i = 0; i < count; ++i)
            m_points.append(QPointF(i * step, i * step));
    }
    return 0;
}

void CSpline::SetBetaParameters(double bias, double tension)
{
    m_bias = bias;
    m_tension = tension;
}

void CSpline::SetRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

int CSpline::GetSize() const
{
    return m_points.size();
}

void CSpline::SetLinear()
{
    const int n = GetSize();
    if (n < 2)
        return;
    const double step = (m_maximum - m_minimum) / (n - 1);
    for (int i = 0; i < n; ++i)
        SetPointAtX(i * step, i * step);
}

void CSpline::SetGamma(double gamma)
{
    const int n = GetSize();
    if (n >= 2) {
        for (int i = 0; i < n; ++i)
            SetY(i, std::pow(double(i) / (n - 1), gamma));
    }
    m_valid = true;
}

double CSpline::EstimateGamma() const
{
    const int n = GetSize();
    if (n == 0)
        return 1.0;
    auto inside = [this](int i) { return GetX(i) > 0.0 && GetX(i) < 1.0; };

    QVector<double> candidates(n, 0.0);
    for (int i = 0; i < n; ++i) {
        if (!inside(i))
            continue;
        const double g = std::log(GetY(i)) / std::log(GetX(i));
        // A point at y <= 0 has no exponent through it.
        candidates[i] = std::isfinite(g) ? g : 0.0;
    }

    double bestError = 9999.0;
    int best = 0;
    for (int i = 0; i < n; ++i) {
        if (candidates[i] == 0.0)
            continue;
        double error = 0.0;
        for (int j = 0; j < n; ++j) {
            if (!inside(j))
                continue;
            const double residual = GetY(j) - std::pow(GetX(j), candidates[i]);
            error += residual * residual;
        }
        if (error != 0.0 && error < bestError) {
            bestError = error;
            best = i;
        }
    }
    return candidates[best];
}

int CSpline::Resample(int count)
{
    QVector<QPointF> points;
    if (count > 0) {
        // One point has no spacing; it sits at x = 0.
        const double step = count > 1 ? 1.0 / (count - 1) : 0.0;
        points.reserve(count);
        for (int i = 0; i < count; ++i)
            points.append(QPointF(i * step, Evaluate(i * step)));
    }
    m_points = points;
    return 0;
}

void CSpline::AppendPoint(const QPointF &point)
{
    m_points.append(point);
}

QPointF CSpline::GetPoint(int index) const
{
    if (index < 0 || index >= m_points.size())
        return QPointF(0.0, 0.0);
    return m_points.at(index);
}

void CSpline::InsertPoint(const QPointF &point, int index)
{
    if (index < 0 || index > m_points.size())
        return;
    m_points.insert(index, point);
}

double CSpline::GetX(int index) const
{
    return GetPoint(index).x();
}

double CSpline::GetY(int index) const
{
    return GetPoint(index).y();
}

double CSpline::Evaluate(double x) const
{
    return Interpolate(x, false);
}

double CSpline::EvaluateInverse(double y) const
{
    return Interpolate(y, true);
}

void CSpline::SetY(int index, double y)
{
    if (index < 0 || index >= m_points.size())
        return;
    m_points[index].setY(y);
}

void CSpline::SetPointAtX(double x, double y)
{
    const int n = GetSize();
    for (int i = 0; i < n; ++i) {
        if (GetX(i) == x) {
            SetPoint(i, x, y);
            return;
        }
    }
}

void CSpline::SetPoint(int index, double x, double y)
{
    if (index < 0 || index >= m_points.size())
        return;
    m_points[index] = QPointF(x, y);
}

void CSpline::ClampPoint(QPointF &point) const
{
    point.setY(Clamp(point.y()));
    point.setX(Clamp(point.x()));
}

double CSpline::Clamp(double value) const
{
    // NaN compares false either way: it must not pass for a value in range.
    if (std::isnan(value) || value < m_minimum)
        return m_minimum;
    if (value > m_maximum)
        return m_maximum;
    return value;
}

// One procedure for both directions: the inverse swaps the roles of x and y.
double CSpline::Interpolate(double key, bool inverse) const
{
    const int n = GetSize();
    if (n == 0)
        return 0.0;
    auto keyAt = [this, inverse](int i) { return inverse ? GetY(i) : GetX(i); };
    auto valueAt = [this, inverse](int i) { return inverse ? GetX(i) : GetY(i); };

    const int last = n - 1;
    if (keyAt(0) >= key)
        return valueAt(0);
    if (key >= keyAt(last) || key == 1.0)
        return valueAt(last);

    int i = 1;
    while (i < last && !(key < keyAt(i)))
        ++i;
    const int e = i - 1;

    const double p1 = valueAt(e);
    const double p2 = valueAt(e + 1);
    const double p0 = e == 0 ? p1 - (p2 - p1) : valueAt(e - 1);
    const double p3 = e + 1 == last ? p2 + (p2 - p1) : valueAt(e + 2);
    const double t = (key - keyAt(e)) / (keyAt(e + 1) - keyAt(e));

    double sum = 0.0;
    if (m_kind >= 0 && m_kind < kWeightFunctionCount) {
        const Weights w = kWeightFunctions[m_kind](t, m_bias, m_tension);
        sum = w[0] * p0 + w[1] * p1 + w[2] * p2 + w[3] * p3;
    }
    return Clamp(sum);
}

int CSpline::Read(QDataStream &stream)
{
    const int header = stream_record::read_header(stream, kMagic, kVersion, kVersion);
    if (header != stream_record::kOk)
        return header;
    qint32 kind = 0;
    double minimum = 0.0, maximum = 0.0, tension = 0.0, bias = 0.0;
    bool valid = false;
    qint32 count = 0;
    stream >> kind >> minimum >> maximum >> tension >> bias >> valid;
    if (!stream_record::read_count(stream, &count, kMaxStreamPoints, kStreamPointBytes))
        return stream_record::kErrRead;
    QVector<QPointF> points;
    points.reserve(count);
    for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        double x = 0.0, y = 0.0;
        stream >> x >> y;
        points.append(QPointF(x, y));
    }
    const int status = stream_record::read_status(stream);
    if (status != stream_record::kOk)
        return status;
    CSpline read;
    read.m_kind = kind;
    read.m_minimum = minimum;
    read.m_maximum = maximum;
    read.m_tension = tension;
    read.m_bias = bias;
    read.m_valid = valid;
    read.m_points.swap(points);
    swap(read);
    return stream_record::kOk;
}

int CSpline::Write(QDataStream &stream) const
{
    const int header = stream_record::write_header(stream, kMagic, kVersion);
    if (header != stream_record::kOk)
        return header;
    const int n = GetSize();
    stream << m_kind << m_minimum << m_maximum << m_tension << m_bias << m_valid << qint32(n);
    for (int i = 0; i < n; ++i)
        stream << GetX(i) << GetY(i);
    return stream_record::write_status(stream);
}
