// The analog video and clock pages of the control panel dialog offscreen on
// simulated displays: what they read, the questions before the analog jobs,
// expert mode, the offsets' alternate codes and setting the displays' clocks.
#include "colour/CMonitorTracker.h"
#include "control_panel/core/page_jobs.h"
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "resources/tessaline_resources.h"
#include "tests/control_panel/control_panel_fixture.h"
#include "tests/support/modal_box_answerer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>
#include <QtTest>

namespace {

constexpr int kAnalogPage = 15;
constexpr int kAnalogAdvancedPage = 16;
constexpr int kClockPage = 17;
constexpr double kTimeScale = 0.05;
const char *const kSliders[] = {"offset_red_horizontalSlider", "offset_green_horizontalSlider",
                                "offset_blue_horizontalSlider", "gain_red_horizontalSlider",
                                "gain_green_horizontalSlider", "gain_blue_horizontalSlider"};

void use_model(panel_wall &wall, const QByteArray &model)
{
    for (int display : wall.displays)
        wall.sim.with_display(display, [&](sim_display &d) { d.apply_model(model); });
}

// Frames of one display whose body starts with |prefix|.
int frames_starting(const QList<sim_log_entry> &frames, const QByteArray &prefix, char display)
{
    int count = 0;
    for (const sim_log_entry &e : frames)
        count += e.answered_by == display && e.body.startsWith(prefix) ? 1 : 0;
    return count;
}

} // namespace

