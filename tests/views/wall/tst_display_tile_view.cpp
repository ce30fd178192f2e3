#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "views/wall/display_tile_view.h"

#include <QtTest>

#include <functional>

namespace {

const QDateTime kWhen(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);

const QColor kGrey(128, 128, 128);
const QColor kPink(255, 192, 192);
const QColor kYellow(255, 255, 192);
const QColor kGreen(192, 255, 192);
const QColor kBlue(192, 192, 255);
const QColor kCyan(192, 255, 255);

display_layout_item verified_item()
{
    display_layout_item item;
    item.verify_status = display_layout_item::kVerified;
    item.model_name = QStringLiteral("P555");
    item.serial_number = QStringLiteral("S1");
    item.connection_address = QStringLiteral("127.0.0.5");
    item.monitor_id = 7;
    return item;
}

CAdjustValue calibrated(double white_luminance = 0.0)
{
    CAdjustValue record;
    record.SetCalibrationDateTime(kWhen);
    record.measurements.corrected.white = CCIEXYZ(white_luminance * 0.95, white_luminance, white_luminance * 1.09);
    return record;
}

CAdjustValue measured()
{
    CAdjustValue record;
    record.measurements.measurement_date_time = kWhen;
    return record;
}

CTargetValue target_of(int mode, double luminance)
{
    CTargetValue target;
    target.SetIntensityMode(mode);
    target.SetIntensity(luminance);
    return target;
}

// One row of the table: the item, the record (or none), the target, the
// reachable luminance, and what the tile must show.
struct tile_case
{
    const char *name;
    std::function<void(display_layout_item &, std::optional<CAdjustValue> &, CTargetValue &,
                       std::optional<double> &)>
        setup;
    QColor fill;
    int text_id;
    QStringList icons;
    QStringList tooltip_has;
    QStringList tooltip_lacks;
};

const QString kOffsetLine = QStringLiteral("Uses Calibration Target Offset");
const QString kTrimLine = QStringLiteral("Visual Trim is applied");
const QString kTooHigh = QStringLiteral("Target is too high.");
const QString kOffTarget = QStringLiteral("Actual Calibrated Intensity result is not close to Target.");

QList<tile_case> cases()
{
    return {
        {"no record", [](auto &, auto &, auto &, auto &) {}, kCyan, 309, {}, {QStringLiteral("Model: P555")},
         {kOffsetLine}},
        {"disabled with an offset record",
         [](auto &item, auto &record, auto &, auto &) {
             item.enabled = false;
             record = calibrated();
             record->SetTargetOffsetEnabled(true);
         },
         kGrey, 311, {}, {}, {kOffsetLine}},
        {"offset record, enabled",
         [](auto &, auto &record, auto &, auto &) {
             record = calibrated();
             record->SetTargetOffsetEnabled(true);
         },
         kGreen, 307, {QStringLiteral("offset_target_20")}, {kOffsetLine}, {}},
        {"conflict with status 1",
         [](auto &item, auto &record, auto &, auto &) {
             item.id_conflict = true;
             record = calibrated();
             record->SetCalibrationMode(CAdjustValue::kModeGains);
         },
         kPink, 305, {}, {}, {QStringLiteral("RGB Gains")}},
        {"duplicate", [](auto &item, auto &, auto &, auto &) { item.duplicate_display = true; }, kPink, 318, {}, {}, {}},
        {"not verified", [](auto &item, auto &, auto &, auto &) { item.verify_status = 0; }, kYellow, 306, {}, {}, {}},
        {"not powered on", [](auto &item, auto &, auto &, auto &) { item.verify_status = 5; }, kPink, 316, {}, {}, {}},
        {"unknown status 6", [](auto &item, auto &, auto &, auto &) { item.verify_status = 6; }, kCyan, 0, {}, {}, {}},
        {"negative status",
         [](auto &item, auto &record, auto &, auto &) {
             item.verify_status = -3;
             record = measured();
         },
         kBlue, 0, {}, {}, {}},
        {"trim word 32 without uniformity level",
         [](auto &, auto &record, auto &, auto &) {
             record = calibrated();
             record->visual_trim_flags = 32;
         },
         kGreen, 307, {}, {}, {kTrimLine}},
        {"trim word 32 with uniformity level",
         [](auto &, auto &record, auto &, auto &) {
             record = calibrated();
             record->visual_trim_flags = 32;
             record->SetCapabilityWordK(2);
         },
         kGreen, 313, {QStringLiteral("eye_adjust")}, {kTrimLine}, {}},
        {"calibrated intensity off target",
         [](auto &, auto &record, auto &target, auto &) {
             record = calibrated(120.0);
             target = target_of(CTargetValue::kIntensitySpecified, 100.0);
         },
         kGreen, 307, {QStringLiteral("alerts_yellow_icon_20")}, {kOffTarget}, {kTooHigh}},
        {"off target but within the offset's intensity",
         [](auto &, auto &record, auto &target, auto &) {
             record = calibrated(120.0);
             record->SetTargetOffsetEnabled(true);
             record->target_intensity_offset = 1.2;
             target = target_of(CTargetValue::kIntensitySpecified, 100.0);
         },
         kGreen, 307, {QStringLiteral("offset_target_20")}, {}, {kOffTarget}},
        {"maximum possible never off target",
         [](auto &, auto &record, auto &target, auto &) {
             record = calibrated(300.0);
             target = target_of(CTargetValue::kIntensityMaximumPossible, 100.0);
         },
         kGreen, 307, {}, {}, {kOffTarget}},
        {"maximum below target",
         [](auto &, auto &record, auto &target, auto &reach) {
             record = measured();
             target = target_of(CTargetValue::kIntensityMaximumMatching, 100.0);
             reach = 94.0;
         },
         kBlue, 308, {QStringLiteral("alerts_yellow_icon_20")}, {kTooHigh}, {}},
        {"maximum just reaches the target",
         [](auto &, auto &record, auto &target, auto &reach) {
             record = measured();
             target = target_of(CTargetValue::kIntensitySpecified, 100.0);
             reach = 95.0;
         },
         kBlue, 308, {}, {}, {kTooHigh}},
        {"engine calibrated without sensor, gains",
         [](auto &, auto &record, auto &, auto &) {
             record = calibrated();
             record->SetCapabilityWordA(1);
             record->SetCalibrationFlagA(true);
             record->SetCalibrationFlagB(1);
             record->SetCalibrationMode(CAdjustValue::kModeGains);
         },
         kGreen, 307, {QStringLiteral("kqe_no_sensor_cal"), QStringLiteral("rgb 16")},
         {QStringLiteral("without Color Sensor"), QStringLiteral("Calibrated using RGB Gains")}, {}},
        {"engine present, not calibrated, engine not chosen",
         [](auto &, auto &record, auto &, auto &) {
             record = measured();
             record->SetCapabilityWordA(1);
         },
         kBlue, 308, {QStringLiteral("kqe_disabled")}, {QStringLiteral("Quillon Engine disabled")}, {}},
        {"failed last job over a calibrated display",
         [](auto &item, auto &record, auto &, auto &) {
             item.job_status.last_result = -1027;
             record = calibrated();
         },
         kPink, 307, {}, {}, {}},
    };
}

} // namespace

