#include "app/controller/calibration_record_reset.h"
#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

namespace {

const QDateTime kCalibrated(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC);

CAdjustValue fully_calibrated_record()
{
    CAdjustValue record;
    record.SetCalibrationDateTime(kCalibrated);
    record.SetCalibrationMode(CAdjustValue::kModeGains);
    record.gain = {{0.9, 0.8, 0.7}};
    record.backlight_setting = 90;
    record.measurements.native.white = CCIEXYZ(95, 100, 108);
    record.measurements.measurement_date_time = kCalibrated;
    record.measurements.uncorrected.white = CCIEXYZ(94, 99, 107);
    record.measurements.uncorrected.black = CCIEXYZ(0.2, 0.2, 0.3);
    record.measurements.corrected.white = CCIEXYZ(90, 95, 100);
    record.measurements.corrected.red = CCIEXYZ(40, 20, 2);
    record.measurements.uncorrected_greyscale = {CCIEXYZ(1, 1, 1), CCIEXYZ(94, 99, 107)};
    record.measurements.corrected_greyscale = {CCIEXYZ(1, 1, 1), CCIEXYZ(90, 95, 100)};
    record.calibration_duration = 420;
    record.video_input = 17;
    record.software_build = 5120;
    record.operating_hours_calibrated = 1234.5;
    record.calibrated = true;
    record.sensor_name = QStringLiteral("i1Display Pro");
    record.sensor_serial_number = QStringLiteral("S123");
    record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight
                               | CAdjustValue::kTrimUniformityLevel | CAdjustValue::kTrimCorners;
    record.visual_trim_multiplier = {{1.02, 0.98, 1.0}};
    return record;
}

bool zero(const CCIEXYZ &value) { return value.X == 0.0 && value.Y == 0.0 && value.Z == 0.0; }

} // namespace

Q_DECLARE_METATYPE(calibration_reset)

class tst_calibration_record_reset : public QObject
{
    Q_OBJECT

private slots:
    void every_variant_forgets_the_calibration_data()
    {
        QTest::addColumn<calibration_reset>("variant");
        QTest::addColumn<int>("trim_word");
        QTest::addColumn<bool>("gains_zeroed");
        const int all_bits = fully_calibrated_record().visual_trim_flags;
        QTest::newRow("initialize") << kInitializeReset
                                    << int(CAdjustValue::kTrimUniformityLevel | CAdjustValue::kTrimCorners) << false;
        QTest::newRow("all records") << kRecordReset << all_bits << false;
        QTest::newRow("selected record") << kSelectedRecordReset << all_bits << true;
    }
    void every_variant_forgets_the_calibration()
    {
        QFETCH(calibration_reset, variant);
        QFETCH(int, trim_word);
        QFETCH(bool, gains_zeroed);
        const CAdjustValue before = fully_calibrated_record();
        CAdjustValue record = before;
        reset_calibration_results(record, variant);

        QVERIFY(record.GetCalibrationDateTime().isNull());
        QVERIFY(!record.calibrated);
        QCOMPARE(record.operating_hours_calibrated, 0.0);
        QVERIFY(record.sensor_name.isEmpty());
        QVERIFY(record.sensor_serial_number.isEmpty());
        QCOMPARE(record.calibration_duration, quint16(0));
        QCOMPARE(record.video_input, qint16(0));
        QCOMPARE(record.software_build, qint32(0));
        for (const CColorValue::Patches *patches : {&record.measurements.uncorrected, &record.measurements.corrected})
            for (const CCIEXYZ *value : {&patches->red, &patches->green, &patches->blue, &patches->white,
                                         &patches->black})
                QVERIFY(zero(*value));
        QVERIFY(record.measurements.uncorrected_greyscale.isEmpty());
        QVERIFY(record.measurements.corrected_greyscale.isEmpty());

        QCOMPARE(int(record.visual_trim_flags), trim_word);
        const CAdjustValue::ChannelValues zero_gains{{0.0, 0.0, 0.0}};
        QCOMPARE(record.gain, gains_zeroed ? zero_gains : before.gain);

        // What the display was measured at before calibrating, and how it is
        // set up, stays.
        QCOMPARE(record.visual_trim_multiplier, before.visual_trim_multiplier);
        QCOMPARE(record.backlight_setting, before.backlight_setting);
        QCOMPARE(record.calibration_mode, before.calibration_mode);
        QCOMPARE(record.measurements.native.white.Y, before.measurements.native.white.Y);
        QCOMPARE(record.measurements.measurement_date_time, before.measurements.measurement_date_time);
    }

    void the_measurement_reset_keeps_the_calibration()
    {
        const CAdjustValue before = fully_calibrated_record();
        CAdjustValue record = before;
        record.measurements.native.red = CCIEXYZ(41, 21, 2);
        record.measurements.native.black = CCIEXYZ(0.3, 0.3, 0.4);
        reset_calibration_results(record, kMeasurementReset);

        const CColorValue::Patches &native = record.measurements.native;
        for (const CCIEXYZ *value : {&native.red, &native.green, &native.blue, &native.white, &native.black})
            QVERIFY(zero(*value));
        QVERIFY(record.measurements.measurement_date_time.isNull());

        QCOMPARE(record.GetCalibrationDateTime(), kCalibrated);
        QVERIFY(record.calibrated);
        QCOMPARE(record.operating_hours_calibrated, before.operating_hours_calibrated);
        QCOMPARE(record.sensor_name, before.sensor_name);
        QCOMPARE(record.measurements.corrected.white.Y, before.measurements.corrected.white.Y);
        QCOMPARE(record.measurements.uncorrected.black.Y, before.measurements.uncorrected.black.Y);
        QCOMPARE(record.measurements.corrected_greyscale.size(), before.measurements.corrected_greyscale.size());
        QCOMPARE(record.gain, before.gain);
        QCOMPARE(record.visual_trim_flags, before.visual_trim_flags);
    }

    void records_are_stored_back_and_missing_ones_passed_over()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        wall.store_record(0, fully_calibrated_record(), QStringLiteral("P555"), QStringLiteral("A"));
        wall.store_record(2, fully_calibrated_record(), QStringLiteral("P555"), QStringLiteral("C"));
        wall.records().SetModified(false);

        reset_calibration_records(wall.layout(), wall.records(), {2, 1, 7, -1}, kInitializeReset);

        QCOMPARE(wall.layout().get_calibrated_display_indexes(false, false), QList<int>{0});
        QVERIFY(wall.records().IsModified());
        QCOMPARE(wall.records().GetCount(), 2); // no record was made for display 1
        monitor_tracker_item reset(QStringLiteral("P555"), QStringLiteral("C"));
        QVERIFY(wall.records().GetAdjustValue(reset) >= 0);
        QCOMPARE(int(reset.visual_trim_flags), int(CAdjustValue::kTrimUniformityLevel | CAdjustValue::kTrimCorners));
    }
};

QTEST_GUILESS_MAIN(tst_calibration_record_reset)
#include "tst_calibration_record_reset.moc"
