#include "colour/CMonitorTracker.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "dock_wall_fixture.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/display_protocol/wall_fixture.h"
#include "views/docks/KQ_display_test_pattern_widget.h"
#include "views/docks/test_pattern_rules.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);
constexpr int kPatchOn = 2;

// A display of the wall, for the tables: "-" unverified, "v" verified, "x"
// verify failed (still counted), "d" disabled; then its record: none, "L"
// calibrated with lookup tables, "T" the same with a visual trim, "G"
// calibrated with gains, "m" only measured.

CAdjustValue record_for(const QString &kind)
{
    CAdjustValue record;
    record.measurements.measurement_date_time = kWhen;
    if (kind.contains(QLatin1Char('L')) || kind.contains(QLatin1Char('T')) || kind.contains(QLatin1Char('G')))
        record.SetCalibrationDateTime(kWhen);
    if (kind.contains(QLatin1Char('G')))
        record.SetCalibrationMode(CAdjustValue::kModeGains);
    if (kind.contains(QLatin1Char('T')))
        record.visual_trim_flags = CAdjustValue::kTrimGains;
    return record;
}

void build(headless_controller &wall, const QStringList &displays, const QString &model = QStringLiteral("P555"))
{
    for (int index = 0; index < displays.size(); ++index) {
        const QString &kind = displays.at(index);
        if (kind.startsWith(QLatin1Char('-')))
            continue;
        const QString serial = QStringLiteral("SN%1").arg(index);
        if (kind.size() > 1)
            wall.store_record(index, record_for(kind.mid(1)), model, serial);
        wall.layout().update_display_model_info_status_item(
            index, model, serial, kind.startsWith(QLatin1Char('x')) ? 2 : display_layout_item::kVerified);
        if (kind.startsWith(QLatin1Char('d'))) {
            display_layout_item item;
            wall.layout().get_item(index, item);
            item.enabled = false;
            wall.layout().set_item(index, item, false);
        }
    }
}

void build(dock_wall_fixture &f, const QStringList &displays)
{
    build(f.controller(), displays, QLatin1String(dock_wall_fixture::kModel));
}

QString enabled_buttons(const test_pattern_enabling &e)
{
    return QString::fromLatin1("%1%2%3%4")
        .arg(e.off ? 'O' : '.')
        .arg(e.full_white ? 'F' : '.')
        .arg(e.calibrated ? 'C' : '.')
        .arg(e.calibrated_with_trim ? 'T' : '.');
}

} // namespace

class tst_test_pattern_dock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }

    void enabling_data();
    void enabling();
    void calibrated_white_reaches_lookup_table_displays_only();
    void off_reaches_the_selected_display_only();
    void trimmed_white_reports_the_evaluation_pattern();
    void nothing_to_send_still_reports_the_pattern();
};

void tst_test_pattern_dock::enabling_data()
{
    QTest::addColumn<QStringList>("displays");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("selected");

    QTest::newRow("nothing verified") << QStringList{"-", "-L"} << 1 << "...." << "....";
    QTest::newRow("verified without records") << QStringList{"v", "-"} << 0 << "OF.." << "OF..";
    QTest::newRow("selected calibrated with gains") << QStringList{"vG", "vL"} << 0 << "OFC." << "OF..";
    QTest::newRow("selected trimmed") << QStringList{"vL", "vT"} << 1 << "OFCT" << "OFCT";
    QTest::newRow("a failed verification counts") << QStringList{"xL", "-"} << 0 << "OFC." << "OFC.";
    QTest::newRow("disabled displays do not count") << QStringList{"dT", "v"} << 0 << "OF.." << "....";
    QTest::newRow("only measured") << QStringList{"vm"} << 0 << "OF.." << "OF..";
    QTest::newRow("nothing selected") << QStringList{"vL"} << -1 << "OFC." << "....";
}

