#include "app/controller/layout_manager.h"
#include "app/controller/target_change_plan.h"
#include "colour/CColorTemperature.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

namespace {

const QDateTime kCalibrated(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC);

// The displays of the wall the plans are made for, by layout index.
enum wall_display {
    kTableDisplay,       // calibrated through its lookup table
    kGainDisplay,        // calibrated through its gains
    kEngineTableDisplay, // lookup table, internal engine (contrast built in)
    kUncalibrated,       // measured only
    kDisabledTable,      // lookup table, but switched off in the layout
    kWallSize
};

CAdjustValue calibrated_record(qint16 mode, bool engine)
{
    CAdjustValue record;
    record.SetCalibrationDateTime(kCalibrated);
    record.SetCalibrationMode(mode);
    record.SetCapabilityWordA(engine ? 1 : 0);
    return record;
}

void build_wall(headless_controller &wall)
{
    wall.create_wall(kWallSize, 1);
    wall.store_record(kTableDisplay, calibrated_record(CAdjustValue::kModeLookupTable, false));
    wall.store_record(kGainDisplay, calibrated_record(CAdjustValue::kModeGains, false));
    wall.store_record(kEngineTableDisplay, calibrated_record(CAdjustValue::kModeLookupTable, true));
    wall.store_record(kUncalibrated, CAdjustValue());
    wall.store_record(kDisabledTable, calibrated_record(CAdjustValue::kModeLookupTable, false));
    display_layout_item item;
    wall.layout().get_item(kDisabledTable, item);
    item.enabled = false;
    wall.layout().set_item(kDisabledTable, item, false);
}

CTargetValue power_target(double gamma, quint32 contrast)
{
    CTargetValue target;
    target.SetGammaType(CTargetValue::kGammaPower);
    target.SetGamma(gamma);
    target.SetContrastRatio(contrast);
    return target;
}

CTargetValue native_target(quint32 contrast)
{
    CTargetValue target;
    target.SetGammaType(CTargetValue::kGammaNative);
    target.SetContrastRatio(contrast);
    return target;
}

CTargetValue with_white(CTargetValue target, quint16 kelvin)
{
    target.SetWhitePoint(CColorTemperature(kelvin));
    return target;
}

} // namespace

class tst_target_change_plan : public QObject
{
    Q_OBJECT

private slots:
    void sorts_calibrated_displays_data();
    void sorts_calibrated_displays();
    void max_matching_decision_data();
    void max_matching_decision();
};

void tst_target_change_plan::sorts_calibrated_displays_data()
{
    QTest::addColumn<CTargetValue>("old_target");
    QTest::addColumn<CTargetValue>("new_target");
    QTest::addColumn<QList<int>>("restore");
    QTest::addColumn<QList<int>>("recalibrate");

    const QList<int> gains{kGainDisplay};
    QTest::newRow("curve only, contrast kept")
        << power_target(2.2, 1000) << power_target(2.4, 1000) << QList<int>{kTableDisplay, kEngineTableDisplay}
        << gains;
    QTest::newRow("curve and contrast: the engine display recalibrates")
        << power_target(2.2, 1000) << power_target(2.4, 2000) << QList<int>{kTableDisplay}
        << QList<int>{kGainDisplay, kEngineTableDisplay};
    QTest::newRow("native curve, contrast changed: the engine display is restored")
        << native_target(1000) << native_target(2000) << QList<int>{kTableDisplay, kEngineTableDisplay} << gains;
    QTest::newRow("white point changed")
        << power_target(2.2, 1000) << with_white(power_target(2.2, 1000), 5000) << QList<int>()
        << QList<int>{kGainDisplay, kTableDisplay, kEngineTableDisplay};
    QTest::newRow("to native curve")
        << power_target(2.2, 1000) << native_target(1000) << QList<int>()
        << QList<int>{kGainDisplay, kTableDisplay, kEngineTableDisplay};
}

void tst_target_change_plan::sorts_calibrated_displays()
{
    QFETCH(CTargetValue, old_target);
    QFETCH(CTargetValue, new_target);
    QFETCH(QList<int>, restore);
    QFETCH(QList<int>, recalibrate);
    headless_controller wall;
    build_wall(wall);
    // The engine query counts verified displays only.
    display_layout_item engine;
    wall.layout().get_item(kEngineTableDisplay, engine);
    QCOMPARE(engine.verify_status, qint32(display_layout_item::kVerified));

    const target_change_plan plan = plan_target_change(old_target, new_target, wall.layout());
    QCOMPARE(plan.restore, restore);
    QCOMPARE(plan.recalibrate, recalibrate);
}

void tst_target_change_plan::max_matching_decision_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("computed");
    QTest::addColumn<bool>("ask_if_changed");
    QTest::addColumn<bool>("any_calibrated");
    QTest::addColumn<int>("decision");

    const int keep = int(max_matching_update::keep);
    const int store = int(max_matching_update::store);
    const int ask = int(max_matching_update::ask);
    QTest::newRow("first computation") << -1.0 << 310.0 << true << true << store;
    QTest::newRow("first computation failed") << -1.0 << -1.0 << true << true << keep;
    QTest::newRow("unchanged") << 310.0 << 310.0 << true << true << keep;
    QTest::newRow("changed, calibrated displays") << 310.0 << 290.0 << true << true << ask;
    QTest::newRow("changed, nothing calibrated") << 310.0 << 290.0 << true << false << store;
    QTest::newRow("failed later: the old value stays") << 310.0 << -1.0 << true << true << keep;
    QTest::newRow("without asking, a failure is stored") << 310.0 << -1.0 << false << true << store;
    QTest::newRow("without asking, a change is stored") << 310.0 << 290.0 << false << true << store;
}

void tst_target_change_plan::max_matching_decision()
{
    QFETCH(double, stored);
    QFETCH(double, computed);
    QFETCH(bool, ask_if_changed);
    QFETCH(bool, any_calibrated);
    QFETCH(int, decision);
    QCOMPARE(int(decide_max_matching_update(stored, computed, ask_if_changed, any_calibrated)), decision);
}

QTEST_GUILESS_MAIN(tst_target_change_plan)
#include "tst_target_change_plan.moc"
