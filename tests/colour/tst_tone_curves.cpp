#include "colour/CColorValue.h"
#include "colour/CDICOMCalc.h"
#include "colour/CSpline.h"
#include "colour/CTargetValue.h"
#include "colour/tone_curves.h"

#include <QtTest>

#include <cmath>
#include <functional>

namespace {

// The curves are built in double precision from a handful of operations.
constexpr double kCurveTolerance = 1e-9;
// The DICOM function runs in single precision: its luminances carry about 7
// significant digits, so published table values hold to 1e-4 relative.
constexpr double kLuminanceRelative = 1e-4;
// A DICOM point is an integer of 65535 computed in floats: one count either way.
constexpr double kDicomPointTolerance = 1.5 / 65535.0;

// The standard's functions written independently, in double precision.
double jnd_of(double luminance)
{
    const double l = std::log10(luminance);
    const double c[] = {71.498068, 94.593053, 41.912053, 9.8247004, 0.28175407,
                        -1.1878455, -0.18014349, 0.14710899, -0.017046845};
    double sum = 0.0;
    for (int k = 0; k < 9; ++k)
        sum += c[k] * std::pow(l, k);
    return sum;
}

double luminance_of(double jnd)
{
    const double x = std::log(jnd);
    const double numerator[] = {-1.3011877, 0.080242636, 0.13646699, -0.025468404, 0.001363533};
    const double denominator[] = {1.0, -0.02584019, -0.10320229, 0.02874562, -0.003197898, 0.000129926};
    double num = 0.0;
    double den = 0.0;
    for (int k = 0; k < 5; ++k)
        num += numerator[k] * std::pow(x, k);
    for (int k = 0; k < 6; ++k)
        den += denominator[k] * std::pow(x, k);
    return std::pow(10.0, num / den);
}

// y of point i of the DICOM curve between |black| and |white|.
double dicom_point(double black, double white, int i)
{
    const double j0 = jnd_of(black);
    const double step = (jnd_of(white) - j0) / 255.0;
    const double l0 = luminance_of(j0);
    const double value = (luminance_of(j0 + i * step) - l0) * 65535.0 / (luminance_of(j0 + 255 * step) - l0);
    return std::floor(value + 0.5) / 65535.0;
}

// CIE 1976 lightness, in its textbook form.
double lightness(double Y)
{
    const double delta = 6.0 / 29.0;
    const double f = Y > delta * delta * delta ? std::cbrt(Y) : Y / (3 * delta * delta) + 4.0 / 29.0;
    return (116.0 * f - 16.0) / 100.0;
}

double srgb_encoding(double v)
{
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

double rec_encoding(double v, double alpha, double beta, double slope)
{
    return v < beta ? slope * v : alpha * std::pow(v, 0.45) - (alpha - 1);
}

using builder = int (*)(CSpline &);
using encoding = std::function<double(double)>;

CColorValue measured(double white, double black)
{
    CColorValue value;
    value.uncorrected_greyscale = {CCIEXYZ(0, black, 0), CCIEXYZ(0, white / 2, 0), CCIEXYZ(0, white, 0)};
    value.uncorrected.black = CCIEXYZ(0, black, 0);
    return value;
}

CTargetValue target_of_type(int type)
{
    CTargetValue target;
    target.SetGammaType(type);
    return target;
}

void verify_dicom_curve(const CSpline &curve, double black, double white)
{
    QCOMPARE(curve.GetSize(), 256);
    QVERIFY(curve.IsValid());
    for (int i = 0; i < 256; ++i) {
        QVERIFY2(std::fabs(curve.GetX(i) - i / 255.0) < kCurveTolerance, qPrintable(QString::number(i)));
        QVERIFY2(std::fabs(curve.GetY(i) - dicom_point(black, white, i)) <= kDicomPointTolerance,
                 qPrintable(QStringLiteral("point %1: %2").arg(i).arg(curve.GetY(i))));
    }
}

} // namespace

Q_DECLARE_METATYPE(CColorValue)
Q_DECLARE_METATYPE(builder)
Q_DECLARE_METATYPE(encoding)

class tst_tone_curves : public QObject
{
    Q_OBJECT

private slots:
    void standard_curves_data()
    {
        QTest::addColumn<builder>("build");
        QTest::addColumn<encoding>("encode");
        QTest::addColumn<int>("lastToePoint"); // the last point on the straight toe

        QTest::newRow("sRGB") << builder(make_srgb_curve) << encoding(srgb_encoding) << 0;
        QTest::newRow("SMPTE 240M") << builder(make_smpte240m_curve)
                                    << encoding([](double v) { return rec_encoding(v, 1.1115, 0.0228, 4.0); }) << 5;
        QTest::newRow("NTSC SMPTE 170M") << builder(make_ntsc_smpte170m_curve)
                                         << encoding([](double v) { return rec_encoding(v, 1.099, 0.018, 4.5); })
                                         << 4;
        QTest::newRow("L*") << builder(make_lstar_curve) << encoding(lightness) << 2;
    }

