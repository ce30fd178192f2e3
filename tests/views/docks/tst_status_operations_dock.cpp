#include "colour/CMonitorTracker.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "dock_wall_fixture.h"
#include "jobs/job_task_type.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/support/modal_box_answerer.h"
#include "views/docks/KQ_status_operations_widget.h"
#include "views/docks/status_operations_rules.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);

CAdjustValue calibrated_and_measured()
{
    CAdjustValue record;
    record.measurements.measurement_date_time = kWhen;
    record.measurements.native.white = CCIEXYZ(95.0, 100.0, 108.0);
    record.measurements.native.red = CCIEXYZ(41.0, 21.0, 2.0);
    record.measurements.corrected.white = CCIEXYZ(90.0, 95.0, 99.0);
    record.SetCalibrationDateTime(kWhen);
    record.SetCalibrated(true);
    record.gain = {{0.9, 0.8, 0.95}};
    record.visual_trim_flags = CAdjustValue::kTrimGains;
    return record;
}

CAdjustValue stored(headless_controller &wall, int index)
{
    display_layout_item item;
    wall.layout().get_item(index, item);
    CAdjustValue record;
    look_up_display_record(wall.records(), item, record);
    return record;
}

// The wall for the reset tests: display 0 enabled and verified, 1 not
// enabled, 2 not verified, 3 in an ID conflict with 0; each with a record.
void build_reset_wall(headless_controller &wall)
{
    wall.create_wall(4, 1);
    for (int index = 0; index < 4; ++index)
        wall.store_record(index, calibrated_and_measured());
    display_layout_item item;
    wall.layout().get_item(1, item);
    item.enabled = false;
    wall.layout().set_item(1, item, false);
    wall.layout().update_display_model_info_status_item(2, QStringLiteral("P555"), QStringLiteral("SN2"), 0);
    display_layout_item conflicting;
    wall.layout().get_item(0, item);
    wall.layout().get_item(3, conflicting);
    conflicting.monitor_id = item.monitor_id;
    conflicting.connection_address = item.connection_address;
    wall.layout().set_item(3, conflicting, false);
}

QString enabled_buttons(const status_operations_enabling &e)
{
    return QString::fromLatin1("%1%2%3")
        .arg(e.restore_calibration ? 'R' : '.')
        .arg(e.reset_calibration ? 'C' : '.')
        .arg(e.reset_measurements ? 'M' : '.');
}

} // namespace

class tst_status_operations_dock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }

    void enabling_data();
    void enabling();
    void reset_calibration_data();
    void reset_calibration();
    void reset_measurements_data();
    void reset_measurements();
    void no_changes_nothing();
    void the_answer_covers_the_display_it_was_asked_for_data();
    void the_answer_covers_the_display_it_was_asked_for();
    void restore_reaches_calibrated_displays_only();
};

void tst_status_operations_dock::enabling_data()
{
    QTest::addColumn<bool>("calibrated");
    QTest::addColumn<bool>("measured");
    QTest::addColumn<int>("record_at");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("selected");
    QTest::newRow("no record") << false << false << -1 << 0 << "..." << "...";
    QTest::newRow("selected calibrated and measured") << true << true << 0 << 0 << "RCM" << "RCM";
    QTest::newRow("the other one measured") << false << true << 1 << 0 << "..M" << "...";
    QTest::newRow("the other one calibrated") << true << false << 1 << 0 << "RC." << "...";
    QTest::newRow("a disabled display does not count") << true << true << 2 << 2 << "..." << "...";
    QTest::newRow("an unverified display does not count") << true << true << 3 << 3 << "..." << "...";
}

