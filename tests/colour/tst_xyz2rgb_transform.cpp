#include "colour/CXYZ2RGBTransform.h"

#include <QtTest>

#include <limits>

namespace {

// A well-conditioned 3 x 3 inversion loses at most a few ulps per element.
constexpr double kTight = 1e-12;

const CCIEXYZ kRed(41.24, 21.26, 1.93);
const CCIEXYZ kGreen(35.76, 71.52, 11.92);
const CCIEXYZ kBlue(18.05, 7.22, 95.05);

CCIEXYZ sum(const CCIEXYZ &a, const CCIEXYZ &b, const CCIEXYZ &c)
{
    return CCIEXYZ(a.X + b.X + c.X, a.Y + b.Y + c.Y, a.Z + b.Z + c.Z);
}

bool near(const RGBTriple &rgb, double r, double g, double b, double tolerance = kTight)
{
    return qAbs(rgb.R - r) <= tolerance && qAbs(rgb.G - g) <= tolerance && qAbs(rgb.B - b) <= tolerance;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

Q_DECLARE_METATYPE(RGBTriple)

class tst_xyz2rgb_transform : public QObject
{
    Q_OBJECT

private slots:
    void primaries_map_to_unit_drive()
    {
        CXYZ2RGBTransform transform;
        QVERIFY(!transform.IsValid());
        QCOMPARE(transform.SetPrimaries(kRed, kGreen, kBlue), 0);
        QVERIFY(transform.IsValid());
        QVERIFY(near(transform.XYZToRGB(sum(kRed, kGreen, kBlue)), 1.0, 1.0, 1.0));
        QVERIFY(near(transform.XYZToRGB(kRed), 1.0, 0.0, 0.0));
        QVERIFY(near(transform.XYZToRGB(kGreen), 0.0, 1.0, 0.0));
        QVERIFY(near(transform.XYZToRGB(kBlue), 0.0, 0.0, 1.0));
        QVERIFY(near(transform.XYZToRGB(CCIEXYZ(kRed.X / 2, kRed.Y / 2, kRed.Z / 2)), 0.5, 0.0, 0.0));

        // The primaries matrix holds the measured values again, by column.
        const auto &primaries = transform.GetPrimariesMatrix();
        QVERIFY(qAbs(primaries[0][1] - kGreen.X) < kTight * 100);
        QVERIFY(qAbs(primaries[2][2] - kBlue.Z) < kTight * 100);
    }

    void xyY_conversion()
    {
        CXYZ2RGBTransform transform;
        transform.SetPrimariesXYZ(kRed.X, kRed.Y, kRed.Z, kGreen.X, kGreen.Y, kGreen.Z, kBlue.X, kBlue.Y, kBlue.Z);
        const CCIEYxy white = sum(kRed, kGreen, kBlue).ToYxy();
        QVERIFY(near(transform.xyYToRGB({white.x, white.y, white.Y}), 1.0, 1.0, 1.0));
        QVERIFY(near(transform.xyYToRGB({white.x, white.y, white.Y * 3}), 3.0, 3.0, 3.0));
        // y = 0 drops the luminance as well.
        QVERIFY(near(transform.xyYToRGB({0.3, 0.0, 500.0}), 0.0, 0.0, 0.0, 0.0));
    }

    void singular_primaries_data()
    {
        QTest::addColumn<CCIEXYZ>("red");
        QTest::addColumn<CCIEXYZ>("green");
        QTest::addColumn<CCIEXYZ>("blue");
        QTest::newRow("two identical") << kRed << kRed << kBlue;
        QTest::newRow("dependent") << kRed << kGreen << sum(kRed, kGreen, CCIEXYZ());
        QTest::newRow("black primary") << kRed << CCIEXYZ() << kBlue;
        QTest::newRow("zero-sum primary") << kRed << kGreen << CCIEXYZ(1.0, -1.0, 0.0);
        QTest::newRow("not a number") << kRed << CCIEXYZ(kNaN, 71.52, 11.92) << kBlue;
        QTest::newRow("infinite") << CCIEXYZ(41.24, kInf, 1.93) << kGreen << kBlue;
        QTest::newRow("overflowing sum") << CCIEXYZ(1e308, 1e308, 1e308) << kGreen << kBlue;
    }

    void singular_primaries()
    {
        QFETCH(CCIEXYZ, red);
        QFETCH(CCIEXYZ, green);
        QFETCH(CCIEXYZ, blue);
        CXYZ2RGBTransform transform;
        QCOMPARE(transform.SetPrimaries(red, green, blue), -1);
        QVERIFY(!transform.IsValid());
        QVERIFY(near(transform.XYZToRGB(kRed), 0.0, 0.0, 0.0, 0.0));
        QVERIFY(near(transform.xyYToRGB({0.3, 0.3, 100.0}), 0.0, 0.0, 0.0, 0.0));
    }

    void failure_keeps_a_working_transform()
    {
        CXYZ2RGBTransform transform;
        QCOMPARE(transform.SetPrimaries(kRed, kGreen, kBlue), 0);
        QCOMPARE(transform.SetPrimaries(kRed, kRed, kBlue), -1);
        QVERIFY(transform.IsValid());
        QVERIFY(near(transform.XYZToRGB(kGreen), 0.0, 1.0, 0.0));
    }

    void invert_affine_matrix_with_translation()
    {
        AffineMatrix a{};
        a[0] = {2.0, 0.0, 0.0, 0.0};
        a[1] = {0.0, 4.0, 0.0, 0.0};
        a[2] = {0.0, 0.0, 8.0, 0.0};
        a[3] = {1.0, 2.0, 3.0, 1.0};
        AffineMatrix inverse{};
        QCOMPARE(invert_affine_matrix(a, inverse), 0);
        QCOMPARE(inverse[0][0], 0.5);
        QCOMPARE(inverse[1][1], 0.25);
        QCOMPARE(inverse[2][2], 0.125);
        QCOMPARE(inverse[3][0], -0.5);
        QCOMPARE(inverse[3][1], -0.5);
        QCOMPARE(inverse[3][2], -0.375);
        QCOMPARE(inverse[3][3], 1.0);
        QCOMPARE(inverse[0][3], 0.0);
    }

    void invert_affine_matrix_general_block()
    {
        AffineMatrix a{};
        a[0] = {3.0, 1.0, -2.0, 0.0};
        a[1] = {0.5, 4.0, 1.0, 0.0};
        a[2] = {-1.0, 2.0, 5.0, 0.0};
        a[3] = {0.0, 0.0, 0.0, 1.0};
        AffineMatrix inverse{};
        QCOMPARE(invert_affine_matrix(a, inverse), 0);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                double product = 0.0;
                for (int k = 0; k < 3; ++k)
                    product += a[i][k] * inverse[k][j];
                QVERIFY(qAbs(product - (i == j ? 1.0 : 0.0)) < kTight);
            }
        }
    }

    void invert_affine_matrix_refuses_singular_blocks()
    {
        AffineMatrix a{};
        a[0] = {1.0, 2.0, 3.0, 0.0};
        a[1] = {2.0, 4.0, 6.0, 0.0};
        a[2] = {0.0, 1.0, 1.0, 0.0};
        a[3] = {0.0, 0.0, 0.0, 1.0};
        AffineMatrix out{};
        out[0][0] = 42.0;
        QCOMPARE(invert_affine_matrix(a, out), -1);
        QCOMPARE(out[0][0], 42.0); // nothing written

        // Tiny relative to its terms: 1 + 1e-16 - 1 is judged singular.
        a[0] = {1.0, 1.0, 0.0, 0.0};
        a[1] = {1.0, 1.0 + 1e-16, 0.0, 0.0};
        a[2] = {0.0, 0.0, 1.0, 0.0};
        QCOMPARE(invert_affine_matrix(a, out), -1);
    }
};

QTEST_APPLESS_MAIN(tst_xyz2rgb_transform)
#include "tst_xyz2rgb_transform.moc"
