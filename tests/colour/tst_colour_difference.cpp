// CIEDE2000 against the published test pairs (Sharma, Wu and Dalal, 2005),
// and L*a*b* of a few known colours.
#include "colour/colour_difference.h"

#include <QtTest>

class tst_colour_difference : public QObject
{
    Q_OBJECT

private slots:
    void published_pairs_data()
    {
        QTest::addColumn<double>("L1");
        QTest::addColumn<double>("a1");
        QTest::addColumn<double>("b1");
        QTest::addColumn<double>("L2");
        QTest::addColumn<double>("a2");
        QTest::addColumn<double>("b2");
        QTest::addColumn<double>("expected");
        const double pairs[][7] = {
            {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
            {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
            {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
            {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
            {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
            {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
            {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
            {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
            {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
            {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
            {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
            {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
            {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
            {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
            {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
            {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
            {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
            {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
            {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
            {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
            {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
            {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
            {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
            {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
            {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
            {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
            {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
            {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
            {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
            {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
            {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
            {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
            {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
            {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
        };
        int n = 0;
        for (const auto &p : pairs)
            QTest::addRow("pair %d", ++n) << p[0] << p[1] << p[2] << p[3] << p[4] << p[5] << p[6];
    }

    void published_pairs()
    {
        QFETCH(double, L1);
        QFETCH(double, a1);
        QFETCH(double, b1);
        QFETCH(double, L2);
        QFETCH(double, a2);
        QFETCH(double, b2);
        QFETCH(double, expected);
        // The published differences are rounded to four decimals.
        const double tolerance = 0.5e-4;
        QVERIFY(std::fabs(delta_e_2000({L1, a1, b1}, {L2, a2, b2}) - expected) <= tolerance);
        // The difference is symmetric.
        QVERIFY(std::fabs(delta_e_2000({L2, a2, b2}, {L1, a1, b1}) - expected) <= tolerance);
    }

    void lab_of_known_colours()
    {
        const CCIEXYZ white(95.047, 100.0, 108.883);
        const CIELab same = xyz_to_lab(white, white);
        // Exact arithmetic gives L 100, a and b 0; rounding leaves ~1e-13.
        QVERIFY(std::fabs(same.L - 100.0) < 1e-9 && std::fabs(same.a) < 1e-9 && std::fabs(same.b) < 1e-9);
        const CIELab grey = xyz_to_lab(CCIEXYZ(95.047 * 0.18, 18.0, 108.883 * 0.18), white);
        // 18 % reflectance is L* 49.496 (116 * 0.18^(1/3) - 16).
        QVERIFY(std::fabs(grey.L - 49.4961) < 1e-4);
        const CIELab dark = xyz_to_lab(CCIEXYZ(0.0, 0.0, 0.0), CCIEXYZ());
        QCOMPARE(dark.L, 0.0);
    }
};

QTEST_GUILESS_MAIN(tst_colour_difference)
#include "tst_colour_difference.moc"
