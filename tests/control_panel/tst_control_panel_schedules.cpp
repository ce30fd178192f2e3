// The schedule, holiday and weekend pages of the control panel dialog
// offscreen on simulated displays: a display's program read into the page
// and written back by the jobs unchanged (both generations of basic
// programs, advanced programs, holidays, weekend days), Clear-all, and what
// garbled or unreadable programs leave on the page.
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "resources/tessaline_resources.h"
#include "tests/control_panel/control_panel_fixture.h"
#include "tests/support/modal_box_answerer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QtTest>

namespace {

constexpr int kSchedulePage = 18;
constexpr int kAdvancedPage = 19;
constexpr int kHolidayPage = 20;
constexpr int kWeekendPage = 21;
constexpr double kTimeScale = 0.05;

using basic = sim_display::schedule_program;
using advanced = sim_display::advanced_program;
using holiday = std::array<quint8, 8>;

QByteArray bytes(const advanced &a)
{
    const char fields[] = {char(a.event_type), char(a.hour),         char(a.minute), char(a.input), char(a.day_mask),
                           char(a.flags),      char(a.picture_mode), char(a.year),   char(a.month), char(a.day)};
    return QByteArray(fields, sizeof fields);
}

QByteArray bytes(const holiday &h)
{
    return QByteArray(reinterpret_cast<const char *>(h.data()), int(h.size()));
}

// Presses a button whose job runs in a modal progress dialog, failing
// rather than hanging when the dialog stays open.
void press(kq_monitor_control_panel_dialog &dialog, const char *button)
{
    modal_watchdog watchdog(120000);
    child<QPushButton>(dialog, button)->click();
    QCOMPARE(watchdog.closed, 0);
}

} // namespace

Q_DECLARE_METATYPE(basic)

