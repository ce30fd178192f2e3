#include "display_protocol/basic_monitor.h"
#include "display_protocol/basic_monitor_models.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QtTest>

namespace {

const QString kAddress = loopback_block::address(1);
const QByteArray kOlderModel = "VW-4610C";
const QByteArray kNewerModel = "VW-5520L";
const QByteArray kEngineModel = "VW-5540QE";

schedule_program_record program(quint8 input, quint8 picture_mode)
{
    schedule_program_record p;
    p.off_hour = 22;
    p.off_minute = 30;
    p.on_hour = 7;
    p.on_minute = 15;
    p.input = input;
    p.day_mask = 0x1F;
    p.flags = schedule_program_record::kEnabled | schedule_program_record::kEveryWeek;
    p.picture_mode = picture_mode;
    return p;
}

QByteArray first_body_starting(const QList<QByteArray> &bodies, const QByteArray &prefix)
{
    for (const QByteArray &b : bodies) {
        if (b.startsWith(prefix))
            return b;
    }
    return QByteArray();
}

} // namespace

class tst_basic_monitor_schedule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(0.01); }

    void translation_tables()
    {
        using namespace basic_monitor_models;
        QCOMPARE(translate(kAppToOlderInput, 17), 4);
        QCOMPARE(translate(kAppToOlderInput, 6), 0);
        QCOMPARE(translate(kOlderInputToApp, 9), 10);
        QCOMPARE(translate(kAppToOlderScheduleInput, 99), 9);
        QCOMPARE(translate(kAppToExtendedScheduleInput, 99), 15);
        QCOMPARE(translate(kAppToExtendedMode, 99), 8);
        QCOMPARE(translate(kExtendedModeToApp, 7), 12);
        QCOMPARE(fixed_list_models().size(), 12);
        QVERIFY(is_fixed_list_name(QStringLiteral("VW-5510C")));
        QVERIFY(!is_fixed_list_name(QStringLiteral("vw-5510c")));
        QVERIFY(!is_fixed_list_name(QStringLiteral("VW-5510C ")));
    }

    // The older generation speaks its own input codes in the seven-byte form.
    void older_model_schedule()
    {
        monitor_fixture m(kAddress, kOlderModel);
        QVERIFY_FIXTURE(m);
        QVERIFY(m.monitor.is_fixed_list_model());
        schedule_program_record entry = program(17, 0);
        m.clear_log();
        QCOMPARE(m.monitor.set_schedule(2, entry, 0), 0);
        QCOMPARE(first_body_starting(m.bodies(), "C214"), QByteArray("C21402" "161E070F03" "1F06"));
        QCOMPARE(entry.input, quint8(17));
        schedule_program_record read;
        QCOMPARE(m.monitor.get_schedule(2, read, 0), 0);
        QCOMPARE(read.input, quint8(17));
        QCOMPARE(read.off_hour, 22u);
        QCOMPARE(read.day_mask, quint8(0x1F));
    }

    void newer_model_schedule_in_the_extended_form()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        schedule_program_record entry = program(12, 11);
        entry.year = 30;
        entry.month = 6;
        entry.day = 1;
        m.clear_log();
        QCOMPARE(m.monitor.set_schedule(3, entry, 0), 0);
        QVERIFY(!first_body_starting(m.bodies(), "C222").isEmpty());
        schedule_program_record read;
        QCOMPARE(m.monitor.get_schedule(3, read, 0), 0);
        QCOMPARE((QList<int> {read.input, read.picture_mode, read.year, read.month, read.day}),
                 (QList<int> {12, 11, 30, 6, 1}));
    }

    // Without the extended commands the long form carries the codes of the
    // extended tables; the caller sees the application's codes.
    void schedule_falls_back_to_the_long_form()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.display([](sim_display &d) { d.extended_schedules = false; });
        schedule_program_record entry = program(12, 11);
        m.clear_log();
        QCOMPARE(m.monitor.set_schedule(1, entry, 0), 0);
        QCOMPARE(first_body_starting(m.bodies(), "C214"), QByteArray("C21401" "161E070F05" "1F06" "06"));
        QCOMPARE(entry.input, quint8(12));
        QCOMPARE(entry.picture_mode, quint8(11));
        schedule_program_record read;
        QCOMPARE(m.monitor.get_schedule(1, read, 0), 0);
        QCOMPARE(read.input, quint8(12));
        QCOMPARE(read.picture_mode, quint8(11));
    }

    void advanced_programs()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        schedule_program_record entry;
        entry.event_type = schedule_program_record::kEventOn;
        entry.on_hour = 6;
        entry.on_minute = 45;
        entry.flags = schedule_program_record::kDate | schedule_program_record::kEnabled;
        entry.year = 27;
        entry.month = 2;
        entry.day = 14;
        QCOMPARE(m.monitor.set_schedule(20, entry, 12), 0);
        schedule_program_record read;
        QCOMPARE(m.monitor.get_schedule_extended(20, read), 0);
        QCOMPARE((QList<int> {read.event_type, int(read.on_hour), read.on_minute, read.year, read.month, read.day}),
                 (QList<int> {1, 6, 45, 27, 2, 14}));
        QCOMPARE(m.monitor.get_schedule_extended(30, read), int(link_status::kRefused));
    }

    void holidays()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        holiday_program_record range;
        range.program_number = 5;
        range.flags = holiday_program_record::kDateRange | holiday_program_record::kDayOfMonth;
        range.year = 26;
        range.month = 12;
        range.day = 24;
        range.end_month = 12;
        range.end_day = 26;
        QCOMPARE(m.monitor.set_holiday_schedule(range), 0);
        holiday_program_record weekday;
        weekday.program_number = 6;
        weekday.flags = holiday_program_record::kWeekOfMonth;
        weekday.month = 5;
        weekday.nth = 2;
        weekday.weekday = 7;
        QCOMPARE(m.monitor.set_holiday_schedule(weekday), 0);
        holiday_program_record read;
        QCOMPARE(m.monitor.get_holiday_schedule(5, read), 0);
        QCOMPARE((QList<int> {read.flags, int(read.year), read.month, read.day, read.end_month, read.end_day}),
                 (QList<int> {3, 26, 12, 24, 12, 26}));
        QCOMPARE(m.monitor.get_holiday_schedule(6, read), 0);
        QCOMPARE((QList<int> {read.flags, read.month, read.nth, read.weekday}), (QList<int> {4, 5, 2, 7}));
        QCOMPARE(m.monitor.get_holiday_schedule(51, read), int(link_status::kRefused));
    }

    void weekend_days()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        quint8 mask = 0;
        QCOMPARE(m.monitor.get_weekend_schedule(mask), 0);
        QCOMPARE(mask, quint8(0x60));
        QCOMPARE(m.monitor.set_weekend_schedule(0x41), 0);
        QCOMPARE(m.monitor.get_weekend_schedule(mask), 0);
        QCOMPARE(mask, quint8(0x41));
        QCOMPARE(m.monitor.set_weekend_schedule(0x80), int(basic_monitor::kNotSupported));
    }

    void input_source_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<uint>("wanted");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("on_display");
        QTest::addColumn<uint>("read_back");
        QTest::newRow("older model translates") << kOlderModel << 17u << 0 << 4 << 17u;
        QTest::newRow("older model lacks the input") << kOlderModel << 6u << -1027 << 4 << 0u;
        QTest::newRow("newer model as is") << kNewerModel << 18u << 0 << 18 << 18u;
        // The write is answered, but the display keeps the input it shows.
        QTest::newRow("newer model lacks the input") << kNewerModel << 6u << 0 << 17 << 17u;
    }

    void input_source()
    {
        QFETCH(QByteArray, model);
        QFETCH(uint, wanted);
        QFETCH(int, result);
        QFETCH(int, on_display);
        QFETCH(uint, read_back);
        monitor_fixture m(kAddress, model);
        QVERIFY_FIXTURE(m);
        uint value = wanted;
        QCOMPARE(m.monitor.set_input_source(value), result);
        QCOMPARE(int(m.display([](sim_display &d) { return d.controls.value(0x60); })), on_display);
        uint read = 0;
        QCOMPARE(m.monitor.get_input_source(read), 0);
        if (result == 0)
            QCOMPARE(read, read_back);
    }
};

QTEST_APPLESS_MAIN(tst_basic_monitor_schedule)
#include "tst_basic_monitor_schedule.moc"