void tst_status_operations_dock::enabling()
{
    QFETCH(bool, calibrated);
    QFETCH(bool, measured);
    QFETCH(int, record_at);
    QFETCH(int, current);
    headless_controller wall;
    wall.create_wall(4, 1);
    if (record_at >= 0) {
        CAdjustValue record;
        if (calibrated)
            record.SetCalibrationDateTime(kWhen);
        if (measured)
            record.measurements.measurement_date_time = kWhen;
        wall.store_record(record_at, record);
    }
    display_layout_item item;
    wall.layout().get_item(2, item);
    item.enabled = false;
    wall.layout().set_item(2, item, false);
    wall.layout().update_display_model_info_status_item(3, QStringLiteral("P555"), QStringLiteral("SN3"), 0);
    QTEST(enabled_buttons(status_operations_enabling_for(wall.layout(), wall.records(), current, true)), "all");
    QTEST(enabled_buttons(status_operations_enabling_for(wall.layout(), wall.records(), current, false)),
          "selected");
}

void tst_status_operations_dock::reset_calibration_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QList<int>>("reset");
    QTest::addColumn<bool>("gains_zeroed");
    QTest::newRow("all displays, whatever their state")
        << true << "This will reset the calibration settings for all displays. Continue?" << QList<int>{0, 1, 2, 3}
        << false;
    QTest::newRow("the selected display")
        << false << "This will reset the calibration settings for the currently selected display. Continue?"
        << QList<int>{1} << true;
}

void tst_status_operations_dock::reset_calibration()
{
    QFETCH(bool, all);
    QFETCH(QList<int>, reset);
    QFETCH(bool, gains_zeroed);
    headless_controller wall;
    build_reset_wall(wall);
    KQ_status_operations_widget dock;
    dock.findChild<QRadioButton *>(all ? QStringLiteral("all_radioButton") : QStringLiteral("selected_radioButton"))
        ->setChecked(true);
    dock.selection_changed(1);
    modal_box_answerer boxes({QMessageBox::Yes});
    dock.reset_Calibration();
    QCOMPARE(boxes.seen().size(), 1);
    QTEST(boxes.seen().first().text, "question");
    QCOMPARE(boxes.seen().first().default_button, QMessageBox::Yes);
    for (int index = 0; index < 4; ++index) {
        const CAdjustValue record = stored(wall, index);
        const bool cleared = reset.contains(index);
        QCOMPARE(record.GetCalibrationDateTime().isNull(), cleared);
        QCOMPARE(record.calibrated, !cleared);
        QCOMPARE(record.gain[0], cleared && gains_zeroed ? 0.0 : 0.9);
        // Measurements and the visual trim stay.
        QCOMPARE(record.measurements.measurement_date_time, kWhen);
        QCOMPARE(record.visual_trim_flags, qint16(CAdjustValue::kTrimGains));
    }
}

void tst_status_operations_dock::reset_measurements_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QList<int>>("reset");
    QTest::newRow("all displays") << true << "This will reset the measurements for all displays. Continue?"
                                  << QList<int>{0, 1, 2, 3};
    QTest::newRow("the selected display")
        << false << "This will reset the measurements for the currently selected display. Continue?"
        << QList<int>{2};
}

void tst_status_operations_dock::reset_measurements()
{
    QFETCH(bool, all);
    QFETCH(QList<int>, reset);
    headless_controller wall;
    build_reset_wall(wall);
    KQ_status_operations_widget dock;
    dock.findChild<QRadioButton *>(all ? QStringLiteral("all_radioButton") : QStringLiteral("selected_radioButton"))
        ->setChecked(true);
    dock.selection_changed(2);
    modal_box_answerer boxes({QMessageBox::Yes});
    dock.reset_Measurements();
    QCOMPARE(boxes.seen().size(), 1);
    QTEST(boxes.seen().first().text, "question");
    for (int index = 0; index < 4; ++index) {
        const CAdjustValue record = stored(wall, index);
        const bool cleared = reset.contains(index);
        QCOMPARE(record.measurements.measurement_date_time.isNull(), cleared);
        QCOMPARE(record.measurements.native.white.Y, cleared ? 0.0 : 100.0);
        QCOMPARE(record.measurements.native.red.X, cleared ? 0.0 : 41.0);
        // The calibration stays.
        QCOMPARE(record.GetCalibrationDateTime(), kWhen);
        QCOMPARE(record.measurements.corrected.white.Y, 95.0);
    }
}

