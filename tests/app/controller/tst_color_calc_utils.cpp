#include "app/controller/color_calc_utils.h"
#include "colour/CColorTemperature.h"
#include "colour/CTargetValue.h"
#include "colour/tone_curves.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

#include <array>
#include <cmath>

namespace {

// The luminances are computed in single precision: about 7 digits.
constexpr double kLuminanceRelative = 1e-5;
// The best white lies on a 0.001 grid; an independent search may land one
// step away where two grid points are nearly equally bright.
constexpr double kGridStep = 0.001;

using vec3 = std::array<double, 3>;

// Native primaries of a display, and its native white.
struct primaries
{
    CCIEXYZ red, green, blue, white;
};

CCIEXYZ from_xyY(double x, double y, double Y)
{
    return CCIEXYZ(x / y * Y, Y, (1.0 - x - y) / y * Y);
}

// A display with sRGB-like primaries whose native white is |white| at |luminance|.
primaries display_with_white(double x, double y, double luminance, double greenScale = 1.0)
{
    primaries p;
    p.red = from_xyY(0.64, 0.33, 0.2126 * luminance);
    p.green = from_xyY(0.30, 0.60, 0.7152 * luminance * greenScale);
    p.blue = from_xyY(0.15, 0.06, 0.0722 * luminance);
    p.white = from_xyY(x, y, luminance);
    return p;
}

// Solves [red green blue] d = v by Cramer's rule.
vec3 drive(const primaries &p, const vec3 &v)
{
    const double m[3][3] = {{p.red.X, p.green.X, p.blue.X}, {p.red.Y, p.green.Y, p.blue.Y}, {p.red.Z, p.green.Z, p.blue.Z}};
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
               + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    vec3 result{};
    for (int column = 0; column < 3; ++column) {
        double a[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                a[r][c] = c == column ? v[r] : m[r][c];
        result[column] = det(a) / d;
    }
    return result;
}

// The white luminance a display reaches at (x, y), written from its definition.
double reachable(const primaries &p, double x, double y)
{
    const CCIEXYZ target = from_xyY(x, y, 3000.0);
    const vec3 t = drive(p, {target.X, target.Y, target.Z});
    const vec3 w = drive(p, {p.white.X, p.white.Y, p.white.Z});
    const vec3 ratio{t[0] / w[0], t[1] / w[1], t[2] / w[2]};
    const double m = std::max({1.0, ratio[0], ratio[1], ratio[2]});
    return ratio[0] / m * p.red.Y + ratio[1] / m * p.green.Y + ratio[2] / m * p.blue.Y;
}

CTargetValue target_at(double x, double y)
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(CIExy{x, y}));
    return target;
}

bool close_to(double actual, double expected)
{
    return std::fabs(actual - expected) <= kLuminanceRelative * std::fabs(expected);
}

} // namespace

class tst_color_calc_utils : public QObject
{
    Q_OBJECT

private:
    color_calc_utils m_utils;

    static void store(headless_controller &wall, int index, const primaries &p)
    {
        wall.store_record(index, headless_controller::measured_record(p.red, p.green, p.blue, p.white));
    }

    static void disable(headless_controller &wall, int index)
    {
        display_layout_item item;
        wall.layout().get_item(index, item);
        item.enabled = false;
        wall.layout().set_item(index, item, false);
    }

private slots:
    // A native white of the target chromaticity is driven at 3000 cd/m² with
    // every ratio above 1: the display reaches its own white luminance.
    void white_of_the_target_chromaticity_gives_m_above_1()
    {
        headless_controller wall;
        wall.create_wall(1, 1);
        const primaries p = display_with_white(0.3127, 0.3290, 250.0);
        store(wall, 0, p);
        double luminance = 0.0;
        QCOMPARE(m_utils.calculate_display_max_luminance(0, target_at(0.3127, 0.3290), luminance), 0);
        QVERIFY2(close_to(luminance, 250.0), qPrintable(QString::number(luminance, 'g', 10)));
    }

    // A white far brighter than 3000 cd/m² leaves every ratio below 1: the
    // luminance is that of the drive ratios themselves.
    void ratios_below_1_give_m_1()
    {
        headless_controller wall;
        wall.create_wall(1, 1);
        const primaries p = display_with_white(0.3127, 0.3290, 8000.0);
        store(wall, 0, p);
        double luminance = 0.0;
        QCOMPARE(m_utils.calculate_display_max_luminance(0, target_at(0.30, 0.32), luminance), 0);
        const double expected = reachable(p, 0.30, 0.32);
        QVERIFY(expected < 3000.0 + 1.0); // m = 1: the 3000 cd/m² drive itself
        QVERIFY2(close_to(luminance, expected), qPrintable(QStringLiteral("%1 %2").arg(luminance).arg(expected)));
    }