class tst_control_panel_analog_clock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(prepare_panel_test_case(), qPrintable(loopback_block::claim_error())); }
    void init() { prepare_panel_test(kTimeScale); }

    void the_analog_pages_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<display_change>("change");
        QTest::addColumn<bool>("available");     // the LUT buttons
        QTest::addColumn<QString>("enabled");    // per slider: 1 enabled
        QTest::addColumn<bool>("message");
        const display_change none = [](sim_display &) {};
        QTest::newRow("analog levels") << QByteArray("VW-4610C") << none << true << "111111" << false;
        QTest::newRow("offsets on the alternate codes") << QByteArray("VW-5510C") << none << true << "111111" << false;
        QTest::newRow("no analog input") << QByteArray("VW-5530Q") << none << false << "000000" << false;
        QTest::newRow("green gain not supported")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) { d.controls.set_unsupported(0x109F); })
            << true << "111101" << false;
        QTest::newRow("no offsets at all")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) {
                   for (quint16 code : {0x1098, 0x1099, 0x109A})
                       d.controls.set_unsupported(code);
               })
            << true << "000111" << false;
        QTest::newRow("red offset refused: shown, walk ends")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) {
                   d.fault.kind = sim_fault_kind::refuse_be;
                   d.fault.after = 1;
               })
            << true << "000000" << true;
        QTest::newRow("green offset refused: walk ends quietly")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) {
                   d.fault.kind = sim_fault_kind::refuse_be;
                   d.fault.after = 2;
               })
            << true << "100000" << false;
        QTest::newRow("first read times out: nothing shown")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) { d.fault.kind = sim_fault_kind::silent; })
            << false << "000000" << false;
        QTest::newRow("blue offset times out: walk ends quietly")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) {
                   d.fault.kind = sim_fault_kind::silent;
                   d.fault.after = 3;
               })
            << true << "110000" << false;
        QTest::newRow("a maximum of 0 and a value above the maximum")
            << QByteArray("VW-4610C") << display_change([](sim_display &d) {
                   d.controls.set(0x109E, 7, 0);
                   d.controls.force(0x10A0, 999);
               })
            << true << "111011" << false;
    }
    void the_analog_pages()
    {
        QFETCH(QByteArray, model);
        QFETCH(display_change, change);
        QFETCH(bool, available);
        QFETCH(QString, enabled);
        QFETCH(bool, message);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        use_model(wall, model);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAnalogPage);
        const bool analog_model = model != "VW-5530Q";
        QCOMPARE(child<QPushButton>(dialog, "auto_setup_pushButton")->isEnabled(), analog_model);
        QCOMPARE(child<QPushButton>(dialog, "auto_gain_bias_pushButton")->isEnabled(), analog_model);
        wall.sim.with_display(wall.displays.first(), change);
        wall.sim.clear_log();
        show_page(dialog, kAnalogAdvancedPage);
        QCOMPARE(child<QPushButton>(dialog, "black_lut_pushButton")->isEnabled(), available);
        QCOMPARE(child<QPushButton>(dialog, "normal_lut_pushButton")->isEnabled(), available);
        QVERIFY(child<QPushButton>(dialog, "mode_expert_pushButton")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "mode_normal_pushButton")->isEnabled());
        QString shown;
        for (const char *name : kSliders) {
            auto *slider = child<QSlider>(dialog, name);
            shown += slider->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            const QByteArray spin = QByteArray(name).replace("_horizontalSlider", "_spinBox");
            QCOMPARE(child<QSpinBox>(dialog, spin.constData())->isEnabled(), slider->isEnabled());
            if (slider->isEnabled())
                QVERIFY(slider->value() <= slider->maximum());
        }
        QCOMPARE(shown, enabled);
        QCOMPARE(child<QGroupBox>(dialog, "analog_bias_groupBox")->isEnabled(), enabled.startsWith(QLatin1String("1")));
        QCOMPARE(child<QGroupBox>(dialog, "analog_gain_groupBox")->isEnabled(), enabled.mid(3).contains(QLatin1Char('1')));
        QCOMPARE(!status_line(dialog).isEmpty(), message);
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY2(e.type != 'E', e.body.constData());   // reading never writes
        QVERIFY(wall.link_released());
    }

    void the_advanced_page_reads_in_order_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("plain codes") << QByteArray("VW-4610C")
                                     << QList<int>{0x1E, 0x1098, 0x1099, 0x109A, 0x109E, 0x109F, 0x10A0};
        QTest::newRow("alternate codes") << QByteArray("VW-5510C")
                                         << QList<int>{0x1E, 0x1098, 0x109B, 0x109C, 0x109D, 0x109E, 0x109F, 0x10A0};
    }
    void the_advanced_page_reads_in_order()
    {
        QFETCH(QByteArray, model);
        QFETCH(QList<int>, codes);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        use_model(wall, model);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kAnalogAdvancedPage);
        QList<QByteArray> expected, bodies;
        for (int code : codes)
            expected << hex4(code);
        for (const sim_log_entry &e : wall.sim.log())
            bodies << e.body;
        QCOMPARE(bodies, expected);
        QCOMPARE(child<QSlider>(dialog, "offset_red_horizontalSlider")->maximum(), 255);
        QCOMPARE(child<QSpinBox>(dialog, "gain_blue_spinBox")->value(), 128);
    }

    void the_offsets_write_the_codes_the_display_answers_on_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("first_offset");
        QTest::newRow("plain codes") << QByteArray("VW-4610C") << 0x1098;
        QTest::newRow("alternate codes") << QByteArray("VW-5510C") << 0x109B;
    }
    void the_offsets_write_the_codes_the_display_answers_on()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, first_offset);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        use_model(wall, model);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAnalogAdvancedPage);
        wall.sim.clear_log();
        child<QSpinBox>(dialog, "offset_green_spinBox")->setValue(100);
        child<QSlider>(dialog, "offset_blue_horizontalSlider")->setValue(90);
        child<QSlider>(dialog, "offset_blue_horizontalSlider")->setValue(91);
        child<QSlider>(dialog, "gain_red_horizontalSlider")->setValue(7);
        QTRY_COMPARE(writes_of(wall.sim.log(), control_code::kAnalogGainRed).size(), 1);
        QList<QByteArray> writes;
        for (const sim_log_entry &e : wall.sim.log()) {
            if (e.type == 'E')
                writes << e.body;
        }
        QCOMPARE(writes, (QList<QByteArray>{write_body(first_offset + 1, 100), write_body(first_offset + 2, 91),
                                            write_body(control_code::kAnalogGainRed, 7)}));
    }

    void expert_mode_switches_and_reads_the_page_again()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        use_model(wall, "VW-4610C");
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAnalogAdvancedPage);
        wall.sim.clear_log();
        child<QPushButton>(dialog, "mode_expert_pushButton")->click();
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.expert_mode; }), quint8(2));
        QCOMPARE(frames_starting(wall.sim.log(), hex4(0x1098), 'A'), 1);   // the page again
        child<QPushButton>(dialog, "mode_normal_pushButton")->click();
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.expert_mode; }), quint8(0));
        QVERIFY(wall.link_released());
    }

    void a_failed_expert_mode_stays_in_the_status_line()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        use_model(wall, "VW-4610C");
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAnalogAdvancedPage);
        // The command is refused; the refresh after it reads the page all the same.
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::refuse_be, 1);
        child<QPushButton>(dialog, "mode_expert_pushButton")->click();
        QVERIFY(!status_line(dialog).isEmpty());
        QVERIFY(child<QSlider>(dialog, "offset_red_horizontalSlider")->isEnabled());
    }

    void the_questions_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("targets");
        QTest::addColumn<QByteArray>("frame");   // a frame each job sends
        QTest::addColumn<QString>("question");
        QTest::newRow("auto set-up") << QByteArray("auto_setup_pushButton") << 3 << write_body(0x1E, 1)
                                     << "automatically set up the analog video signal levels";
        QTest::newRow("auto bias and gain") << QByteArray("auto_gain_bias_pushButton") << 2 << write_body(0x31D, 1)
                                            << "gain and bias levels";
        QTest::newRow("black LUT") << QByteArray("black_lut_pushButton") << 1 << QByteArray() << "<b>black</b>";
        QTest::newRow("white LUT") << QByteArray("white_lut_pushButton") << 1 << QByteArray() << "<b>white</b>";
    }
    void the_questions()
    {
        QFETCH(QByteArray, button);
        QFETCH(int, targets);
        QFETCH(QByteArray, frame);
        QFETCH(QString, question);
        panel_wall wall(targets);
        QVERIFY(wall.ok);
        use_model(wall, "VW-4610C");
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        if (targets > 1)
            child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        wall.sim.clear_log();
        {
            modal_box_answerer boxes({QMessageBox::Cancel});
            child<QPushButton>(dialog, button.constData())->click();
            QCOMPARE(boxes.seen().size(), 1);
            QVERIFY(boxes.seen().first().text.contains(question));
            QCOMPARE(boxes.seen().first().default_button, QMessageBox::Cancel);
        }
        QVERIFY(wall.sim.log().isEmpty());
        modal_watchdog watchdog(120000);
        modal_box_answerer boxes({QMessageBox::Ok});
        child<QPushButton>(dialog, button.constData())->click();
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(boxes.seen().size(), 1);
        const QList<sim_log_entry> frames = wall.sim.log();
        for (int i = 0; i < targets; ++i) {
            const char id = char('A' + i);
            if (frame.isEmpty())   // a lookup table upload
                QVERIFY(wall.sim.with_display(wall.displays.at(i), [](sim_display &d) { return d.lut_activations + d.lut_commits; }) > 0);
            else
                QCOMPARE(writes_of(frames, frame.left(4).toInt(nullptr, 16), id), QList<QByteArray>{frame});
        }
        QVERIFY(status_line(dialog).isEmpty());
    }

    void single_display_buttons_do_nothing_for_several()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        use_model(wall, "VW-4610C");
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        QVERIFY(!child<QPushButton>(dialog, "black_lut_pushButton")->isEnabled());
        QVERIFY(!child<QGroupBox>(dialog, "analog_gain_groupBox")->isEnabled());
        wall.sim.clear_log();
        modal_box_answerer boxes({}, 2000);
        for (const char *name : {"black_lut_pushButton", "white_lut_pushButton", "normal_lut_pushButton",
                                 "mode_expert_pushButton", "mode_normal_pushButton"})
            QMetaObject::invokeMethod(&dialog, QByteArray("on_").append(name).append("_clicked").constData());
        QVERIFY(boxes.seen().isEmpty());
        QVERIFY(wall.sim.log().isEmpty());
        // Several targets do not read the analog pages.
        show_page(dialog, kAnalogAdvancedPage);
        QVERIFY(wall.sim.log().isEmpty());
    }

    void normal_lut_restores_a_calibrated_display()
    {
        CMonitorTracker records;
        display_layout_item item;
        item.model_name = QStringLiteral("VW-4610C");
        item.serial_number = QStringLiteral("S1");
        QVERIFY(!page_jobs::is_calibrated(item, records));
        monitor_tracker_item record(item.model_name, item.serial_number);
        records.SetAdjustValue(record);
        QVERIFY(!page_jobs::is_calibrated(item, records));   // on record, never calibrated
        record.SetCalibrationDateTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6)));
        records.SetAdjustValue(record);
        QVERIFY(page_jobs::is_calibrated(item, records));
        item.enabled = false;
        QVERIFY(!page_jobs::is_calibrated(item, records));
        QCOMPARE(page_jobs::normal_lut_job(true).task_list, QList<qint32>{JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
        const job_list_item plain = page_jobs::normal_lut_job(false);
        QCOMPARE(plain.task_list, QList<qint32>{JOB_TASK_INITIALIZE_AND_UPDATE_LUTS});
        QCOMPARE(plain.lut_kind, int(page_jobs::kNormalLut));
    }

    void the_clock_page()
    {
        panel_wall wall(3);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int display : wall.displays)
            wall.sim.with_display(display, [](sim_display &d) {
                d.clock = {30, 5, 6, 1, 7, 8, 1};   // 2030-05-06 07:08, daylight saving on
            });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kClockPage);
        auto *time = child<QTimeEdit>(dialog, "timeEdit_time");
        auto *date = child<QDateEdit>(dialog, "dateEdit");
        QCOMPARE(date->date(), QDate(2030, 5, 6));
        QCOMPARE(time->time(), QTime(7, 8));
        QVERIFY(time->isEnabled() && date->isEnabled());

        // A custom time, to the first target only; the daylight byte is kept.
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        QCOMPARE(date->date(), QDate(2030, 5, 6));   // still read from the first
        QVERIFY(!date->isEnabled());
        date->setDate(QDate(2041, 12, 31));
        time->setTime(QTime(23, 59));
        wall.sim.clear_log();
        dialog.on_set_to_custom_date_pushButton_clicked();
        const auto clock = [&](int i) {
            return wall.sim.with_display(wall.displays.at(i), [](sim_display &d) { return d.clock; });
        };
        QCOMPARE(int(clock(0).year), 41);
        QCOMPARE(int(clock(0).month), 12);
        QCOMPARE(int(clock(0).hour), 23);
        QCOMPARE(int(clock(0).daylight_saving), 1);
        QCOMPARE(int(clock(1).year), 30);
        QCOMPARE(date->date(), QDate(2041, 12, 31));

        // The computer's time to every target through one job each.
        modal_watchdog watchdog(120000);
        child<QPushButton>(dialog, "set_to_system_date_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        const QDate today = QDate::currentDate();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(int(clock(i).year), today.year() - 2000);
        QCOMPARE(date->date(), QDate(2041, 12, 31));   // the edits stay
        QVERIFY(status_line(dialog).isEmpty());
    }

    void the_system_time_to_one_display_is_written_directly()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kClockPage);
        child<QPushButton>(dialog, "set_to_system_date_pushButton")->click();
        QCOMPARE(child<QDateEdit>(dialog, "dateEdit")->date(), QDate::currentDate());
        QCOMPARE(int(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.clock.year; })),
                 QDate::currentDate().year() - 2000);
        QVERIFY(wall.link_released());
    }

    void an_unreadable_clock_disables_the_edits_and_sets_nothing()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::refuse_be);
        show_page(dialog, kClockPage);
        QVERIFY(!child<QTimeEdit>(dialog, "timeEdit_time")->isEnabled());
        QVERIFY(!child<QDateEdit>(dialog, "dateEdit")->isEnabled());
        QVERIFY(!status_line(dialog).isEmpty());
        wall.sim.clear_log();
        dialog.on_set_to_custom_date_pushButton_clicked();
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY(!e.body.startsWith("C212"));
    }
};

QTEST_MAIN(tst_control_panel_analog_clock)
#include "tst_control_panel_analog_clock.moc"
