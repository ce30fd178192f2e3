#include "colour/CSpline.h"

#include "stream_bytes.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// Interpolation results pass through a handful of double operations.
constexpr double kTight = 1e-12;

CSpline curve_of(int kind, const QVector<QPointF> &points, double minimum = 0.0, double maximum = 1.0)
{
    CSpline curve; // kind 5 unless Init maps the kind
    if (kind == CSpline::kNone)
        curve.SetRange(minimum, maximum);
    else
        curve.Init(kind, 0, minimum, maximum);
    for (const QPointF &p : points)
        curve.AppendPoint(p);
    return curve;
}

// Four points a third apart, so that x = 0.5 is the middle of the middle segment
// (t = 0.5 with real neighbours on both sides).
const QVector<QPointF> kFourPoints = {{0.0, 0.0}, {1.0 / 3, 0.2}, {2.0 / 3, 0.6}, {1.0, 1.0}};

QByteArray curve_bytes(const CSpline &curve)
{
    return stream_bytes::written([&](QDataStream &out) { curve.Write(out); });
}

int read_curve(const QByteArray &bytes, CSpline &curve)
{
    QDataStream in(bytes);
    stream_record::prepare(in);
    return curve.Read(in);
}

} // namespace

class tst_spline : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const CSpline curve;
        QCOMPARE(curve.GetKind(), int(CSpline::kNone));
        QVERIFY(!curve.IsValid());
        QCOMPARE(curve.GetRangeMinimum(), 0.0);
        QCOMPARE(curve.GetRangeMaximum(), 1.0);
        QCOMPARE(curve.GetTension(), 1.0);
        QCOMPARE(curve.GetBias(), 0.0);
        QCOMPARE(curve.GetSize(), 0);
        QCOMPARE(curve.Evaluate(0.5), 0.0);
        QCOMPARE(curve.EstimateGamma(), 1.0);
    }

    void init_makes_points_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<int>("storedKind");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("step");
        QTest::newRow("256 on the diagonal") << 4 << 256 << 0.0 << 1.0 << 4 << 256 << 1.0 / 255;
        QTest::newRow("Bezier kept") << 0 << 3 << 0.0 << 1.0 << 0 << 3 << 0.5;
        QTest::newRow("B-spline kept") << 1 << 3 << 0.0 << 1.0 << 1 << 3 << 0.5;
        QTest::newRow("Hermite kept") << 3 << 3 << 0.0 << 1.0 << 3 << 3 << 0.5;
        QTest::newRow("unknown kind") << 7 << 2 << 0.0 << 1.0 << 4 << 2 << 1.0;
        QTest::newRow("no kind") << 5 << 2 << 0.0 << 1.0 << 4 << 2 << 1.0;
        QTest::newRow("one point makes none") << 4 << 1 << 0.0 << 1.0 << 4 << 0 << 0.0;
        QTest::newRow("points start at 0, not at the minimum") << 4 << 3 << 0.5 << 1.5 << 4 << 3 << 0.5;
    }

    void init_makes_points()
    {
        QFETCH(int, kind);
        QFETCH(int, count);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(int, storedKind);
        QFETCH(int, size);
        QFETCH(double, step);
        CSpline curve;
        curve.SetValid(true);
        QCOMPARE(curve.Init(kind, count, minimum, maximum), 0);
        QCOMPARE(curve.GetKind(), storedKind);
        QCOMPARE(curve.GetSize(), size);
        QCOMPARE(curve.GetRangeMinimum(), minimum);
        QCOMPARE(curve.GetRangeMaximum(), maximum);
        QVERIFY(curve.IsValid()); // untouched
        for (int i = 0; i < size; ++i) {
            QCOMPARE(curve.GetX(i), i * step);
            QCOMPARE(curve.GetY(i), i * step);
        }
    }

    void init_beta_spline_sets_its_parameters()
    {
        CSpline curve;
        curve.SetBetaParameters(3.0, 4.0);
        curve.Init(CSpline::kBetaSpline, 2, 0.0, 1.0);
        QCOMPARE(curve.GetBias(), 1.0);
        QCOMPARE(curve.GetTension(), 0.0);
    }

    void assignment_goes_through_init()
    {
        CSpline target;
        target.Init(CSpline::kBezier, 4, 0.0, 1.0);
        target = CSpline();
        QCOMPARE(target.GetKind(), int(CSpline::kCatmullRom)); // not 5
        QCOMPARE(target.GetSize(), 0);

        const CSpline copy{CSpline()};
        QCOMPARE(copy.GetKind(), int(CSpline::kNone)); // copying keeps it

        CSpline source = curve_of(CSpline::kBetaSpline, {{0.25, 0.5}}, -1.0, 2.0);
        source.SetBetaParameters(0.5, 2.0);
        source.SetValid(true);
        target = source;
        QCOMPARE(target.GetKind(), int(CSpline::kBetaSpline));
        QCOMPARE(target.GetBias(), 0.5);
        QCOMPARE(target.GetTension(), 2.0);
        QCOMPARE(target.GetRangeMinimum(), -1.0);
        QCOMPARE(target.GetRangeMaximum(), 2.0);
        QVERIFY(target.IsValid());
        QCOMPARE(target.GetSize(), 1); // a single point survives the copy
        QCOMPARE(target.GetPoint(0), QPointF(0.25, 0.5));

        target = target; // self-assignment keeps the points
        QCOMPARE(target.GetSize(), 1);
    }

    void inequality_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("differs");
        QTest::newRow("same") << 0 << false;
        QTest::newRow("kind") << 1 << true;
        QTest::newRow("minimum") << 2 << true;
        QTest::newRow("maximum") << 3 << true;
        QTest::newRow("count") << 4 << true;
        QTest::newRow("an x") << 5 << true;
        QTest::newRow("a y by 1e-15") << 6 << true;
        QTest::newRow("valid flag is not compared") << 7 << false;
        QTest::newRow("Beta parameters are not compared") << 8 << false;
    }

    void inequality()
    {
        QFETCH(int, change);
        QFETCH(bool, differs);
        CSpline a;
        a.Init(CSpline::kCatmullRom, 5, 0.0, 1.0);
        CSpline b(a);
        switch (change) {
        case 1: b.Init(CSpline::kBezier, 5, 0.0, 1.0); break;
        case 2: b.SetRange(0.1, 1.0); break;
        case 3: b.SetRange(0.0, 2.0); break;
        case 4: b.AppendPoint(QPointF(2.0, 2.0)); break;
        case 5: b.SetPoint(2, 0.51, 0.5); break;
        case 6: b.SetY(2, 0.5 + 1e-15); break;
        case 7: b.SetValid(true); break;
        case 8: b.SetBetaParameters(3.0, 3.0); break;
        default: break;
        }
        QCOMPARE(a != b, differs);
        QCOMPARE(a == b, !differs);
    }

    void evaluate_by_kind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("expected");
        // Hand-computed at t = 0.5 with control values 0, 0.2, 0.6, 1.0.
        QTest::newRow("Bezier") << 0 << 0.425;
        QTest::newRow("B-spline, truncated constants") << 1 << 0.404105;
        QTest::newRow("Beta-spline, bias 1, tension 0") << 2 << 0.2 * 5.75 / 12 + 0.6 * 5.75 / 12 + 0.25 / 12;
        QTest::newRow("Catmull-Rom") << 4 << 0.3875;
    }

    void evaluate_by_kind()
    {
        QFETCH(int, kind);
        QFETCH(double, expected);
        const CSpline curve = curve_of(kind, kFourPoints);
        QVERIFY2(qAbs(curve.Evaluate(0.5) - expected) < kTight, qPrintable(QString::number(curve.Evaluate(0.5), 'g', 17)));
    }

    void hermite_and_unknown_kinds_stay_in_range()
    {
        // No part of the program builds these; a stream may carry them.
        CSpline hermite = curve_of(CSpline::kHermite, kFourPoints);
        for (double x = 0.0; x <= 1.0; x += 0.01) {
            const double y = hermite.Evaluate(x);
            QVERIFY(y >= 0.0 && y <= 1.0);
        }
        const CSpline none = curve_of(CSpline::kNone, kFourPoints, 0.1, 1.0);
        QCOMPARE(none.Evaluate(0.5), 0.1); // the clamp of 0
    }

    void evaluate_ends()
    {
        const CSpline one = curve_of(CSpline::kCatmullRom, {{0.5, 0.7}});
        for (double x : {-1.0, 0.0, 0.5, 0.9, 1.0, 3.0})
            QCOMPARE(one.Evaluate(x), 0.7);

        const CSpline wide = curve_of(CSpline::kCatmullRom, {{0.0, 0.1}, {0.5, 0.4}, {2.0, 0.9}});
        QCOMPARE(wide.Evaluate(1.0), 0.9); // x = 1 answers the last y even below the last x
        QCOMPARE(wide.Evaluate(-0.5), 0.1);
        QCOMPARE(wide.Evaluate(5.0), 0.9);

        // The end values are returned as stored, without the clamp.
        const CSpline outside = curve_of(CSpline::kCatmullRom, {{0.0, -0.5}, {1.0, 1.5}});
        QCOMPARE(outside.Evaluate(0.0), -0.5);
        QCOMPARE(outside.Evaluate(1.0), 1.5);
    }

    void catmull_rom_reproduces_the_diagonal()
    {
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 17, 0.0, 1.0);
        for (double x = 0.0; x <= 1.0; x += 0.013) {
            QVERIFY(qAbs(curve.Evaluate(x) - x) < kTight);
            QVERIFY(qAbs(curve.EvaluateInverse(x) - x) < kTight);
        }
    }

    void results_are_clamped()
    {
        // Catmull-Rom overshoots above a flat top and below a flat bottom.
        const CSpline top = curve_of(CSpline::kCatmullRom, {{0.0, 0.0}, {0.5, 1.0}, {1.0, 1.0}});
        QCOMPARE(top.Evaluate(0.75), 1.0);
        const CSpline bottom = curve_of(CSpline::kCatmullRom, {{0.0, 1.0}, {0.5, 0.0}, {0.9, 0.0}});
        QCOMPARE(bottom.Evaluate(0.75), 0.0);
        const CSpline narrow = curve_of(CSpline::kCatmullRom, kFourPoints, 0.3, 0.35);
        QCOMPARE(narrow.Evaluate(0.2), 0.3);
        QCOMPARE(narrow.Evaluate(0.6), 0.35);
    }

    void not_a_number_stays_in_range_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("full range") << 0.0 << 1.0;
        QTest::newRow("narrow range") << 0.3 << 0.35;
    }

    // A NaN input (a failed reading, a division by zero upstream) gives the
    // bottom of the range both ways, never NaN.
    void not_a_number_stays_in_range()
    {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 17, minimum, maximum);
        curve.SetGamma(2.2);
        QCOMPARE(curve.Evaluate(nan), minimum);
        QCOMPARE(curve.EvaluateInverse(nan), minimum);
        QPointF point(nan, nan);
        curve.ClampPoint(point);
        QCOMPARE(point, QPointF(minimum, minimum));
        // A point that holds NaN itself does not leak it either.
        CSpline damaged = curve_of(CSpline::kCatmullRom, {{0.0, 0.0}, {0.5, nan}, {1.0, 1.0}}, minimum, maximum);
        const double y = damaged.Evaluate(0.25);
        QVERIFY2(y >= minimum && y <= maximum, qPrintable(QString::number(y)));
    }

    void evaluate_inverse_undoes_evaluate()
    {
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 256, 0.0, 1.0);
        curve.SetGamma(2.0);
        for (double x = 0.05; x < 1.0; x += 0.05) {
            // 1e-4: the inverse interpolates over y samples that crowd near
            // black, where the spline deviates most (about 3e-5 at x = 0.05).
            const double back = curve.EvaluateInverse(curve.Evaluate(x));
            QVERIFY2(qAbs(back - x) < 1e-4, qPrintable(QString::number(back - x)));
        }
        QCOMPARE(curve.EvaluateInverse(1.0), 1.0);
        QCOMPARE(curve.EvaluateInverse(-1.0), 0.0);
    }

    void set_gamma()
    {
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 5, 0.0, 1.0);
        curve.SetPoint(1, 0.3, 0.0);
        curve.SetGamma(2.0);
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetX(1), 0.3); // x unchanged
        QCOMPARE(curve.GetY(1), 0.0625);
        QCOMPARE(curve.GetY(2), 0.25);
        QCOMPARE(curve.GetY(4), 1.0);

        CSpline empty;
        empty.SetGamma(2.2);
        QVERIFY(empty.IsValid()); // set even without points
    }

    void estimate_gamma_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<double>("gamma");
        QVector<QPointF> power;
        for (int i = 0; i < 256; ++i)
            power.append(QPointF(i / 255.0, std::pow(i / 255.0, 2.2)));
        QTest::newRow("sampled 2.2") << power << 2.2;
        QTest::newRow("every error exactly 0") << QVector<QPointF>{{0.0, 0.0}, {0.5, 0.25}, {1.0, 1.0}} << 0.0;
        QTest::newRow("no interior point")
            << QVector<QPointF>{{0.0, 0.0}, {1.0, 1.0}} << 0.0;
        QTest::newRow("best of the candidates")
            << QVector<QPointF>{{0.0, 0.0}, {0.25, 0.0625}, {0.5, 0.25}, {0.75, 0.5}, {1.0, 1.0}} << 2.0;
        QTest::newRow("a point at or below 0 has no candidate")
            << QVector<QPointF>{{0.0, 0.0}, {0.5, -0.1}, {0.6, 0.0}, {0.75, 0.5625}, {1.0, 1.0}} << 2.0;
    }

    void estimate_gamma()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(double, gamma);
        const CSpline curve = curve_of(CSpline::kCatmullRom, points);
        // 1e-9: the candidates are ratios of logarithms of exact powers.
        QVERIFY2(qAbs(curve.EstimateGamma() - gamma) < 1e-9, qPrintable(QString::number(curve.EstimateGamma(), 'g', 17)));
    }

    void resample()
    {
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 256, 0.0, 1.0);
        curve.SetGamma(2.0);
        const CSpline before(curve);
        QCOMPARE(curve.Resample(11), 0);
        QCOMPARE(curve.GetSize(), 11);
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(curve.GetX(i), i / 10.0);
            QCOMPARE(curve.GetY(i), before.Evaluate(i / 10.0));
        }
        curve.Resample(1);
        QCOMPARE(curve.GetSize(), 1);
        QCOMPARE(curve.GetPoint(0), QPointF(0.0, 0.0));
        curve.Resample(0);
        QCOMPARE(curve.GetSize(), 0);
    }

    void set_linear_only_touches_grid_points()
    {
        CSpline curve = curve_of(CSpline::kCatmullRom, {{0.0, 0.3}, {0.4, 0.9}, {1.0, 0.2}});
        curve.SetLinear();
        QCOMPARE(curve.GetPoint(0), QPointF(0.0, 0.0));
        QCOMPARE(curve.GetPoint(1), QPointF(0.4, 0.9)); // 0.4 is not on the 0.5 grid
        QCOMPARE(curve.GetPoint(2), QPointF(1.0, 1.0));
    }

    void point_access_outside_the_curve()
    {
        CSpline curve = curve_of(CSpline::kCatmullRom, {{0.0, 0.1}, {1.0, 0.9}});
        QCOMPARE(curve.GetPoint(-1), QPointF(0.0, 0.0));
        QCOMPARE(curve.GetX(2), 0.0);
        QCOMPARE(curve.GetY(5), 0.0);
        curve.SetY(2, 5.0);
        curve.SetPoint(-1, 5.0, 5.0);
        curve.SetPointAtX(0.5, 5.0);
        curve.InsertPoint(QPointF(5.0, 5.0), 3);
        QCOMPARE(curve.GetSize(), 2);
        QCOMPARE(curve.GetY(1), 0.9);

        curve.InsertPoint(QPointF(0.5, 0.5), 1);
        curve.InsertPoint(QPointF(2.0, 2.0), 3); // at n appends
        QCOMPARE(curve.GetSize(), 4);
        QCOMPARE(curve.GetPoint(1), QPointF(0.5, 0.5));
        QCOMPARE(curve.GetPoint(3), QPointF(2.0, 2.0));
        curve.SetPointAtX(0.5, 0.6);
        QCOMPARE(curve.GetY(1), 0.6);
    }

    void clamp_point()
    {
        CSpline curve;
        curve.SetRange(0.2, 0.8);
        QPointF p(-1.0, 2.0);
        curve.ClampPoint(p);
        QCOMPARE(p, QPointF(0.2, 0.8));
        QPointF inside(0.5, 0.3);
        curve.ClampPoint(inside);
        QCOMPARE(inside, QPointF(0.5, 0.3));
    }

    void stream_layout()
    {
        CSpline curve = curve_of(CSpline::kBezier, {{0.5, 0.25}}, 0.0, 1.0);
        curve.SetValid(true);
        const QByteArray bytes = curve_bytes(curve);
        QCOMPARE(bytes.size(), 49 + 16);
        QCOMPARE(bytes.toHex(), QByteArray("0000fade" "00000065" "00000000"
                                           "0000000000000000" "3ff0000000000000"
                                           "3ff0000000000000" "0000000000000000"
                                           "01" "00000001"
                                           "3fe0000000000000" "3fd0000000000000"));
        QCOMPARE(curve_bytes(CSpline()).size(), 49);
    }

    void stream_round_trip()
    {
        CSpline curve;
        curve.Init(CSpline::kBetaSpline, 256, 0.0, 1.0);
        curve.SetBetaParameters(0.75, 1.5);
        curve.SetGamma(2.4);
        curve.SetRange(-0.5, 1.5);
        CSpline read;
        QCOMPARE(read_curve(curve_bytes(curve), read), 0);
        QVERIFY(read == curve);
        QVERIFY(read.IsValid());
        QCOMPARE(read.GetBias(), 0.75);
        QCOMPARE(read.GetTension(), 1.5);
    }

    void stream_keeps_the_kind_as_stored()
    {
        CSpline none = curve_of(CSpline::kNone, kFourPoints, 0.25, 1.0);
        CSpline read;
        read.Init(CSpline::kCatmullRom, 3, 0.0, 1.0);
        QCOMPARE(read_curve(curve_bytes(none), read), 0);
        QCOMPARE(read.GetKind(), int(CSpline::kNone));
        QCOMPARE(read.GetSize(), 4);
        QCOMPARE(read.Evaluate(0.5), 0.25);

        QByteArray bytes = curve_bytes(curve_of(CSpline::kCatmullRom, kFourPoints));
        bytes[11] = 9; // kind 9
        QCOMPARE(read_curve(bytes, read), 0);
        QCOMPARE(read.GetKind(), 9);
        QCOMPARE(read.Evaluate(0.5), 0.0);
    }

    void read_errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        const QByteArray good = curve_bytes(curve_of(CSpline::kCatmullRom, kFourPoints));
        QByteArray magic = good;
        magic[3] = 0x00;
        QByteArray older = good;
        older[7] = 100;
        QByteArray newer = good;
        newer[7] = 102;
        QByteArray negative = good;
        negative[45] = char(0xff); // count -1
        negative[46] = char(0xff);
        negative[47] = char(0xff);
        negative[48] = char(0xff);
        QByteArray huge = good;
        huge[45] = 0x00;
        huge[46] = 0x10; // 1 048 576 points announced, 4 present
        QTest::newRow("wrong magic") << magic << -1502;
        QTest::newRow("older version") << older << -1501;
        QTest::newRow("newer version") << newer << -1501;
        QTest::newRow("cut in the points") << good.left(good.size() - 4) << -1503;
        QTest::newRow("cut before the count") << good.left(44) << -1503;
        QTest::newRow("negative count") << negative << -1503;
        QTest::newRow("count beyond the stream") << huge << -1503;
    }

    void read_errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        CSpline curve;
        curve.Init(CSpline::kBezier, 3, 0.0, 1.0);
        const CSpline before(curve);
        QCOMPARE(read_curve(bytes, curve), code);
        QVERIFY(curve == before);
        QCOMPARE(curve.GetKind(), int(CSpline::kBezier));
    }

    void write_failure_is_reported()
    {
        stream_bytes::FailingStream failing;
        QCOMPARE(CSpline().Write(failing.stream), -1504);
    }
};

QTEST_APPLESS_MAIN(tst_spline)
#include "tst_spline.moc"