    void display_luminance_against_independent_values_data()
    {
        QTest::addColumn<double>("whiteX");
        QTest::addColumn<double>("whiteY");
        QTest::addColumn<double>("targetX");
        QTest::addColumn<double>("targetY");
        QTest::newRow("D65 display, D65 target") << 0.3127 << 0.3290 << 0.3127 << 0.3290;
        QTest::newRow("bluish display, D65 target") << 0.2900 << 0.3050 << 0.3127 << 0.3290;
        QTest::newRow("yellowish display, 9300 K target") << 0.3300 << 0.3450 << 0.2848 << 0.2932;
        QTest::newRow("target outside the gamut") << 0.3127 << 0.3290 << 0.1000 << 0.8000;
    }

    void display_luminance_against_independent_values()
    {
        QFETCH(double, whiteX);
        QFETCH(double, whiteY);
        QFETCH(double, targetX);
        QFETCH(double, targetY);
        headless_controller wall;
        wall.create_wall(2, 1);
        const primaries p = display_with_white(whiteX, whiteY, 400.0, 0.9);
        store(wall, 1, p);
        double luminance = 0.0;
        QCOMPARE(m_utils.calculate_display_max_luminance(1, target_at(targetX, targetY), luminance), 0);
        const double expected = reachable(p, targetX, targetY);
        QVERIFY2(std::fabs(luminance - expected) <= kLuminanceRelative * 400.0,
                 qPrintable(QStringLiteral("%1 %2").arg(luminance).arg(expected)));
    }

    void display_luminance_without_usable_data()
    {
        headless_controller wall;
        wall.create_wall(4, 1);
        const CTargetValue target = target_at(0.3127, 0.3290);
        double luminance = 0.0;
        // Display 0: no record.
        QCOMPARE(m_utils.calculate_display_max_luminance(0, target, luminance), -1);
        QCOMPARE(luminance, -1.0);
        // Display 1: a record without a measured blue.
        primaries p = display_with_white(0.3127, 0.3290, 200.0);
        p.blue = CCIEXYZ();
        store(wall, 1, p);
        QCOMPARE(m_utils.calculate_display_max_luminance(1, target, luminance), -1);
        QCOMPARE(luminance, -1.0);
        // Display 2: a native white that drives red at 0: no division by it.
        p = display_with_white(0.3127, 0.3290, 200.0);
        p.white = p.green;
        store(wall, 2, p);
        QCOMPARE(m_utils.calculate_display_max_luminance(2, target, luminance), -1);
        QCOMPARE(luminance, -1.0);
        // Display 3: disabled, whatever its data.
        disable(wall, 3);
        QCOMPARE(m_utils.calculate_display_max_luminance(3, target, luminance), 0);
        QCOMPARE(luminance, -1.0);
        // Outside the wall.
        QCOMPARE(m_utils.calculate_display_max_luminance(4, target, luminance), -1);
        QCOMPARE(m_utils.calculate_display_max_luminance(-1, target, luminance), -1);
    }

    void matching_luminance_is_the_dimmest()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        const primaries bright = display_with_white(0.3127, 0.3290, 500.0);
        const primaries dim = display_with_white(0.3000, 0.3100, 180.0, 0.8);
        const primaries dimmest = display_with_white(0.3200, 0.3300, 90.0);
        store(wall, 0, bright);
        store(wall, 1, dim);
        store(wall, 2, dimmest);
        double luminance = 0.0;
        QCOMPARE(m_utils.calculate_max_matching_luminance(target_at(0.3127, 0.3290), luminance), 0);
        const double expected = std::min({reachable(bright, 0.3127, 0.3290), reachable(dim, 0.3127, 0.3290),
                                          reachable(dimmest, 0.3127, 0.3290)});
        QVERIFY2(close_to(luminance, expected), qPrintable(QStringLiteral("%1 %2").arg(luminance).arg(expected)));

