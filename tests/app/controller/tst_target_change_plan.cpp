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

CAdjustValue fully_calibrated_record()
{
    CAdjustValue record = calibrated_record(CAdjustValue::kModeGains, false);
    record.gain = {{0.9, 0.8, 0.7}};
    record.backlight_setting = 90;
    record.measurements.native.white = CCIEXYZ(95, 100, 108);
    record.measurements.measurement_date_time = kCalibrated;
    record.measurements.uncorrected.white = CCIEXYZ(94, 99, 107);
    record.measurements.corrected.white = CCIEXYZ(90, 95, 100);
    record.measurements.corrected.red = CCIEXYZ(40, 20, 2);
    record.measurements.corrected_greyscale = {CCIEXYZ(1, 1, 1), CCIEXYZ(90, 95, 100)};
    record.calibration_duration = 420;
    record.operating_hours_calibrated = 1234.5;
    record.calibrated = true;
    record.sensor_name = QStringLiteral("i1Display Pro");
    record.sensor_serial_number = QStringLiteral("S123");
    return record;
}

} // namespace

class tst_target_change_plan : public QObject
{
    Q_OBJECT

private slots:
    void sorts_calibrated_displays_data();
    void sorts_calibrated_displays();
    void clearing_forgets_only_the_last_calibration();
    void reset_skips_displays_without_item_or_record();
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

void tst_target_change_plan::clearing_forgets_only_the_last_calibration()
{
    const CAdjustValue before = fully_calibrated_record();
    CAdjustValue record = before;
    clear_calibration_results(record);

    QVERIFY(record.GetCalibrationDateTime().isNull());
    QCOMPARE(record.measurements.corrected.white.Y, 0.0);
    QCOMPARE(record.measurements.corrected.red.X, 0.0);
    QVERIFY(record.measurements.corrected_greyscale.isEmpty());
    QCOMPARE(record.calibration_duration, quint16(0));
    QCOMPARE(record.operating_hours_calibrated, 0.0);
    QVERIFY(!record.calibrated);
    QVERIFY(record.sensor_name.isEmpty());
    QVERIFY(record.sensor_serial_number.isEmpty());

    // What the display was set to and measured before correcting stays.
    QCOMPARE(record.gain, before.gain);
    QCOMPARE(record.backlight_setting, before.backlight_setting);
    QCOMPARE(record.calibration_mode, before.calibration_mode);
    QCOMPARE(record.measurements.native.white.Y, before.measurements.native.white.Y);
    QCOMPARE(record.measurements.uncorrected.white.Y, before.measurements.uncorrected.white.Y);
    QCOMPARE(record.measurements.measurement_date_time, before.measurements.measurement_date_time);
}

void tst_target_change_plan::reset_skips_displays_without_item_or_record()
{
    headless_controller wall;
    wall.create_wall(3, 1);
    wall.store_record(0, fully_calibrated_record());
    wall.store_record(2, fully_calibrated_record());
    wall.records().SetModified(false);

    reset_calibration_records(wall.layout(), wall.records(), {2, 1, 7, -1});

    QCOMPARE(wall.layout().get_calibrated_display_indexes(false, false), QList<int>{0});
    QVERIFY(wall.records().IsModified());
    QCOMPARE(wall.records().GetCount(), 2); // no record was made for display 1
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