class tst_control_panel_schedules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(prepare_panel_test_case(), qPrintable(loopback_block::claim_error())); }
    void init() { prepare_panel_test(kTimeScale); }

    void basic_programs_round_trip_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<basic>("program");   // off hour, off minute, on hour, on minute, input, days, flags, mode
        QTest::addColumn<int>("input");       // the page's input code
        QTest::addColumn<bool>("off_time");
        QTest::addColumn<bool>("days_enabled");
        QTest::newRow("newer, every week") << QByteArray("VW-5530Q") << basic{22, 30, 7, 5, 17, 0x15, 0x06, 1} << 17
                                           << true << true;
        QTest::newRow("newer, every day, no off time")
            << QByteArray("VW-5530Q") << basic{24, 60, 6, 0, 130, 0x00, 0x05, 3} << 130 << false << false;
        QTest::newRow("older, every week") << QByteArray("VW-4610C") << basic{21, 15, 8, 45, 3, 0x41, 0x06, 0} << 17
                                           << true << true;
        QTest::newRow("older, disabled") << QByteArray("VW-4610C") << basic{1, 2, 3, 4, 1, 0x00, 0x00, 0} << 1
                                         << true << true;
    }
    void basic_programs_round_trip()
    {
        QFETCH(QByteArray, model);
        QFETCH(basic, program);
        QFETCH(int, input);
        QFETCH(bool, off_time);
        QFETCH(bool, days_enabled);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        wall.sim.with_display(wall.displays.first(), [&](sim_display &d) {
            d.apply_model(model);
            d.programs[3] = program;
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kSchedulePage);
        child<QComboBox>(dialog, "schedule_number_comboBox")->setCurrentIndex(3);
        QVERIFY(child<QGroupBox>(dialog, "schedule_groupBox")->isEnabled());
        QCOMPARE(child<QGroupBox>(dialog, "schedule_enable_groupBox")->isChecked(), bool(program[6] & 0x04));
        QCOMPARE(child<QComboBox>(dialog, "schedule_input_comboBox")->currentData().toInt(), input);
        QCOMPARE(child<QCheckBox>(dialog, "schedule_off_time_enable_checkBox")->isChecked(), off_time);
        QCOMPARE(child<QTimeEdit>(dialog, "schedule_off_time_timeEdit")->isEnabledTo(&dialog), off_time);
        QCOMPARE(child<QTimeEdit>(dialog, "schedule_off_time_timeEdit")->time(),
                 off_time ? QTime(program[0], program[1]) : QTime(0, 0));
        QCOMPARE(child<QTimeEdit>(dialog, "schedule_on_time_timeEdit")->time(), QTime(program[2], program[3]));
        QCOMPARE(child<QCheckBox>(dialog, "schedule_monday_checkBox")->isChecked(), bool(program[5] & 0x01));
        QCOMPARE(child<QCheckBox>(dialog, "schedule_sunday_checkBox")->isChecked(), bool(program[5] & 0x40));
        QCOMPARE(child<QCheckBox>(dialog, "schedule_tuesday_checkBox")->isEnabledTo(child<QWidget>(dialog, "schedule_enable_groupBox")),
                 days_enabled);

        // What the page holds goes back unchanged.
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) { d.programs[3] = {24, 60, 24, 60, 0, 0, 0, 0}; });
        press(dialog, "schedule_update_pushButton");
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.programs[3]; }), program);
        QVERIFY(status_line(dialog).isEmpty());
    }

    void a_garbled_or_unreadable_basic_program()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(),
                              [](sim_display &d) { d.programs[0] = {30, 99, 7, 200, 4, 0xFF, 0xFF, 1}; });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kSchedulePage);
        QVERIFY(child<QGroupBox>(dialog, "schedule_groupBox")->isEnabled());
        QVERIFY(!child<QCheckBox>(dialog, "schedule_off_time_enable_checkBox")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "schedule_on_time_enable_checkBox")->isChecked());
        QCOMPARE(child<QTimeEdit>(dialog, "schedule_on_time_timeEdit")->time(), QTime(0, 0));
        QVERIFY(!child<QCheckBox>(dialog, "schedule_every_week_checkBox")->isEnabledTo(&dialog));
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY(!e.body.startsWith("C222"));   // reading never writes

        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::refuse_be);
        child<QComboBox>(dialog, "schedule_number_comboBox")->setCurrentIndex(1);
        QVERIFY(!child<QGroupBox>(dialog, "schedule_groupBox")->isEnabled());
        QVERIFY(!status_line(dialog).isEmpty());
        QVERIFY(wall.link_released());
    }

    void several_displays_are_not_read_and_each_gets_the_page()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        wall.sim.clear_log();
        for (int page : {kSchedulePage, kAdvancedPage, kHolidayPage, kWeekendPage})
            show_page(dialog, page);
        child<QComboBox>(dialog, "schedule_number_comboBox")->setCurrentIndex(5);
        QVERIFY(wall.sim.log().isEmpty());
        show_page(dialog, kSchedulePage);
        child<QCheckBox>(dialog, "schedule_on_time_enable_checkBox")->setChecked(true);
        child<QTimeEdit>(dialog, "schedule_on_time_timeEdit")->setTime(QTime(6, 30));
        child<QCheckBox>(dialog, "schedule_every_day_checkBox")->setChecked(true);
        child<QCheckBox>(dialog, "schedule_every_week_checkBox")->setChecked(true);   // wins
        press(dialog, "schedule_update_pushButton");
        for (int display : wall.displays) {
            const basic written = wall.sim.with_display(display, [](sim_display &d) { return d.programs[5]; });
            QCOMPARE(int(written[0]), 24);
            QCOMPARE(int(written[2]), 6);
            QCOMPARE(int(written[3]), 30);
            QCOMPARE(int(written[6]) & 0x03, 0x02);
        }
    }

    void advanced_programs_round_trip_data()
    {
        QTest::addColumn<QByteArray>("program");   // event, hour, minute, input, days, flags, mode, year, month, day
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QTime>("time");
        QTest::newRow("off on a date every year") << QByteArray("\x02\x14\x2d\x11\x00\x44\x01\x64\x06\x20", 10)
                                                  << "advanced_schedule_date_radioButton" << QTime(20, 45);
        QTest::newRow("on every week") << QByteArray("\x01\x07\x00\x87\x15\x06\x0d\x64\x0d\x20", 10)
                                       << "advanced_schedule_every_week_radioButton" << QTime(7, 0);
        QTest::newRow("on holidays, disabled") << QByteArray("\x01\x08\x1e\x11\x00\x20\x01\x64\x0d\x20", 10)
                                               << "advanced_schedule_holiday_radioButton" << QTime(8, 30);
    }
    void advanced_programs_round_trip()
    {
        QFETCH(QByteArray, program);
        QFETCH(QString, radio);
        QFETCH(QTime, time);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        const auto b = [&](int i) { return quint8(program.at(i)); };
        wall.sim.with_display(wall.displays.first(), [&](sim_display &d) {
            d.advanced_programs[7] = advanced{b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7), b(8), b(9)};
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAdvancedPage);
        child<QComboBox>(dialog, "advanced_schedule_number_comboBox")->setCurrentIndex(7);
        QVERIFY(child<QRadioButton>(dialog, radio.toLatin1())->isChecked());
        QCOMPARE(child<QTimeEdit>(dialog, "advanced_schedule_timeEdit")->time(), time);
        QCOMPARE(child<QComboBox>(dialog, "advanced_schedule_on_off_type_comboBox")->currentData().toInt(), int(b(0)));
        QCOMPARE(child<QGroupBox>(dialog, "advanced_schedule_enable_groupBox")->isChecked(), bool(b(5) & 0x04));
        const bool dated = b(5) & 0x40;
        QCOMPARE(child<QComboBox>(dialog, "advanced_schedule_date_month_comboBox")->isEnabledTo(&dialog), dated);
        if (dated)
            QCOMPARE(child<QComboBox>(dialog, "advanced_schedule_date_month_comboBox")->currentData().toInt(), 6);
        QCOMPARE(child<QCheckBox>(dialog, "advanced_schedule_monday_checkBox")->isEnabledTo(&dialog),
                 radio.contains(QLatin1String("every_week")) && (b(5) & 0x04));

        wall.sim.with_display(wall.displays.first(), [](sim_display &d) { d.advanced_programs[7] = advanced(); });
        press(dialog, "advanced_schedule_update_pushButton");
        // A program that is not dated is written without a date.
        const QByteArray expected = dated ? program : program.left(7) + QByteArray(3, '\0');
        QCOMPARE(bytes(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.advanced_programs[7]; })),
                 expected);
    }

    void clearing_every_advanced_program()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int display : wall.displays)
            wall.sim.with_display(display, [](sim_display &d) {
                for (advanced &a : d.advanced_programs)
                    a = advanced{2, 9, 9, 4, 0x7F, 0x06, 1, 20, 2, 3};
            });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        wall.sim.clear_log();
        {
            modal_box_answerer boxes({QMessageBox::Cancel});
            child<QPushButton>(dialog, "advanced_schedule_clear_all_pushButton")->click();
            QCOMPARE(boxes.seen().size(), 1);
            QCOMPARE(boxes.seen().first().text, QStringLiteral("This will clear all Schedules. <br>Do you want to proceed?"));
            QCOMPARE(boxes.seen().first().buttons, QMessageBox::Yes | QMessageBox::Cancel);
        }
        QVERIFY(wall.sim.log().isEmpty());
        modal_box_answerer boxes({QMessageBox::Yes});
        press(dialog, "advanced_schedule_clear_all_pushButton");
        const QByteArray cleared("\x01\x18\x3c\x00\x00\x01\x00\x64\x0d\x20", 10);
        for (int display : wall.displays) {
            const auto programs = wall.sim.with_display(display, [](sim_display &d) { return d.advanced_programs; });
            for (const advanced &a : programs)
                QCOMPARE(bytes(a), cleared);
        }
    }

    void holidays_round_trip_data()
    {
        QTest::addColumn<QByteArray>("entry");   // flags, year, month, day, n-th, weekday, end month, end day
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("writable");
        QTest::newRow("a span of days") << QByteArray("\x03\x11\x06\x01\x00\x00\x06\x05", 8)
                                        << QLocale().toString(QDate(2017, 6, 1), QLocale::ShortFormat) + " to "
                                               + QLocale().toString(QDate(2017, 6, 5), QLocale::ShortFormat)
                                        << true;
        QTest::newRow("the n-th weekday") << QByteArray("\x04\x00\x00\x00\x02\x01\x01\x01", 8)
                                          << "The 2nd Monday of every month of every year" << true;
        QTest::newRow("a day every year") << QByteArray("\x02\x00\x06\x03\x00\x00\x01\x01", 8)
                                          << "Day 3 in June of every year" << true;
        QTest::newRow("disabled") << QByteArray("\x02\x00\x00\x00\x00\x00\x01\x01", 8) << "Disabled" << true;
        QTest::newRow("garbled month") << QByteArray("\x02\x11\x0d\x03\x00\x00\x01\x01", 8) << "Invalid" << false;
        QTest::newRow("impossible date") << QByteArray("\x02\x11\x02\x1e\x00\x00\x01\x01", 8) << "Invalid" << false;
        QTest::newRow("garbled weekday") << QByteArray("\x04\x11\x06\x00\x02\x09\x01\x01", 8) << "Invalid" << false;
    }
    void holidays_round_trip()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QString, description);
        QFETCH(bool, writable);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        holiday stored {};
        std::copy(entry.begin(), entry.end(), stored.begin());
        wall.sim.with_display(wall.displays.first(), [&](sim_display &d) { d.holidays[11] = stored; });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kHolidayPage);
        wall.sim.clear_log();
        child<QComboBox>(dialog, "holiday_program_comboBox")->setCurrentIndex(11);
        QVERIFY(child<QGroupBox>(dialog, "holiday_groupBox")->isEnabled());
        QCOMPARE(child<QLabel>(dialog, "holiday_description_label")->text(), description);
        auto *update = child<QPushButton>(dialog, "holiday_update_pushButton");
        QCOMPARE(update->isEnabledTo(&dialog), writable);
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY(!e.body.startsWith("CA1901"));   // reading never writes
        if (!writable)
            return;
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) { d.holidays[11] = holiday{}; });
        press(dialog, "holiday_update_pushButton");
        const holiday written = wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.holidays[11]; });
        // Fields the kind does not use are written as the page holds them.
        QCOMPARE(bytes(written).left(4), entry.left(4));
        if (entry.at(0) & 0x04)
            QCOMPARE(bytes(written).mid(4, 2), entry.mid(4, 2));
        if (entry.at(0) & 0x01)
            QCOMPARE(bytes(written).mid(6, 2), entry.mid(6, 2));
    }

    void the_holiday_page_follows_its_buttons()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kHolidayPage);
        auto *label = child<QLabel>(dialog, "holiday_description_label");
        child<QRadioButton>(dialog, "holiday_day_radioButton")->setChecked(true);
        child<QComboBox>(dialog, "holiday_year_comboBox")->setCurrentIndex(child<QComboBox>(dialog, "holiday_year_comboBox")->findData(17));
        child<QComboBox>(dialog, "holiday_month_comboBox")->setCurrentIndex(0);
        child<QComboBox>(dialog, "holiday_day_comboBox")->setCurrentIndex(0);
        QCOMPARE(label->text(), QStringLiteral("Every day in 2017"));
        QVERIFY(!child<QComboBox>(dialog, "holiday_end_day_month_comboBox")->isEnabledTo(&dialog));
        child<QCheckBox>(dialog, "holiday_end_day_checkBox")->setChecked(true);
        QVERIFY(child<QComboBox>(dialog, "holiday_end_day_month_comboBox")->isEnabledTo(&dialog));
        QCOMPARE(label->text(), QStringLiteral("Invalid"));   // a span needs a month and a day
        QVERIFY(!child<QPushButton>(dialog, "holiday_update_pushButton")->isEnabled());
        child<QRadioButton>(dialog, "holiday_week_radioButton")->setChecked(true);
        QVERIFY(!child<QComboBox>(dialog, "holiday_day_comboBox")->isEnabledTo(&dialog));
        QVERIFY(child<QComboBox>(dialog, "holiday_week_nth_comboBox")->isEnabledTo(&dialog));
        QCOMPARE(label->text(), QStringLiteral("The 1st Monday of every month in 2017"));
    }

    void clearing_every_holiday()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int display : wall.displays)
            wall.sim.with_display(display, [](sim_display &d) {
                for (holiday &h : d.holidays)
                    h = holiday{0x02, 17, 6, 3, 0, 0, 1, 1};
            });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kHolidayPage);
        wall.sim.clear_log();
        {
            modal_box_answerer boxes({QMessageBox::Cancel});
            child<QPushButton>(dialog, "holiday_clear_all_pushButton")->click();
            QCOMPARE(boxes.seen().size(), 1);
        }
        QVERIFY(wall.sim.log().isEmpty());
        modal_box_answerer boxes({QMessageBox::Yes});
        press(dialog, "holiday_clear_all_pushButton");
        const auto holidays = wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.holidays; });
        for (const holiday &h : holidays)
            QCOMPARE(bytes(h).mid(1, 3), QByteArray(3, '\0'));
        // The page is read again.
        QCOMPARE(child<QLabel>(dialog, "holiday_description_label")->text(), QStringLiteral("Disabled"));
    }

    void weekend_days_round_trip()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kWeekendPage);
        QVERIFY(child<QGroupBox>(dialog, "weekend_groupBox")->isEnabled());
        QVERIFY(child<QCheckBox>(dialog, "weekend_saturday_checkBox")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "weekend_sunday_checkBox")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "weekend_friday_checkBox")->isChecked());
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        child<QCheckBox>(dialog, "weekend_friday_checkBox")->setChecked(true);
        child<QCheckBox>(dialog, "weekend_sunday_checkBox")->setChecked(false);
        press(dialog, "advanced_schedule_weekend_update_pushButton");
        for (int display : wall.displays)
            QCOMPARE(int(wall.sim.with_display(display, [](sim_display &d) { return d.weekend_mask; })), 0x30);

        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(0);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::refuse_be);
        show_page(dialog, kSchedulePage);
        show_page(dialog, kWeekendPage);
        QVERIFY(!child<QGroupBox>(dialog, "weekend_groupBox")->isEnabled());
        QVERIFY(!status_line(dialog).isEmpty());
    }
};

QTEST_MAIN(tst_control_panel_schedules)
#include "tst_control_panel_schedules.moc"
