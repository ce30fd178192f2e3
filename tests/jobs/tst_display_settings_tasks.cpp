#include "colour/CMonitorTracker.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_history_task.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QtTest>

namespace {

using control_code::kTileMatrix;

holiday_job_entry holiday(quint8 number, quint8 kind, quint8 write = 1)
{
    holiday_job_entry entry;
    entry.program_number = number;
    entry.kind = kind;
    entry.write = write;
    return entry;
}

sim_history_entry history_entry(quint8 type, quint8 day, const QByteArray &sensor)
{
    sim_history_entry entry;
    entry.command_id = 10;
    entry.year = 26;
    entry.month = 3;
    entry.day = day;
    entry.hour = 14;
    entry.minute = 5;
    entry.hours_high = 1;
    entry.hours_low = 0x2345;
    entry.calibration_type = type;
    for (int i = 0; i < sensor.size(); ++i)
        entry.first_text[static_cast<size_t>(i)] = static_cast<quint8>(sensor.at(i));
    entry.points_h = 5;
    entry.points_v = 3;
    return entry;
}

} // namespace

class tst_display_settings_tasks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer: one starved on a busy machine is waited
        // for, not asked again.
        wait_service::set_io_timeout_floor_ms(2000);
        m_fixture = std::make_unique<wall_task_fixture>();
        QVERIFY2(m_fixture->ready(), qPrintable(m_fixture->error()));
        m_older = m_fixture->add_display("VW-5510C");
        m_newer = m_fixture->add_display("VW-4620L");
        m_engine = m_fixture->add_display("VW-5540QE");
        QVERIFY2(m_engine >= 0, qPrintable(m_fixture->error()));
    }
    void cleanupTestCase() { m_fixture.reset(); }
    void init()
    {
        m_fixture->wall().clear_log();
        m_fixture->controller().records().Clear();
        for (int display : {m_older, m_newer, m_engine})
            m_fixture->wall().refuse_writes(display, kTileMatrix, 0);
    }

    // The tile matrix is off for the adjustment and on again after it,
    // whatever the adjustment's outcome; a display without it is left alone.
    void the_analog_adjustments_pause_the_tile_matrix_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<bool>("older");
        QTest::addColumn<int>("tile_matrix");
        QTest::addColumn<int>("refused_restores");
        QTest::addColumn<QList<int>>("tile_writes");
        QTest::addColumn<int>("result");
        const int setup = JOB_TASK_ANALOG_AUTO_SETUP;
        const int gain = JOB_TASK_ANALOG_AUTO_GAIN;
        using L = QList<int>;
        QTest::newRow("setup, tile matrix off") << setup << true << 1 << 0 << L{} << 0;
        QTest::newRow("setup, tile matrix on (maximum 2)") << setup << true << 2 << 0 << L{1, 2} << 0;
        QTest::newRow("gain, tile matrix on (maximum 2)") << gain << true << 2 << 0 << L{1, 2} << 0;
        QTest::newRow("gain, tile matrix off") << gain << true << 1 << 0 << L{} << 0;
        QTest::newRow("setup refused, tile matrix on (maximum 3)") << setup << false << 2 << 0 << L{3, 2} << -1027;
        QTest::newRow("gain refused, tile matrix on (maximum 3)") << gain << false << 2 << 0 << L{3, 2} << -1027;
        QTest::newRow("setup, the restore refused once") << setup << true << 2 << 3 << L{1, 2, 2, 2, 2} << 0;
        // Refused for good: however often the link retries, the task fails.
        QTest::newRow("gain, the restore always refused") << gain << true << 2 << int(sim_fault::kForever) << L{}
                                                          << -5007;
    }
    void the_analog_adjustments_pause_the_tile_matrix()
    {
        QFETCH(int, task);
        QFETCH(bool, older);
        QFETCH(int, tile_matrix);
        QFETCH(int, refused_restores);
        QFETCH(QList<int>, tile_writes);
        QFETCH(int, result);
        wall_task_fixture &f = *m_fixture;
        const int display = older ? m_older : m_newer;
        const int saves_before = f.wall().with_display(display, [tile_matrix](sim_display &d) {
            d.controls.find(kTileMatrix)->current = static_cast<quint16>(tile_matrix);
            return d.saves;
        });
        if (refused_restores != 0)
            f.wall().refuse_writes(display, kTileMatrix, refused_restores, 2);
        const auto run = f.run(f.job(display, {task}));
        QCOMPARE(run->error_code(), result);
        if (result == -5007) {
            const QList<int> writes = f.writes(display, kTileMatrix);
            QVERIFY(writes.size() > 2);
            QCOMPARE(writes.first(), 1);
            QCOMPARE(writes.count(2), writes.size() - 1);
        } else {
            QCOMPARE(f.writes(display, kTileMatrix), tile_writes);
        }
        QCOMPARE(f.control(display, kTileMatrix), result == -5007 ? 1 : tile_matrix);
        const int adjustment = task == JOB_TASK_ANALOG_AUTO_SETUP ? control_code::kAnalogAutoSetup : control_code::kAnalogAutoBiasGain;
        QCOMPARE(f.writes(display, adjustment).value(0), 1);
        const QStringList steps = run->step_texts();
        QCOMPARE(steps.at(1), QStringLiteral("Disable Tile Matrix"));
        QCOMPARE(steps.contains(QStringLiteral("Restore Tile Matrix")), tile_matrix == 2);
        if (result == 0) {
            // The adjustment's time, a second at a time.
            const int seconds = task == JOB_TASK_ANALOG_AUTO_SETUP ? 11 : 12;
            int pauses = 0;
            for (const job_event &step : run->sub_steps())
                pauses += step.total == seconds ? 1 : 0;
            QCOMPARE(pauses, seconds);
        }
        if (task == JOB_TASK_ANALOG_AUTO_GAIN) {
            const QList<QByteArray> frames = f.frames(display);
            QVERIFY(frames.indexOf("AC01102") < frames.indexOf("AC01100"));
            QCOMPARE(f.wall().with_display(display, [](sim_display &d) { return d.saves; }) - saves_before,
                     refused_restores >= 3 || refused_restores == sim_fault::kForever ? 1 : 0);
        }
    }

    void reads_the_calibration_history_data()
    {
        QTest::addColumn<int>("entries");
        QTest::newRow("two entries, then the end") << 2;
        QTest::newRow("nothing at the first entry") << 0;
        QTest::newRow("ten entries") << 10;
    }
    // Entries are read from 1 until the display has no more: the end is one
    // empty entry.
    void reads_the_calibration_history()
    {
        QFETCH(int, entries);
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_engine, [entries](sim_display &d) {
            d.history.clear();
            for (int i = 0; i < entries; ++i)
                d.history << history_entry(i == 0 ? 3 : 2, quint8(10 + i), "i1DisplayPro");
        });
        const auto identify = f.run(f.job(m_engine, {JOB_TASK_CHECK_CAPABILITIES}));
        QCOMPARE(identify->error_code(), 0);
        const auto run = f.run(f.job(m_engine, {JOB_TASK_READ_CALIBRATION_HISTORY}));
        QCOMPARE(run->error_code(), 0);
        QVERIFY(run->step_texts().contains(QStringLiteral("Reading Calibration History...")));
        monitor_tracker_item record(run->result().job_parameters.model_name,
                                    run->result().job_parameters.serial_number);
        QVERIFY(f.controller().records().GetAdjustValue(record) >= 0);
        const QList<calibration_history_item> history = record.GetCalibrationHistory();
        QCOMPARE(history.size(), qMin(entries + 1, 10));
        if (entries > 0) {
            const calibration_history_item &first = history.first();
            QCOMPARE(first.date_time, QDateTime(QDate(2026, 3, 10), QTime(14, 5)));
            QCOMPARE(first.type, quint8(3));
            QCOMPARE(first.value, qint32(0x12345));
            QCOMPARE(first.sensor_model, QStringLiteral("i1DisplayPro"));
            QCOMPARE(first.further_bytes[0], quint8(5));
            QCOMPARE(first.further_bytes[1], quint8(3));
        }
        if (entries < 10) {
            QCOMPARE(history.last(), empty_history_item());
            QVERIFY(!history.last().date_time.isValid());
            QCOMPARE(history.last().value, -1);
            QCOMPARE(history.last().type, quint8(255));
        }
    }

    // A display without the engine keeps no history; a failing read keeps
    // the history stored before.
    void a_history_that_cannot_be_read()
    {
        wall_task_fixture &f = *m_fixture;
        const auto plain = f.run(f.job(m_newer, {JOB_TASK_READ_CALIBRATION_HISTORY}));
        QCOMPARE(plain->error_code(), 0);
        for (const QByteArray &frame : f.frames(m_newer))
            QVERIFY2(!frame.startsWith("AC25A"), frame.constData());

        QCOMPARE(f.run(f.job(m_engine, {JOB_TASK_CHECK_CAPABILITIES}))->error_code(), 0);
        f.wall().with_display(m_engine, [](sim_display &d) {
            d.history = {history_entry(3, 1, "kept")};
        });
        QCOMPARE(f.run(f.job(m_engine, {JOB_TASK_READ_CALIBRATION_HISTORY}))->error_code(), 0);
        f.wall().with_display(m_engine, [](sim_display &d) { d.scripted_replies.insert("C25A01", "C35A"); });
        const auto failed = f.run(f.job(m_engine, {JOB_TASK_READ_CALIBRATION_HISTORY}));
        f.wall().with_display(m_engine, [](sim_display &d) { d.scripted_replies.remove("C25A01"); });
        QVERIFY(failed->error_code() < 0);
        monitor_tracker_item record(failed->result().job_parameters.model_name,
                                    failed->result().job_parameters.serial_number);
        QVERIFY(f.controller().records().GetAdjustValue(record) >= 0);
        QCOMPARE(record.GetCalibrationHistory().size(), 2);
        QCOMPARE(record.GetCalibrationHistory().first().sensor_model, QStringLiteral("kept"));
    }

    // Entries are written and read back, or only read; a failing entry is
    // reported at the end and the list goes on.
    void processes_the_holidays()
    {
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_newer, [](sim_display &d) {
            d.holidays[6] = {{0x04, 0, 11, 0, 4, 4, 0, 0}};   // the fourth Thursday of November
            d.holidays[8] = {{0x02, 26, 5, 1, 0, 0, 0, 0}};
        });
        job_list_item job = f.job(m_newer, {JOB_TASK_HOLIDAYS});
        holiday_job_entry span = holiday(2, holiday_job_entry::kSpanOfDays);
        span.year = 26;
        span.month = 12;
        span.day = 24;
        span.end_month = 12;
        span.end_day = 26;
        holiday_job_entry refused = holiday(51, holiday_job_entry::kSingleDay);
        holiday_job_entry cleared = holiday(9, holiday_job_entry::kSingleDay);
        cleared.clear = 1;
        job.holiday_list = {span, refused, holiday(7, 0, 0), cleared};
        const auto run = f.run(job);

        QCOMPARE(run->error_code(), -5007);
        const QList<holiday_job_entry> result = run->result().job_parameters.holiday_result;
        QCOMPARE(result.size(), 4);
        QCOMPARE(result.at(0).kind, quint8(holiday_job_entry::kSpanOfDays));
        QCOMPARE(result.at(0).end_day, quint8(26));
        QCOMPARE(result.at(2).kind, quint8(holiday_job_entry::kNthWeekday));
        QCOMPARE(result.at(2).month, quint8(11));
        QCOMPARE(result.at(2).nth, quint8(4));
        QCOMPARE(result.at(2).weekday, quint8(4));
        QCOMPARE(result.at(3).kind, quint8(holiday_job_entry::kSingleDay));
        QCOMPARE(result.at(3).year, 0);
        QCOMPARE(result.at(3).month, quint8(0));
        const auto holidays = f.wall().with_display(m_newer, [](sim_display &d) { return d.holidays; });
        QCOMPARE(holidays[1], (std::array<quint8, 8>{{0x03, 26, 12, 24, 0, 0, 12, 26}}));
        QCOMPARE(holidays[8], (std::array<quint8, 8>{{0x02, 0, 0, 0, 0, 0, 0, 0}}));
        QCOMPARE(run->step_texts().at(1), QStringLiteral("Processing Holidays"));
        QCOMPARE(run->sub_steps().size(), 4);
    }

    void an_empty_list_reports_only_its_step_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<QString>("step");
        QTest::newRow("holidays") << int(JOB_TASK_HOLIDAYS) << "Processing Holidays";
        QTest::newRow("schedules") << int(JOB_TASK_SCHEDULE) << "Schedule Read/Write";
        QTest::newRow("extended schedules") << int(JOB_TASK_SCHEDULE_BANK_12) << "Schedule Read/Write";
    }
    void an_empty_list_reports_only_its_step()
    {
        QFETCH(int, task);
        QFETCH(QString, step);
        wall_task_fixture &f = *m_fixture;
        const auto run = f.run(f.job(m_newer, {task}));
        QCOMPARE(run->error_code(), 0);
        QCOMPARE(run->step_texts(), (QStringList{"Connecting...", step, "Complete", ""}));
        QVERIFY(run->sub_steps().isEmpty());
        QVERIFY(f.frames(m_newer).isEmpty());
    }

    void processes_the_schedules_data()
    {
        QTest::addColumn<int>("task");
        QTest::newRow("basic programs") << int(JOB_TASK_SCHEDULE);
        QTest::newRow("extended programs") << int(JOB_TASK_SCHEDULE_BANK_12);
    }
    // Both banks: written entries come back as the display keeps them, read
    // entries as it has them; a refused entry is the result, the rest go on.
    void processes_the_schedules()
    {
        QFETCH(int, task);
        const bool extended = task == JOB_TASK_SCHEDULE_BANK_12;
        wall_task_fixture &f = *m_fixture;
        job_list_item job = f.job(m_newer, {task});
        schedule_job_entry on_weekdays;
        on_weekdays.program_number = 2;
        on_weekdays.write = 1;
        on_weekdays.event_type = extended ? 1 : 0;
        on_weekdays.on_hour = 7;
        on_weekdays.on_minute = 30;
        on_weekdays.off_hour = extended ? 24 : 22;
        on_weekdays.off_minute = extended ? 60 : 15;
        on_weekdays.input = 17;
        on_weekdays.day_mask = 0x1F;
        on_weekdays.enabled = 1;
        on_weekdays.repeat_mode = 3;
        on_weekdays.year = extended ? 100 : 0;
        on_weekdays.month = extended ? 13 : 0;
        on_weekdays.day = extended ? 32 : 0;
        schedule_job_entry refused = on_weekdays;
        refused.program_number = 40;
        schedule_job_entry read_only;
        read_only.program_number = 2;
        job.schedule_list = {on_weekdays, refused, read_only};
        const auto run = f.run(job);

        QVERIFY(run->error_code() < 0);
        const QList<schedule_job_entry> result = run->result().job_parameters.schedule_result;
        QCOMPARE(result.size(), 3);
        for (int i : {0, 2}) {
            const schedule_job_entry &entry = result.at(i);
            QCOMPARE(entry.on_hour, quint8(7));
            QCOMPARE(entry.on_minute, quint8(30));
            QCOMPARE(entry.input, quint8(17));
            QCOMPARE(entry.day_mask, quint8(0x1F));
            QCOMPARE(entry.enabled, quint8(1));
            QCOMPARE(entry.repeat_mode, quint8(3));
        }
        const QByteArray code = extended ? "AC23E" : "AC222";
        int writes = 0;
        for (const QByteArray &frame : f.frames(m_newer))
            writes += frame.startsWith(code) ? 1 : 0;
        QVERIFY(writes >= 2);
    }

    void the_weekend_days_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("display_mask");
        QTest::addColumn<int>("result");
        QTest::newRow("written") << 1 << 0x41 << 0x41 << 0;
        QTest::newRow("read") << 0 << 0 << 0x60 << 0;
        QTest::newRow("refused") << 1 << 0x80 << 0x60 << -1027;
        QTest::newRow("no request") << -1 << 0x41 << 0x60 << 0;
    }
    void the_weekend_days()
    {
        QFETCH(int, mode);
        QFETCH(int, bits);
        QFETCH(int, display_mask);
        QFETCH(int, result);
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_newer, [](sim_display &d) { d.weekend_mask = 0x60; });
        job_list_item job = f.job(m_newer, {JOB_TASK_GET_SET_VALUE});
        job.weekend.mode = mode;
        job.weekend.bits = static_cast<quint8>(bits);
        const auto run = f.run(job);
        QCOMPARE(run->error_code(), result);
        QCOMPARE(int(f.wall().with_display(m_newer, [](sim_display &d) { return d.weekend_mask; })), display_mask);
        const job_weekend_result &out = run->result().job_parameters.weekend;
        QCOMPARE(out.done, quint8(mode < 0 ? 0 : 1));
        if (mode == 0)
            QCOMPARE(int(out.bits), display_mask);
        if (mode >= 0)
            QCOMPARE(out.result != 0, result != 0);
    }

private:
    std::unique_ptr<wall_task_fixture> m_fixture;
    int m_older = -1;
    int m_newer = -1;
    int m_engine = -1;
};

QTEST_GUILESS_MAIN(tst_display_settings_tasks)
#include "tst_display_settings_tasks.moc"