class tst_display_tile_view : public QObject
{
    Q_OBJECT

private slots:
    void shows_the_display_state_data()
    {
        QTest::addColumn<int>("row");
        const QList<tile_case> table = cases();
        for (int i = 0; i < table.size(); ++i)
            QTest::newRow(table.at(i).name) << i;
    }
    void shows_the_display_state()
    {
        QFETCH(int, row);
        const tile_case c = cases().at(row);
        display_layout_item item = verified_item();
        std::optional<CAdjustValue> record;
        CTargetValue target = target_of(CTargetValue::kIntensityMaximumPossible, 0.0);
        std::optional<double> reach;
        c.setup(item, record, target, reach);

        tile_inputs inputs;
        inputs.record = record ? &*record : nullptr;
        inputs.target = &target;
        inputs.reachable_luminance = reach;
        const tile_view view = tile_view_of(item, inputs);
        QCOMPARE(view.fill, c.fill);
        QCOMPARE(view.status_text_id, c.text_id);
        QCOMPARE(view.icons, c.icons);
        for (const QString &text : c.tooltip_has)
            QVERIFY2(view.tooltip.contains(text), qPrintable(text));
        for (const QString &text : c.tooltip_lacks)
            QVERIFY2(!view.tooltip.contains(text), qPrintable(text));
    }