    // x is the encoded signal of the linear light y = i / 255, from black to white.
    void standard_curves()
    {
        QFETCH(builder, build);
        QFETCH(encoding, encode);
        QFETCH(int, lastToePoint);

        CSpline curve;
        QCOMPARE(build(curve), 0);
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetKind(), int(CSpline::kCatmullRom));
        QCOMPARE(curve.GetSize(), 256);
        QCOMPARE(curve.GetRangeMinimum(), 0.0);
        QCOMPARE(curve.GetRangeMaximum(), 1.0);
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            QVERIFY2(std::fabs(curve.GetX(i) - encode(v)) < 1e-6, qPrintable(QString::number(i)));
            QCOMPARE(curve.GetY(i), v);
        }
        QVERIFY(std::fabs(curve.GetX(0)) < kCurveTolerance);
        QVERIFY(std::fabs(curve.GetX(255) - 1.0) < kCurveTolerance);
        // The toe is a straight line through black; the next point is on the power segment.
        if (lastToePoint > 0) {
            const double toeSlope = curve.GetX(1) / curve.GetY(1);
            for (int i = 2; i <= lastToePoint; ++i)
                QVERIFY(std::fabs(curve.GetX(i) / curve.GetY(i) - toeSlope) < kCurveTolerance);
            QVERIFY(std::fabs(curve.GetX(lastToePoint + 1) / curve.GetY(lastToePoint + 1) - toeSlope) > 1e-3);
        }
    }

    // 1/255 lies above the sRGB threshold, so point 1 is on the power segment, not 12.92/255.
    void srgb_second_point_is_on_the_power_segment()
    {
        CSpline curve;
        make_srgb_curve(curve);
        QVERIFY(std::fabs(curve.GetX(1) - (1.055 * std::pow(1.0 / 255, 1 / 2.4) - 0.055)) < kCurveTolerance);
        QVERIFY(std::fabs(curve.GetX(1) - 12.92 / 255) > 5e-4); // 0.04984 against 0.05067
    }

    void dicom_function_against_the_standard_table_data()
    {
        QTest::addColumn<float>("jnd");
        QTest::addColumn<double>("luminance");
        // The ends of the standard's table.
        QTest::newRow("JND 1") << 1.0f << 0.0500;
        QTest::newRow("JND 1023") << 1023.0f << 3993.4;
    }

    void dicom_function_against_the_standard_table()
    {
        QFETCH(float, jnd);
        QFETCH(double, luminance);
        const double relative = 2e-3; // the table values carry 4 to 5 digits
        QVERIFY2(std::fabs(dicom_jnd_to_luminance(jnd) / luminance - 1.0) < relative,
                 qPrintable(QString::number(dicom_jnd_to_luminance(jnd))));
        QVERIFY(std::fabs(dicom_luminance_to_jnd(float(luminance)) - jnd) < 0.5);
    }

    void dicom_function_inverts_itself()
    {
        for (float jnd : {2.0f, 37.5f, 250.0f, 700.0f, 1000.0f}) {
            const double back = dicom_luminance_to_jnd(dicom_jnd_to_luminance(jnd));
            // The standard's two fits invert each other to about 0.06 JND.
            QVERIFY2(std::fabs(back - jnd) < 0.1, qPrintable(QString::number(back)));
            QVERIFY(std::fabs(dicom_jnd_to_luminance(jnd) / luminance_of(jnd) - 1.0) < kLuminanceRelative);
        }
    }

    void dicom_function_outside_its_domain_is_zero()
    {
        QCOMPARE(dicom_jnd_to_luminance(0.0f), 0.0f);
        QCOMPARE(dicom_jnd_to_luminance(-5.0f), 0.0f);
        QCOMPARE(dicom_jnd_to_luminance(std::nanf("")), 0.0f);
        QCOMPARE(dicom_luminance_to_jnd(0.0f), 0.0f);
        QCOMPARE(dicom_luminance_to_jnd(-1.0f), 0.0f);
    }

    void dicom_steps_end_to_end()
    {
        const CDICOMCalc calc(0.5f, 200.0f, 255);
        QVERIFY(calc.IsValid());
        QCOMPARE(calc.ValueAtStep(0, 65535), 0);
        QCOMPARE(calc.ValueAtStep(255, 65535), 65535);
        QCOMPARE(calc.ValueAtStep(256, 65535), 0);
        QCOMPARE(calc.ValueAtStep(-1, 65535), 0);
        int previous = 0;
        for (int i = 1; i <= 255; ++i) {
            const int value = calc.ValueAtStep(i, 65535);
            QVERIFY2(value > previous, qPrintable(QString::number(i)));
            QVERIFY(std::fabs(value / 65535.0 - dicom_point(0.5, 200.0, i)) <= kDicomPointTolerance);
            previous = value;
        }
    }

    void dicom_range_without_indexes_data()
    {
        QTest::addColumn<float>("black");
        QTest::addColumn<float>("white");
        QTest::addColumn<int>("steps");
        QTest::newRow("black 0") << 0.0f << 200.0f << 255;
        QTest::newRow("negative black") << -1.0f << 200.0f << 255;
        QTest::newRow("white below black") << 200.0f << 0.5f << 255;
        QTest::newRow("empty range") << 100.0f << 100.0f << 255;
        QTest::newRow("no steps") << 0.5f << 200.0f << 0;
        QTest::newRow("not a number") << std::nanf("") << 200.0f << 255;
        QTest::newRow("infinite white") << 0.5f << std::numeric_limits<float>::infinity() << 255;
    }

    void dicom_range_without_indexes()
    {
        QFETCH(float, black);
        QFETCH(float, white);
        QFETCH(int, steps);
        const CDICOMCalc calc(black, white, steps);
        QVERIFY(!calc.IsValid());
        for (int i : {0, 1, 128, 255})
            QCOMPARE(calc.ValueAtStep(i, 65535), 0);
    }

    void target_curve_by_gamma_type_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("gamma"); // the exponent the curve follows
        QTest::newRow("native") << int(CTargetValue::kGammaNative) << 1.0;
        QTest::newRow("power") << int(CTargetValue::kGammaPower) << 2.4;
        QTest::newRow("BT.1886") << int(CTargetValue::kGammaBt1886) << 1.0;
        QTest::newRow("unknown 0") << 0 << 1.0;
        QTest::newRow("unknown 99") << 99 << 1.0;
    }

    void target_curve_by_gamma_type()
    {
        QFETCH(int, type);
        QFETCH(double, gamma);
        CTargetValue target = target_of_type(type);
        target.SetGamma(2.4);
        CSpline curve;
        curve.Init(CSpline::kBezier, 3, 0.0, 2.0); // replaced whole
        QCOMPARE(make_target_curve(CColorValue(), target, curve), 0);
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetKind(), int(CSpline::kCatmullRom));
        QCOMPARE(curve.GetSize(), 256);
        QCOMPARE(curve.GetRangeMaximum(), 1.0);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(curve.GetX(i), i / 255.0);
            QVERIFY(std::fabs(curve.GetY(i) - std::pow(i / 255.0, gamma)) < kCurveTolerance);
        }
    }

    void target_curve_copies_the_targets_own_curve()
    {
        CSpline own;
        own.Init(CSpline::kBSpline, 0, 0.0, 1.0);
        own.AppendPoint(QPointF(0.0, 0.0));
        own.AppendPoint(QPointF(0.5, 0.3));
        own.AppendPoint(QPointF(1.0, 1.0));
        CTargetValue target = target_of_type(CTargetValue::kGammaCurve);
        target.SetCurve(own); // not marked valid
        CSpline curve;
        QCOMPARE(make_target_curve(CColorValue(), target, curve), 0);
        QVERIFY(curve == own);
        QVERIFY(curve.IsValid());
    }

    void dicom_target_curve_data()
    {
        QTest::addColumn<CColorValue>("measurements");
        QTest::addColumn<quint32>("contrastRatio");
        QTest::addColumn<double>("scaling"); // 0: scaling off
        QTest::addColumn<double>("black");
        QTest::addColumn<double>("white");

        QTest::newRow("no greyscale") << CColorValue() << 0u << 0.0 << 0.5 << 200.0;
        CColorValue single;
        single.uncorrected_greyscale = {CCIEXYZ(0, 300, 0)};
        QTest::newRow("one greyscale entry") << single << 0u << 0.0 << 0.5 << 200.0;
        QTest::newRow("dark white") << measured(0.0, 0.2) << 0u << 0.0 << 0.5 << 200.0;
        QTest::newRow("measured black") << measured(300.0, 0.3) << 0u << 0.0 << 0.3 << 300.0;
        QTest::newRow("ratio lifts the black") << measured(300.0, 0.3) << 500u << 0.0 << 0.6 << 300.0;
        QTest::newRow("ratio below the measured black") << measured(300.0, 0.3) << 2000u << 0.0 << 0.3 << 300.0;
        QTest::newRow("scaled") << measured(300.0, 0.3) << 500u << 0.5 << 0.3 << 150.0;
        QTest::newRow("scaled without greyscale") << CColorValue() << 0u << 2.0 << 1.0 << 400.0;
        // No JND index for the range: the default range.
        QTest::newRow("black at 0") << measured(300.0, 0.0) << 0u << 0.0 << 0.5 << 200.0;
        QTest::newRow("black above white") << measured(300.0, 400.0) << 0u << 0.0 << 0.5 << 200.0;
        QTest::newRow("scaled to nothing") << measured(300.0, 0.3) << 0u << -1.0 << 0.5 << 200.0;
        CColorValue broken = measured(300.0, 0.3);
        broken.uncorrected.black.Y = std::nan("");
        QTest::newRow("black not a number") << broken << 0u << 0.0 << 0.5 << 200.0;
    }

    void dicom_target_curve()
    {
        QFETCH(CColorValue, measurements);
        QFETCH(quint32, contrastRatio);
        QFETCH(double, scaling);
        QFETCH(double, black);
        QFETCH(double, white);
        CTargetValue target = target_of_type(CTargetValue::kGammaDicom);
        target.SetContrastRatio(contrastRatio);
        target.SetDicomScalingFlag(scaling != 0.0);
        target.SetDicomScalingFactor(scaling);
        CSpline curve;
        QCOMPARE(make_target_curve(measurements, target, curve), 0);
        verify_dicom_curve(curve, black, white);
        QCOMPARE(curve.GetY(0), 0.0);
        QCOMPARE(curve.GetY(255), 1.0);
    }
};

QTEST_GUILESS_MAIN(tst_tone_curves)
#include "tst_tone_curves.moc"
