#pragma once

#include <QDataStream>
#include <QMetaType>
#include <QPointF>
#include <QVector>

// A sampled curve of (x, y) points with an interpolation kind: target tone
// curves, measured channel responses and lookup-table corrections.
// The evaluators reach the points only through the virtual accessors, so a
// derived curve can keep its points elsewhere.
class CSpline
{
public:
    enum Kind {
        kBezier = 0,
        kBSpline = 1,
        kBetaSpline = 2,
        kHermite = 3,
        kCatmullRom = 4,
        kNone = 5,
    };

    static constexpr qint32 kMagic = 64222;
    static constexpr qint32 kVersion = 101;

    CSpline() = default;
    CSpline(const CSpline &) = default;
    // Goes through Init, so a source without a kind (5) gives Catmull-Rom (4).
    CSpline &operator=(const CSpline &other);
    virtual ~CSpline() = default;

    // Exact comparison of kind, range and points (not of the valid flag or the
    // Beta-spline parameters).
    bool operator!=(const CSpline &other) const;
    bool operator==(const CSpline &other) const { return !(*this != other); }

    // Sets the range and, with count >= 2, count points on the diagonal from 0
    // in steps of (maximum - minimum) / (count - 1). Kinds other than 0..3 become 4.
    virtual int Init(int kind, int count, double minimum, double maximum);
    virtual void SetBetaParameters(double bias, double tension);
    virtual void SetRange(double minimum, double maximum);
    virtual int GetSize() const;
    virtual void SetLinear();
    // y_i = (i / (n - 1))^gamma; always marks the curve valid.
    virtual void SetGamma(double gamma);
    virtual double EstimateGamma() const;
    // count points evenly spread over [0, 1], sampled from the curve as it was.
    virtual int Resample(int count);
    virtual void AppendPoint(const QPointF &point);
    // (0, 0) outside the curve.
    virtual QPointF GetPoint(int index) const;
    // Inserts before |index| (0..n); other indexes change nothing.
    virtual void InsertPoint(const QPointF &point, int index);
    virtual double GetX(int index) const;
    virtual double GetY(int index) const;
    virtual double Evaluate(double x) const;
    // Assumes y increases with x.
    virtual double EvaluateInverse(double y) const;
    virtual void SetY(int index, double y);
    // Replaces the first point whose x equals |x| exactly.
    virtual void SetPointAtX(double x, double y);
    virtual void SetPoint(int index, double x, double y);
    virtual void ClampPoint(QPointF &point) const;

    // Exchanges every field, the kind included, without the mapping of Init.
    void swap(CSpline &other) noexcept;

    bool IsValid() const { return m_valid; }
    void SetValid(bool valid) { m_valid = valid; }
    int GetKind() const { return m_kind; }
    double GetRangeMinimum() const { return m_minimum; }
    double GetRangeMaximum() const { return m_maximum; }
    double GetTension() const { return m_tension; }
    double GetBias() const { return m_bias; }

    // Reading keeps the kind as stored; the curve is unchanged when it fails.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

private:
    double Interpolate(double key, bool inverse) const;
    double Clamp(double value) const;

    bool m_valid = false;
    qint32 m_kind = kNone;
    double m_minimum = 0.0;
    double m_maximum = 1.0;
    double m_tension = 1.0;
    double m_bias = 0.0;
    QVector<QPointF> m_points;
};

Q_DECLARE_METATYPE(CSpline)
