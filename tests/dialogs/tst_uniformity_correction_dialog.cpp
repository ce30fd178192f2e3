// The uniformity correction update dialog: its estimate, the preference
// packing, the measurement job's grid in both orientations, the status text
// from the history, and on a simulated display the automatic history read,
// the level write and Close putting the test pattern back.
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "dialogs/KQ_update_uniformity_correction_dialog.h"
#include "dialogs/engine_procedure_jobs.h"
#include "dialogs/kq_uniformity_correction_measurment_point_widget.h"
#include "dialogs/uniformity_update_rules.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/adjustment_wall.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

Q_DECLARE_METATYPE(calibration_history_item)

namespace {

using namespace control_code;

calibration_history_item history_item(quint8 type, const QString &sensor = QString(), quint8 h = 0, quint8 v = 0)
{
    calibration_history_item item;
    item.type = type;
    item.date_time = QDateTime(QDate(2026, 3, 4), QTime(5, 6));
    item.sensor_model = sensor;
    item.sensor_serial = QStringLiteral("S1");
    item.further_bytes = {{h, v, 12}};
    return item;
}

CAdjustValue engine_record(const QList<calibration_history_item> &history)
{
    CAdjustValue record;
    record.engine_capability_word = 1;
    record.capability_flags = 1;
    record.SetCalibrationHistory(history);
    return record;
}

template <typename Widget>
Widget *child(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

int history_reads(const QList<QByteArray> &frames)
{
    int reads = 0;
    for (const QByteArray &frame : frames)
        reads += frame.startsWith("AC25A01") ? 1 : 0;
    return reads;
}

} // namespace

class tst_uniformity_correction_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
    }

    void estimate_data()
    {
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 x 10") << 10 << 10
                                 << "Total of 101 measurement points. Estimated time to complete is 20.7 minutes.";
        QTest::newRow("3 x 3") << 3 << 3 << "Total of 10 measurement points. Estimated time to complete is 2.5 minutes.";
        QTest::newRow("4 x 3") << 4 << 3 << "Total of 13 measurement points. Estimated time to complete is 3.1 minutes.";
    }
    void estimate()
    {
        QFETCH(int, h);
        QFETCH(int, v);
        QFETCH(QString, text);
        QCOMPARE(uniformity_estimate_text(h, v), text);
    }

    void preference_packing_data()
    {
        QTest::addColumn<int>("packed");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("v");
        QTest::newRow("5 by 10") << (10 << 8 | 5) << 5 << 10;
        QTest::newRow("out of range") << (11 << 8 | 2) << 3 << 3;
        QTest::newRow("unset") << 0 << 3 << 3;
    }
    void preference_packing()
    {
        QFETCH(int, packed);
        QFETCH(int, h);
        QFETCH(int, v);
        const uniformity_point_counts counts = uniformity_point_counts::from_preferences(packed);
        QCOMPARE(counts.horizontal, h);
        QCOMPARE(counts.vertical, v);
        QCOMPARE(counts.packed(), v << 8 | h);
    }

    void measurement_job_data()
    {
        QTest::addColumn<bool>("clock");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<QList<qint32>>("tasks");
        QTest::addColumn<int>("grid");
        const QList<qint32> tasks = {JOB_TASK_VCP_LIST, JOB_TASK_MEASURE, JOB_TASK_READ_CALIBRATION_HISTORY};
        QTest::newRow("landscape") << false << false << tasks << (7 << 8 | 4);
        QTest::newRow("portrait turns the grid") << false << true << tasks << (4 << 8 | 7);
        QTest::newRow("the clock first") << true << false << (QList<qint32>{JOB_TASK_SET_CLOCK} + tasks)
                                         << (7 << 8 | 4);
    }
    void measurement_job()
    {
        QFETCH(bool, clock);
        QFETCH(bool, portrait);
        QFETCH(QList<qint32>, tasks);
        QFETCH(int, grid);
        const job_list_item job = uniformity_measurement_job(clock, 7, 4, portrait);
        QCOMPARE(job.task_list, tasks);
        QCOMPARE(job.vcp_list.size(), 1);
        QCOMPARE(job.vcp_list.first().code, kUniformityPoints);
        QCOMPARE(job.vcp_list.first().value, grid);
        QCOMPARE(job.vcp_list.first().read_first, 0);
        QCOMPARE(int(job.clock.set), clock ? 1 : 0);
        QCOMPARE(factory_reset_job().task_list,
                 (QList<qint32>{JOB_TASK_RESET_SETTINGS, JOB_TASK_READ_CALIBRATION_HISTORY}));
    }

    void status_text_data()
    {
        using H = QList<calibration_history_item>;
        QTest::addColumn<H>("history");
        QTest::addColumn<bool>("engine_on");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<QStringList>("contains");
        QTest::addColumn<bool>("undetermined");
        const QString user = QStringLiteral("user uniformity update");
        QTest::newRow("user update, landscape")
            << H{history_item(5, QStringLiteral("i1d3"), 7, 4)} << true << 2 << false
            << QStringList{user, "7 horizontally by 4 vertically", "i1d3"} << false;
        QTest::newRow("user update, portrait swaps the counts")
            << H{history_item(4, QStringLiteral("i1d3"), 7, 4)} << true << 2 << true
            << QStringList{"4 horizontally by 7 vertically"} << false;
        QTest::newRow("sensor texts are text")
            << H{history_item(4, QStringLiteral("<b>probe</b>"), 3, 3)} << true << 2 << false
            << QStringList{"&lt;b&gt;probe&lt;/b&gt;"} << false;
        QTest::newRow("factory past a colour calibration") << H{history_item(3), history_item(2)} << true << 2
                                                          << false << QStringList{"original factory uniformity"} << false;
        QTest::newRow("another event") << H{history_item(99), history_item(255)} << true << 2 << false
                                       << QStringList{"original factory uniformity"} << false;
        QTest::newRow("nothing to tell") << H{history_item(3)} << true << 2 << false
                                         << QStringList{"Unable to determine"} << true;
        QTest::newRow("level off") << H{history_item(2)} << true << 0 << false
                                   << QStringList{"<b>Uniformity Correction Level is currently Off.</b>"} << false;
        QTest::newRow("engine off") << H{history_item(2)} << false << 2 << false
                                    << QStringList{"alerts_red_icon_20.png", "Quillon Engine is currently Off."}
                                    << false;
    }
    void status_text()
    {
        QFETCH(QList<calibration_history_item>, history);
        QFETCH(bool, engine_on);
        QFETCH(int, level);
        QFETCH(bool, portrait);
        QFETCH(QStringList, contains);
        QFETCH(bool, undetermined);
        display_layout_item item;
        item.verify_status = display_layout_item::kVerified;
        const CAdjustValue record = engine_record(history);
        const uniformity_status status = uniformity_status_for(item, &record, engine_on, level, portrait);
        QVERIFY(status.ok);
        QCOMPARE(status.undetermined, undetermined);
        for (const QString &part : contains)
            QVERIFY2(status.text.contains(part), qPrintable(status.text));
        QVERIFY(!status.text.contains("<b>probe"));
    }

    void status_of_unusable_displays()
    {
        display_layout_item item;
        item.enabled = false;
        QCOMPARE(uniformity_status_for(item, nullptr, true, 1, false).text, QStringLiteral("Disabled"));
        item.enabled = true;
        QCOMPARE(uniformity_status_for(item, nullptr, true, 1, false).text, QStringLiteral("Not verified"));
        item.verify_status = display_layout_item::kVerified;
        QVERIFY(!uniformity_status_for(item, nullptr, true, 1, false).ok);
        CAdjustValue record = engine_record({history_item(2)});
        record.capability_flags = 0;
        QCOMPARE(uniformity_status_for(item, &record, true, 1, false).text, QStringLiteral("Not supported"));
        CAdjustValue corners = engine_record({history_item(2)});
        corners.SetChannelEntry(1, CornerUniformityEntry{40, 32, 64, 64, 0});
        QVERIFY(uniformity_status_for(item, &corners, true, 1, false).text.contains("Corner Uniformity correction"));
    }

    void point_picture()
    {
        kq_uniformity_correction_measurment_point_widget picture;
        QCOMPARE(picture.minimumSizeHint(), QSize(178, 100));
        QCOMPARE(picture.heightForWidth(160), 90);
        picture.setOrientation(true);
        QCOMPARE(picture.minimumSizeHint(), QSize(56, 100));
        QCOMPARE(picture.heightForWidth(170), 100);
        const measurement_point_layout layout = measurement_point_layout_for(QSizeF(210, 120), 4, 3, false);
        QCOMPARE(layout.centres.size(), 13);
        QCOMPARE(layout.centres.last(), layout.screen.center());
        QVERIFY(layout.screen.width() <= 200 && layout.screen.height() <= 110);
        QCOMPARE(layout.marker, layout.screen.width() / 11);
        for (const QPointF &centre : layout.centres)
            QVERIFY(layout.screen.contains(centre));
    }

    void an_undetermined_status_reads_the_history_once()
    {
        adjustment_wall wall(1, "VW-5540QE");
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.store(0, engine_record({history_item(3)}));
        wall.on_display(0, [](sim_display &d) {
            d.controls.set(kEngineSwitch, 2, 2);
            d.controls.set(kUniformityLevel, 2, 5);
            d.history.clear(); // the display tells nothing either
        });
        modal_watchdog watchdog(30000);
        KQ_update_uniformity_correction_dialog dialog;
        QCOMPARE(dialog.set_display(0), 0);
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(history_reads(wall.frames(0)), 1);
        QVERIFY(child<QLabel>(dialog, "status_label")->text().contains("Unable to determine"));
        QCOMPARE(child<QSlider>(dialog, "uniformity_correction_level_horizontalSlider")->value(), 2);
        QCOMPARE(child<QLabel>(dialog, "uniformity_correction_level_label")->text(), QStringLiteral("2"));
        QVERIFY(wall.link_released());
    }

    void close_writes_the_level_and_puts_the_pattern_back_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Close") << false;
        QTest::newRow("Esc goes through Close") << true;
    }
    void close_writes_the_level_and_puts_the_pattern_back()
    {
        QFETCH(bool, escape);
        adjustment_wall wall(1, "VW-5540QE");
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.store(0, engine_record({history_item(2)}));
        wall.on_display(0, [](sim_display &d) {
            d.controls.set(kEngineSwitch, 2, 2);
            d.controls.set(kUniformityLevel, 1, 5);
            d.controls.set(kEnginePatchGenerator, 2, 2);
            d.controls.set(kEngineLevelRed, 500, 1023);
            d.controls.set(kEngineLevelGreen, 400, 1023);
            d.controls.set(kEngineLevelBlue, 300, 1023);
        });
        g_master->getPreferences()->SetUniformityPointCounts(4 << 8 | 6);
        KQ_update_uniformity_correction_dialog dialog;
        QCOMPARE(dialog.set_display(0), 0);
        QCOMPARE(child<QSpinBox>(dialog, "h_spinBox")->value(), 6);
        QCOMPARE(child<QSpinBox>(dialog, "v_spinBox")->minimum(), 3);
        auto *pattern = child<QCheckBox>(dialog, "show_calibrated_white_test_pattern_checkBox");
        QVERIFY(pattern->isChecked());
        pattern->setChecked(false);
        QCOMPARE(wall.control(0, kEnginePatchGenerator), 1);
        child<QSpinBox>(dialog, "h_spinBox")->setValue(8);

        child<QSlider>(dialog, "uniformity_correction_level_horizontalSlider")->setValue(3);
        QVERIFY(dialog.write_pending());
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            child<QPushButton>(dialog, "done_pushButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected)); // not yet: the level first
        QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), 30000);
        QCOMPARE(wall.writes(0, kUniformityLevel), QList<int>{3});
        QCOMPARE(wall.control(0, kEnginePatchGenerator), 2);
        QCOMPARE(wall.control(0, kEngineLevelRed), 500);
        QCOMPARE(wall.control(0, kEngineLevelBlue), 300);
        QCOMPARE(g_master->getPreferences()->GetUniformityPointCounts(), 4 << 8 | 8);
        QVERIFY(wall.link_released());
    }

    void reset_runs_the_reset_and_reads_the_history()
    {
        adjustment_wall wall(1, "VW-5540QE");
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.store(0, engine_record({history_item(4, QStringLiteral("i1d3"), 5, 5)}));
        wall.on_display(0, [](sim_display &d) {
            d.controls.set(kEngineSwitch, 2, 2);
            d.controls.set(kUniformityLevel, 1, 5);
            d.history.clear();
        });
        g_master->getPreferences()->SuppressMessage(5);
        modal_watchdog watchdog(30000);
        KQ_update_uniformity_correction_dialog dialog;
        QCOMPARE(dialog.set_display(0), 0);
        QVERIFY(child<QLabel>(dialog, "status_label")->text().contains("user uniformity update"));
        child<QPushButton>(dialog, "reset_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QVERIFY(child<QLabel>(dialog, "status_label")->text().contains("original factory uniformity"));
    }
};

QTEST_MAIN(tst_uniformity_correction_dialog)
#include "tst_uniformity_correction_dialog.moc"