void tst_test_pattern_dock::enabling()
{
    QFETCH(QStringList, displays);
    QFETCH(int, current);
    headless_controller wall;
    wall.create_wall(displays.size(), 1);
    build(wall, displays);
    QTEST(enabled_buttons(test_pattern_enabling_for(wall.layout(), wall.records(), current, true)), "all");
    QTEST(enabled_buttons(test_pattern_enabling_for(wall.layout(), wall.records(), current, false)), "selected");
}

void tst_test_pattern_dock::calibrated_white_reaches_lookup_table_displays_only()
{
    dock_wall_fixture f(3);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    build(f, {"vL", "vG", "vL"});
    KQ_display_test_pattern_widget dock;
    dock.selection_changed(0);
    QSignalSpy changed(&dock, &KQ_display_test_pattern_widget::test_patterns_changed);
    progress_dialog_watch watch;
    dock.findChild<QPushButton *>(QStringLiteral("on_calibrated_pushButton"))->click();

    QCOMPARE(f.job_positions(), (QList<int>{0, 2}));
    for (const job_list_item &job : f.results()) {
        QCOMPARE(job.test_pattern_mode, int(kPatternCalibrated));
        QCOMPARE(job.job_parameters.error_code, 0);
    }
    QVERIFY2(watch.title().contains(QStringLiteral("Setting Test Patterns")), qPrintable(watch.title()));
    QCOMPARE(f.writes(0, control_code::kPatchGenerator), QList<int>{kPatchOn});
    QVERIFY(!f.reached(1));
    QCOMPARE(f.writes(2, control_code::kPatchGenerator), QList<int>{kPatchOn});
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toBool(), false);
}

void tst_test_pattern_dock::off_reaches_the_selected_display_only()
{
    dock_wall_fixture f(3);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    build(f, {"v", "v", "v"});
    KQ_display_test_pattern_widget dock;
    dock.findChild<QRadioButton *>(QStringLiteral("selected_radioButton"))->setChecked(true);
    dock.selection_changed(1);
    progress_dialog_watch watch;
    dock.findChild<QPushButton *>(QStringLiteral("off_pushButton"))->click();
    QCOMPARE(f.job_positions(), QList<int>{1});
    QVERIFY(!f.reached(0));
    QVERIFY(!f.reached(2));
    QCOMPARE(f.results().first().test_pattern_mode, int(kPatternOff));
    QCOMPARE(f.results().first().job_parameters.error_code, 0);

    f.clear_results();
    dock.findChild<QPushButton *>(QStringLiteral("on_full_pushButton"))->click();
    QCOMPARE(f.job_positions(), QList<int>{1});
    QCOMPARE(f.results().first().test_pattern_mode, int(kPatternFullWhite));
}

void tst_test_pattern_dock::trimmed_white_reports_the_evaluation_pattern()
{
    dock_wall_fixture f(1);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    build(f, {"vT"});
    KQ_display_test_pattern_widget dock;
    dock.selection_changed(0);
    QSignalSpy changed(&dock, &KQ_display_test_pattern_widget::test_patterns_changed);
    progress_dialog_watch watch;
    dock.findChild<QPushButton *>(QStringLiteral("on_calibrated_with_trim_pushButton"))->click();
    QCOMPARE(f.job_positions(), QList<int>{0});
    QCOMPARE(f.results().first().test_pattern_mode, int(kPatternCalibratedTrim));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toBool(), true);
}

void tst_test_pattern_dock::nothing_to_send_still_reports_the_pattern()
{
    dock_wall_fixture f(2);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    build(f, {"vG", "v"});
    KQ_display_test_pattern_widget dock;
    QSignalSpy changed(&dock, &KQ_display_test_pattern_widget::test_patterns_changed);
    dock.pattern_calibrated_with_trim();
    QVERIFY(f.results().isEmpty());
    QVERIFY(!f.reached(0) && !f.reached(1));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toBool(), true);
}

QTEST_MAIN(tst_test_pattern_dock)
#include "tst_test_pattern_dock.moc"