    void hover_fill_is_the_lighter_pair()
    {
        display_layout_item item = verified_item();
        item.enabled = false;
        QCOMPARE(tile_view_of(item, {}).hover_fill, QColor(135, 135, 135));
        item.enabled = true;
        QCOMPARE(tile_view_of(item, {}).hover_fill, QColor(205, 255, 255));
    }

    void the_tooltip_names_the_orientation_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("text");
        QTest::newRow("not set") << 0 << QStringLiteral("Orientation: Not Set");
        QTest::newRow("landscape") << 1 << QStringLiteral("orientation_landscape.png\">&nbsp;Landscape");
        QTest::newRow("portrait") << 2 << QStringLiteral("orientation_portrait.png\">&nbsp;Portrait");
        QTest::newRow("other") << 9 << QStringLiteral("Orientation: 9");
    }
    void the_tooltip_names_the_orientation()
    {
        QFETCH(int, orientation);
        QFETCH(QString, text);
        display_layout_item item = verified_item();
        item.orientation = orientation;
        const QString tip = tile_view_of(item, {}).tooltip;
        QVERIFY(tip.startsWith(QStringLiteral("<html>Port: 127.0.0.5<br>Monitor ID: 7<br>Model: P555<br>Serial Number: S1")));
        QVERIFY2(tip.contains(text), qPrintable(tip));
    }

    void the_job_ring_follows_the_job_status_data()
    {
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("sub_steps");
        QTest::addColumn<int>("sub_done");
        QTest::addColumn<int>("ring");
        QTest::addColumn<double>("degrees");
        const int none = int(tile_ring::none), dotted = int(tile_ring::dotted), arc = int(tile_ring::arc);
        QTest::newRow("idle") << 0 << 0 << 0 << 0 << 0 << none << 0.0;
        QTest::newRow("pending") << 2 << 0 << 0 << 0 << 0 << dotted << 0.0;
        QTest::newRow("tasks only") << 1 << 4 << 1 << 0 << 0 << arc << 90.0;
        QTest::newRow("with sub-steps") << 0 << 4 << 1 << 2 << 1 << arc << 135.0;
        QTest::newRow("more done than planned") << 0 << 2 << 5 << 0 << 0 << arc << 360.0;
    }
    void the_job_ring_follows_the_job_status()
    {
        QFETCH(int, pending);
        QFETCH(int, tasks);
        QFETCH(int, done);
        QFETCH(int, sub_steps);
        QFETCH(int, sub_done);
        QFETCH(int, ring);
        QFETCH(double, degrees);
        display_layout_item item = verified_item();
        item.job_status.pending = pending;
        item.job_status.task_total = tasks;
        item.job_status.task_step = done;
        item.job_status.sub_task_total = sub_steps;
        item.job_status.sub_task_step = sub_done;
        const tile_view view = tile_view_of(item, {});
        QCOMPARE(int(view.ring), ring);
        QCOMPARE(view.ring_degrees, degrees);
    }

    void tile_text_numbers_from_one()
    {
        QCOMPARE(tile_text(0, 309), QStringLiteral("# 1\nVerified"));
        QCOMPARE(tile_text(11, 0), QStringLiteral("# 12\n"));
    }
};

QTEST_GUILESS_MAIN(tst_display_tile_view)
#include "tst_display_tile_view.moc"