        // A disabled display takes no part.
        disable(wall, 2);
        QCOMPARE(m_utils.calculate_max_matching_luminance(target_at(0.3127, 0.3290), luminance), 0);
        QVERIFY(close_to(luminance, std::min(reachable(bright, 0.3127, 0.3290), reachable(dim, 0.3127, 0.3290))));
    }

    // A native target keeps each display's own white: each reaches its own
    // white luminance, and the wall matches at the dimmest of them.
    void native_target_white_is_each_displays_own()
    {
        headless_controller wall;
        wall.create_wall(2, 1);
        store(wall, 0, display_with_white(0.3000, 0.3100, 500.0));
        store(wall, 1, display_with_white(0.3200, 0.3300, 180.0));
        CTargetValue target;
        target.SetWhitePoint(CColorTemperature(quint16(0)));
        QVERIFY(target.GetWhitePoint().IsNative());
        double luminance = 0.0;
        QCOMPARE(m_utils.calculate_display_max_luminance(0, target, luminance), 0);
        QVERIFY2(close_to(luminance, 500.0), qPrintable(QString::number(luminance)));
        QCOMPARE(m_utils.calculate_display_max_luminance(1, target, luminance), 0);
        QVERIFY2(close_to(luminance, 180.0), qPrintable(QString::number(luminance)));
        QCOMPARE(m_utils.calculate_max_matching_luminance(target, luminance), 0);
        QVERIFY2(close_to(luminance, 180.0), qPrintable(QString::number(luminance)));
    }

    void matching_luminance_of_incomplete_walls()
    {
        headless_controller wall;
        const CTargetValue target = target_at(0.3127, 0.3290);
        double luminance = 0.0;
        // No displays at all.
        QCOMPARE(m_utils.calculate_max_matching_luminance(target, luminance), 0);
        QCOMPARE(luminance, -1.0);
        // One enabled display without a record.
        wall.create_wall(2, 1);
        store(wall, 0, display_with_white(0.3127, 0.3290, 200.0));
        QCOMPARE(m_utils.calculate_max_matching_luminance(target, luminance), -1);
        QCOMPARE(luminance, -1.0);
        // Disabled, it no longer counts; all disabled is an empty wall.
        disable(wall, 1);
        QCOMPARE(m_utils.calculate_max_matching_luminance(target, luminance), 0);
        QVERIFY(luminance > 0.0);
        disable(wall, 0);
        QCOMPARE(m_utils.calculate_max_matching_luminance(target, luminance), 0);
        QCOMPARE(luminance, -1.0);
    }

    void best_common_white_against_an_independent_search()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        const primaries displays[] = {display_with_white(0.3050, 0.3200, 300.0),
                                      display_with_white(0.3150, 0.3300, 260.0, 0.85),
                                      display_with_white(0.3100, 0.3350, 280.0)};
        for (int i = 0; i < 3; ++i)
            store(wall, i, displays[i]);
        auto dimmest = [&](double x, double y) {
            double least = 1e300;
            for (const primaries &p : displays)
                least = std::min(least, reachable(p, x, y));
            return least;
        };
        double bestX = 0.3050, bestY = 0.3200, best = 0.0;
        for (int i = 0; 0.3050 + i * kGridStep < 0.3150; ++i) {
            for (int j = 0; 0.3200 + j * kGridStep < 0.3350; ++j) {
                const double x = 0.3050 + i * kGridStep, y = 0.3200 + j * kGridStep;
                if (dimmest(x, y) > best) {
                    best = dimmest(x, y);
                    bestX = x;
                    bestY = y;
                }
            }
        }
        CTargetValue target = target_at(0.28, 0.29);
        target.SetName(QStringLiteral("kept"));
        QCOMPARE(m_utils.calculate_best_common_white_point(target), 0);
        const CIExy found = target.GetWhitePoint().GetCIExy();
        QVERIFY2(std::fabs(found.x - bestX) <= kGridStep * 1.01 && std::fabs(found.y - bestY) <= kGridStep * 1.01,
                 qPrintable(QStringLiteral("found %1 %2, expected %3 %4").arg(found.x).arg(found.y).arg(bestX).arg(bestY)));
        QVERIFY(close_to(dimmest(found.x, found.y), best) || dimmest(found.x, found.y) > best * (1 - 1e-4));
        QCOMPARE(target.GetName(), QStringLiteral("kept"));
        QVERIFY(!target.GetWhitePoint().IsKelvinSpecified());

        // A display without data takes no part in the search.
        wall.create_wall(4, 1);
        for (int i = 0; i < 3; ++i)
            store(wall, i, displays[i]);
        CTargetValue again = target_at(0.28, 0.29);
        QCOMPARE(m_utils.calculate_best_common_white_point(again), 0);
        QCOMPARE(again.GetWhitePoint().GetX(), found.x);
        QCOMPARE(again.GetWhitePoint().GetY(), found.y);
    }

    void best_common_white_without_a_box_data()
    {
        QTest::addColumn<int>("displays");
        QTest::addColumn<double>("secondX"); // the second display's native white
        QTest::addColumn<double>("secondY");
        QTest::addColumn<double>("expectedX");
        QTest::addColumn<double>("expectedY");
        QTest::newRow("one display") << 1 << 0.0 << 0.0 << 0.3050 << 0.3200;
        QTest::newRow("shared x") << 2 << 0.3050 << 0.3400 << 0.3050 << 0.3200;
        QTest::newRow("shared y") << 2 << 0.3300 << 0.3200 << 0.3050 << 0.3200;
        QTest::newRow("second lower left") << 2 << 0.3000 << 0.3200 << 0.3000 << 0.3200;
    }

    void best_common_white_without_a_box()
    {
        QFETCH(int, displays);
        QFETCH(double, secondX);
        QFETCH(double, secondY);
        QFETCH(double, expectedX);
        QFETCH(double, expectedY);
        headless_controller wall;
        wall.create_wall(displays, 1);
        store(wall, 0, display_with_white(0.3050, 0.3200, 300.0));
        if (displays > 1)
            store(wall, 1, display_with_white(secondX, secondY, 300.0));
        CTargetValue target = target_at(0.28, 0.29);
        QCOMPARE(m_utils.calculate_best_common_white_point(target), 0);
        // The box corner is the chromaticity of the measured white.
        QVERIFY(std::fabs(target.GetWhitePoint().GetX() - expectedX) < 1e-12);
        QVERIFY(std::fabs(target.GetWhitePoint().GetY() - expectedY) < 1e-12);
    }

    void best_common_white_without_data()
    {
        headless_controller wall;
        CTargetValue target = target_at(0.28, 0.29);
        QCOMPARE(m_utils.calculate_best_common_white_point(target), -1); // no displays
        wall.create_wall(2, 1);
        primaries p = display_with_white(0.3050, 0.3200, 300.0);
        p.red = CCIEXYZ();
        store(wall, 0, p);
        store(wall, 1, display_with_white(0.3050, 0.3200, 300.0));
        disable(wall, 1);
        QCOMPARE(m_utils.calculate_best_common_white_point(target), -1);
        QCOMPARE(target.GetWhitePoint().GetX(), 0.28);
        QCOMPARE(target.GetWhitePoint().GetY(), 0.29);
    }

    void all_displays_measured()
    {
        headless_controller wall;
        QVERIFY(!m_utils.all_displays_measured()); // no displays
        wall.create_wall(3, 1);
        QVERIFY(!m_utils.all_displays_measured());
        store(wall, 0, display_with_white(0.3127, 0.3290, 200.0));
        store(wall, 1, display_with_white(0.3127, 0.3290, 200.0));
        QVERIFY(!m_utils.all_displays_measured()); // display 2 has no record
        disable(wall, 2);
        QVERIFY(m_utils.all_displays_measured());
        primaries p = display_with_white(0.3127, 0.3290, 200.0);
        p.green = CCIEXYZ(0.0, -1.0, 0.0);
        store(wall, 1, p);
        QVERIFY(!m_utils.all_displays_measured()); // display 1's green is unusable
        disable(wall, 0);
        disable(wall, 1);
        QVERIFY(!m_utils.all_displays_measured()); // nothing enabled
    }

    void curve_operations_forward()
    {
        CSpline mine, theirs;
        QCOMPARE(color_calc_utils::make_srgb_curve(mine), 0);
        QCOMPARE(::make_srgb_curve(theirs), 0);
        QVERIFY(mine == theirs);
        CTargetValue target;
        target.SetGammaType(CTargetValue::kGammaDicom);
        QCOMPARE(color_calc_utils::make_target_curve(CColorValue(), target, mine), 0);
        QCOMPARE(::make_target_curve(CColorValue(), target, theirs), 0);
        QVERIFY(mine == theirs);
    }
};

QTEST_GUILESS_MAIN(tst_color_calc_utils)
#include "tst_color_calc_utils.moc"
