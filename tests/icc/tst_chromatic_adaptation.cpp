#include "icc/chromatic_adaptation.h"

#include <QtTest>

#include <array>

namespace {

using Nine = std::array<double, 9>;

Nine matrix_for(const CCIEXYZ &white)
{
    CChromaticAdaptation adaptation;
    adaptation.SetSourceWhite(white);
    Nine matrix;
    adaptation.GetMatrix(matrix.data());
    return matrix;
}

} // namespace

class tst_chromatic_adaptation : public QObject
{
    Q_OBJECT

private slots:
    void worked_example()
    {
        CChromaticAdaptation adaptation;
        adaptation.SetSourceWhite(CCIEXYZ(CIExy{0.3127, 0.3290}));
        Nine matrix;
        adaptation.GetMatrix(matrix.data());
        // The reference values are rounded to four decimals: half a unit of
        // the last digit.
        const double tolerance = 0.00005;
        const Nine expected = {1.0479, 0.0229, -0.0502, 0.0296, 0.9905, -0.0171, -0.0093, 0.0151, 0.7517};
        for (int i = 0; i < 9; ++i)
            QVERIFY2(qAbs(matrix[i] - expected[i]) <= tolerance, qPrintable(QString::number(i)));

        CCIEXYZ red, green, blue;
        adaptation.AdaptPrimaries(0.64, 0.33, 0.30, 0.60, 0.15, 0.06, red, green, blue);
        const CCIEXYZ actual[3] = {red, green, blue};
        const double reference[3][3] = {{0.4360, 0.2225, 0.0139}, {0.3851, 0.7169, 0.0971}, {0.1430, 0.0606, 0.7139}};
        for (int p = 0; p < 3; ++p) {
            QVERIFY(qAbs(actual[p].X - reference[p][0]) <= tolerance);
            QVERIFY(qAbs(actual[p].Y - reference[p][1]) <= tolerance);
            QVERIFY(qAbs(actual[p].Z - reference[p][2]) <= tolerance);
        }
        // The adapted primaries add up to the adapted white, D50 up to the
        // rounding of the stored inverse matrix.
        QVERIFY(qAbs(red.X + green.X + blue.X - 0.964188) < 0.0002);
        QVERIFY(qAbs(red.Y + green.Y + blue.Y - 1.0) < 0.0002);
        QVERIFY(qAbs(red.Z + green.Z + blue.Z - 0.82489) < 0.0002);
    }

    void d50_white_is_nearly_the_identity()
    {
        const Nine matrix = matrix_for(CCIEXYZ(0.964188, 1.0, 0.82489));
        const Nine identity = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        // Not exact: the stored inverse Bradford matrix is rounded to six decimals.
        for (int i = 0; i < 9; ++i)
            QVERIFY2(qAbs(matrix[i] - identity[i]) < 0.00001, qPrintable(QString::number(matrix[i], 'g', 10)));
    }

    void white_is_normalised_to_unit_luminance()
    {
        const Nine unit = matrix_for(CCIEXYZ(0.95, 1.0, 1.09));
        const Nine bright = matrix_for(CCIEXYZ(95.0, 100.0, 109.0));
        for (int i = 0; i < 9; ++i)
            QVERIFY(qAbs(unit[i] - bright[i]) < 1e-12); // same white, rounding only
    }

    void whites_without_luminance_data()
    {
        QTest::addColumn<CCIEXYZ>("white");
        QTest::newRow("chromaticity with y = 0") << CCIEXYZ(CIExy{0.3, 0.0});
        QTest::newRow("XYZ with Y = 0") << CCIEXYZ(0.4, 0.0, 0.2);
    }

    void whites_without_luminance()
    {
        QFETCH(CCIEXYZ, white);
        // Both count as (0, 1, 0) rather than dividing by zero.
        QCOMPARE(matrix_for(white), matrix_for(CCIEXYZ(0.0, 1.0, 0.0)));
    }

    void singular_primaries_give_zeros()
    {
        CChromaticAdaptation adaptation;
        adaptation.SetSourceWhite(CCIEXYZ(CIExy{0.3127, 0.3290}));
        CCIEXYZ red(9, 9, 9), green(9, 9, 9), blue(9, 9, 9);
        // Three equal primaries: the chromaticity matrix has determinant 0.
        adaptation.AdaptPrimaries(0.3, 0.3, 0.3, 0.3, 0.3, 0.3, red, green, blue);
        for (const CCIEXYZ &p : {red, green, blue}) {
            QCOMPARE(p.X, 0.0);
            QCOMPARE(p.Y, 0.0);
            QCOMPARE(p.Z, 0.0);
        }
    }

    void without_a_source_white_nothing_is_adapted()
    {
        CChromaticAdaptation adaptation;
        Nine matrix;
        adaptation.GetMatrix(matrix.data());
        QCOMPARE(matrix, (Nine{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    }
};

QTEST_APPLESS_MAIN(tst_chromatic_adaptation)
#include "tst_chromatic_adaptation.moc"