void tst_status_operations_dock::no_changes_nothing()
{
    headless_controller wall;
    build_reset_wall(wall);
    KQ_status_operations_widget dock;
    dock.selection_changed(0);
    modal_box_answerer boxes({QMessageBox::No, QMessageBox::No});
    dock.reset_Calibration();
    dock.reset_Measurements();
    QCOMPARE(boxes.seen().size(), 2);
    for (int index = 0; index < 4; ++index) {
        const CAdjustValue record = stored(wall, index);
        QCOMPARE(record.GetCalibrationDateTime(), kWhen);
        QCOMPARE(record.measurements.measurement_date_time, kWhen);
        QCOMPARE(record.gain[0], 0.9);
    }
}

void tst_status_operations_dock::the_answer_covers_the_display_it_was_asked_for_data()
{
    QTest::addColumn<bool>("measurements");
    QTest::newRow("calibration") << false;
    QTest::newRow("measurements") << true;
}

// The selection moving on while the question is open does not move the
// reset to a display the operator was not asked about.
void tst_status_operations_dock::the_answer_covers_the_display_it_was_asked_for()
{
    QFETCH(bool, measurements);
    headless_controller wall;
    build_reset_wall(wall);
    KQ_status_operations_widget dock;
    dock.findChild<QRadioButton *>(QStringLiteral("selected_radioButton"))->setChecked(true);
    dock.selection_changed(0);
    modal_box_answerer boxes({QMessageBox::Yes});
    boxes.set_before_answer([&dock](int) { dock.selection_changed(2); });
    if (measurements)
        dock.reset_Measurements();
    else
        dock.reset_Calibration();
    QCOMPARE(boxes.seen().size(), 1);
    const auto cleared = [measurements](const CAdjustValue &record) {
        return measurements ? record.measurements.measurement_date_time.isNull()
                            : record.GetCalibrationDateTime().isNull();
    };
    QVERIFY(cleared(stored(wall, 0)));
    QVERIFY(!cleared(stored(wall, 2)));
}

void tst_status_operations_dock::restore_reaches_calibrated_displays_only()
{
    dock_wall_fixture f(3);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    CAdjustValue record = calibrated_and_measured();
    // Held in the gains: the restore writes them and no table.
    record.SetCalibrationMode(CAdjustValue::kModeGains);
    f.store(0, record);
    f.store(2, record);
    record.SetCalibrationDateTime(QDateTime());
    f.store(1, record);
    display_layout_item item;
    f.layout().get_item(2, item);
    item.orientation = display_layout_item::kPortrait;
    f.layout().set_item(2, item, false);

    KQ_status_operations_widget dock;
    dock.selection_changed(0);
    progress_dialog_watch watch;
    dock.findChild<QPushButton *>(QStringLiteral("restore_Calibration_Settings_pushButton"))->click();
    QCOMPARE(f.job_positions(), (QList<int>{0, 2}));
    for (const job_list_item &job : f.results()) {
        QCOMPARE(job.task_list, QList<qint32>{JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
        QCOMPARE(job.osd_orientation, job.position == 2 ? 1 : 0);
        QCOMPARE(job.job_parameters.error_code, 0);
    }
    QVERIFY2(watch.title().contains(QStringLiteral("Restoring calibration settings")), qPrintable(watch.title()));
    QVERIFY(!f.reached(1));
    QVERIFY(!f.writes(0, control_code::kVideoGainRed).isEmpty());
    QVERIFY(!f.writes(2, control_code::kVideoGainRed).isEmpty());

    // The selected display only.
    f.clear_results();
    dock.findChild<QRadioButton *>(QStringLiteral("selected_radioButton"))->setChecked(true);
    dock.selection_changed(2);
    dock.restore_Calibration_Settings();
    QCOMPARE(f.job_positions(), QList<int>{2});
    dock.selection_changed(1);
    QVERIFY(!dock.findChild<QPushButton *>(QStringLiteral("restore_Calibration_Settings_pushButton"))->isEnabled());
}

QTEST_MAIN(tst_status_operations_dock)
#include "tst_status_operations_dock.moc"
