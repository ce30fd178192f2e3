// The internal calibration engine's black level driven through
// basic_monitor as the calibration run adjusts it: the maximum first, then
// the value scaled by what was measured, then single steps.
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr double kScale = 0.01;
constexpr quint64 kSeed = 22;
constexpr int kBlackLevel = 0x1054;
constexpr int kMaxSteps = 10;
// One step of the control is a tenth of a cd/m²; the engine, still working
// on the design panel, misses each by a few per cent. The adjusted black is
// within half a step of its target, with room for that miss.
constexpr double kStepTolerance = 0.06;

} // namespace

class tst_basic_monitor_engine_black : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    void black_level_adjustment_reaches_the_target()
    {
        monitor_fixture m(loopback_block::address(1), "VW-5540QE");
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_imperfections(kSeed, 1.0);
        QCOMPARE(m.monitor.set_vcp_1147_and_wait(true), 0);
        for (auto [code, value] : {std::pair {0x1052, 313u}, std::pair {0x1053, 329u}, std::pair {0x2B3, 200u}})
            QCOMPARE(m.monitor.set_vcp(code, value), 0);
        QCOMPARE(m.monitor.set_rgb_levels(0, 0, 0, true), 0);
        QCOMPARE(m.monitor.set_vcp_2c8_or_2c3(2, true), 0);
        auto black = [&] { return m.fx.wall.light(m.fx.display).Y; };
        const double own = black();
        // 200 cd/m² at 400:1.
        const double target = 0.5;
        QVERIFY(own > 0.0 && own < target);

        // The maximum lifts black to about 10 cd/m²; the value scaled by it lands near the target.
        int value = 0, max = 0;
        QCOMPARE(m.monitor.get_vcp_with_max(kBlackLevel, value, max), 0);
        QCOMPARE(max, 100);
        uint wanted = static_cast<uint>(max);
        QCOMPARE(m.monitor.set_vcp(kBlackLevel, wanted), 0);
        const double at_max = black();
        QVERIFY2(std::abs(at_max - 10.0) < 1.0, qPrintable(QString::number(at_max)));
        wanted = static_cast<uint>(max * target / at_max + 0.5);
        QCOMPARE(m.monitor.set_vcp(kBlackLevel, wanted), 0);
        QVERIFY2(std::abs(black() - target) < 0.1, qPrintable(QString::number(black())));

        // Single steps while black is off by more than 0.04 cd/m².
        for (int step = 0; step < kMaxSteps && std::abs(black() - target) * 10.0 > 0.4; ++step) {
            wanted = black() > target ? wanted - 1 : wanted + 1;
            QCOMPARE(m.monitor.set_vcp(kBlackLevel, wanted), 0);
        }
        QVERIFY2(std::abs(black() - target) < kStepTolerance, qPrintable(QString::number(black())));

        // Off, the engine holds no black: the panel's own at the brightness's backlight.
        QCOMPARE(m.monitor.set_vcp_1147_and_wait(false), 0);
        QCOMPARE(m.monitor.set_vcp_2c8_or_2c3(2, false), 0);
        QCOMPARE(m.monitor.set_rgb_levels(0, 0, 0, false), 0);
        const sim_panel panel = m.fx.wall.panel(m.fx.display);
        // Only the floating products' rounding separates the two.
        QVERIFY(std::abs(black() - panel.black_luminance * 0.8) < 1e-12);
    }
};

QTEST_APPLESS_MAIN(tst_basic_monitor_engine_black)
#include "tst_basic_monitor_engine_black.moc"
