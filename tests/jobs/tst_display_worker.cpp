#include "app/services/error_code_table.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_step_plan.h"
#include "jobs/job_task_type.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/jobs/installed_task.h"
#include "tests/jobs/worker_recorder.h"

#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = loopback_block::address(1);
const QString kNobody = loopback_block::address(99);     // nothing listens there
const QString kOtherAddress = loopback_block::address(2);
constexpr int kLan = 1;

job_list_item lan_job(const QList<qint32> &tasks, const QString &address = kAddress)
{
    job_list_item job;
    job.job_id = 42;
    job.position = 3;
    job.connection_key = address;
    job.connection_type = kLan;
    job.monitor_id = 1;
    job.task_list = tasks;
    return job;
}

int succeed(CPDLANConnectionObject &)
{
    return 0;
}

// A worker with its own thread, for the tests that stop it from outside.
struct threaded_worker
{
    explicit threaded_worker(const job_list_item &job) : seen(*worker)
    {
        worker->set_job(job);
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, worker.get(), &CPDLANConnectionObject::run);
        QObject::connect(worker.get(), &CConnectionObject::done, &thread, &QThread::quit, Qt::DirectConnection);
        thread.start();
    }
    ~threaded_worker()
    {
        worker->stop_job();
        thread.wait();
    }

    std::unique_ptr<CPDLANConnectionObject> worker = std::make_unique<CPDLANConnectionObject>();
    QThread thread;
    worker_recorder seen;
};

} // namespace

class tst_display_worker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        wait_service::set_time_scale(0.01);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        m_endpoint = m_wall.add_lan_endpoint(kAddress);
        m_display = m_wall.add_display(m_endpoint, 'A');
        QVERIFY2(m_endpoint >= 0 && m_display >= 0,
                 qPrintable(QStringLiteral("cannot listen on %1:7142").arg(kAddress)));
    }
    void init()
    {
        m_wall.set_fault(m_display, sim_fault_kind::none, 0);
        m_wall.clear_log();
    }

    void counts_the_steps_of_a_task_list_data()
    {
        QTest::addColumn<QList<qint32>>("tasks");
        QTest::addColumn<int>("pattern_mode");
        QTest::addColumn<int>("inputs");
        QTest::addColumn<bool>("measure_after");
        QTest::addColumn<int>("total");
        QTest::addColumn<bool>("identify");
        using L = QList<qint32>;
        QTest::newRow("empty") << L{} << 0 << 0 << false << 1 << false;
        QTest::newRow("reserved and unknown numbers") << L{2, 99, -1} << 0 << 0 << false << 4 << false;
        QTest::newRow("verify") << L{0} << 0 << 0 << false << 3 << true;
        QTest::newRow("a task listed twice counts its extras once") << L{0, 0} << 0 << 0 << false << 4 << true;
        QTest::newRow("restore and update tables") << L{4, 5} << 0 << 0 << false << 11 << true;
        QTest::newRow("measure primaries") << L{3} << 0 << 0 << false << 6 << true;
        QTest::newRow("calibrated white pattern") << L{6} << 2 << 0 << false << 3 << true;
        QTest::newRow("pattern with the visual trim") << L{6} << 3 << 0 << false << 3 << true;
        QTest::newRow("plain pattern") << L{6} << 1 << 0 << false << 2 << false;
        QTest::newRow("calibrate") << L{19} << 0 << 0 << false << 9 << true;
        QTest::newRow("calibrate and measure afterwards") << L{19} << 0 << 0 << true << 10 << true;
        QTest::newRow("calibrate with evaluation pattern") << L{19, 6} << 3 << 0 << false << 11 << true;
        QTest::newRow("initialize") << L{1} << 0 << 0 << false << 5 << false;
        QTest::newRow("initialize for the engine") << L{26} << 0 << 0 << false << 8 << true;
        QTest::newRow("picture settings of two inputs") << L{12} << 0 << 2 << false << 9 << true;
        QTest::newRow("analog setup, bias and gain") << L{10, 11} << 0 << 0 << false << 8 << false;
        QTest::newRow("initialize and update tables") << L{17} << 0 << 0 << false << 5 << false;
        QTest::newRow("table read test") << L{16} << 0 << 0 << false << 5 << true;
        QTest::newRow("calibration history") << L{27} << 0 << 0 << false << 4 << true;
        QTest::newRow("settings tasks") << L{7, 8, 9, 13, 14, 18, 20, 21, 22, 23, 24, 25} << 0 << 0 << false << 13
                                        << false;
    }
    void counts_the_steps_of_a_task_list()
    {
        QFETCH(QList<qint32>, tasks);
        QFETCH(int, pattern_mode);
        QFETCH(int, inputs);
        QFETCH(bool, measure_after);
        QFETCH(int, total);
        QFETCH(bool, identify);
        job_list_item job;
        job.task_list = tasks;
        job.test_pattern_mode = pattern_mode;
        for (int i = 0; i < inputs; ++i)
            job.input_list << 0x11 + i;
        const job_step_plan plan = plan_job_steps(job, measure_after);
        QCOMPARE(plan.total, total);
        QCOMPARE(plan.identify, identify);
    }

    void an_empty_list_connects_completes_and_releases_the_link()
    {
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        worker.set_job(lan_job({}));
        const int connections = m_wall.connection_count(m_endpoint);
        worker.run();

        QCOMPARE(seen.step_texts(), (QStringList{"Connecting...", "Complete", ""}));
        QCOMPARE(seen.steps().at(0).total, 1);
        QCOMPARE(seen.steps().at(1).step, 1);
        QCOMPARE(seen.steps().at(1).total, 1);
        QCOMPARE(seen.steps().at(2).total, 0);
        QCOMPARE(seen.done(), QList<int>{42});
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, 0);
        QCOMPARE(result.job_parameters.verify_status, -1);
        QVERIFY(result.job_parameters.finish_time.isValid());
        // The simulated display counts the connection on its own thread,
        // which a busy machine may run after the worker has already let go.
        QTRY_COMPARE(m_wall.connection_count(m_endpoint), connections + 1);
        QVERIFY(link_released(worker));
        QCOMPARE(worker.status(), 0);
    }

    void identifies_the_display_once()
    {
        installed_task stand_in(JOB_TASK_CHECK_CAPABILITIES, &succeed);
        installed_task history(JOB_TASK_READ_CALIBRATION_HISTORY, [](CPDLANConnectionObject &worker) {
            return worker.display_identified() ? 0 : -1;
        });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        worker.set_job(lan_job({JOB_TASK_CHECK_CAPABILITIES, JOB_TASK_READ_CALIBRATION_HISTORY}));
        worker.run();

        QCOMPARE(seen.step_texts(), (QStringList{"Connecting...", "Identifying display", "Complete", ""}));
        QCOMPARE(seen.steps().at(1).step, 1);
        QCOMPARE(seen.steps().at(1).total, 5);
        QCOMPARE(seen.sub_step_texts(),
                 (QStringList{"Reading Model Name.", "Reading Serial Number.", " "}));
        QCOMPARE(seen.sub_steps().at(2).step, 2);
        QCOMPARE(seen.sub_steps().at(2).total, 2);
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.model_name, QStringLiteral("SIM-WALL 55"));
        QCOMPARE(result.job_parameters.serial_number, QStringLiteral("SIM0000001"));
        QCOMPARE(result.job_parameters.error_code, 0);
        int model_reads = 0;
        for (const sim_log_entry &frame : m_wall.log())
            model_reads += frame.body.startsWith("C217") ? 1 : 0;
        QCOMPARE(model_reads, 1);
    }

    void a_display_that_cannot_be_opened_or_identified_ends_the_job_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("refuses");
        QTest::newRow("nothing listens") << kNobody << false;
        QTest::newRow("the display refuses every request") << kAddress << true;
    }
    void a_display_that_cannot_be_opened_or_identified_ends_the_job()
    {
        QFETCH(QString, address);
        QFETCH(bool, refuses);
        installed_task stand_in(JOB_TASK_CHECK_CAPABILITIES, &succeed);
        if (refuses)
            m_wall.set_fault(m_display, sim_fault_kind::refuse_be);
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        worker.set_job(lan_job({JOB_TASK_CHECK_CAPABILITIES}, address));
        worker.run();

        const job_list_item result = seen.result();
        QVERIFY(result.job_parameters.error_code < 0);
        QCOMPARE(result.job_parameters.verify_status, 2);
        QCOMPARE(result.job_parameters.error_text, error_code_text(result.job_parameters.error_code));
        QVERIFY(!seen.step_texts().contains(QStringLiteral("Complete")));
        QCOMPARE(result.effective_result(), result.job_parameters.error_code);
        QCOMPARE(seen.done(), QList<int>{42});
        QVERIFY(link_released(worker));
        QCOMPARE(result.job_parameters.connection_lost, quint8(0));
    }

    void a_link_failing_under_a_task_marks_the_connection_lost_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("lost");
        QTest::newRow("-1026") << -1026 << true;
        QTest::newRow("-1008") << -1008 << true;
        QTest::newRow("-1003") << -1003 << true;
        QTest::newRow("-1000") << -1000 << true;
        QTest::newRow("-1027") << -1027 << false;
        QTest::newRow("-5001") << -5001 << false;
    }
    void a_link_failing_under_a_task_marks_the_connection_lost()
    {
        QFETCH(int, code);
        QFETCH(bool, lost);
        static int failure = 0;
        failure = code;
        installed_task failing(JOB_TASK_MEASURE, [](CPDLANConnectionObject &) { return failure; });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        worker.set_job(lan_job({JOB_TASK_MEASURE, JOB_TASK_POWER_STATE}));
        worker.run();
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, code);
        QCOMPARE(result.job_parameters.connection_lost, quint8(lost ? 1 : 0));
        QCOMPARE(result.job_parameters.power.done, quint8(0));
        QCOMPARE(result.job_parameters.error_text, error_code_text(code));
        QCOMPARE(result.result, 0);
    }

    void a_task_without_operation_fails_the_job_naming_it()
    {
        installed_task missing(JOB_TASK_CALIBRATE, nullptr);
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        worker.set_job(lan_job({JOB_TASK_RESERVED, 27 + 1, -3, JOB_TASK_CALIBRATE, JOB_TASK_VCP_LIST}));
        worker.run();
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, qint32(JOB_RESULT_TASK_NOT_AVAILABLE));
        QVERIFY2(result.job_parameters.error_text.contains(QStringLiteral("Calibration")),
                 qPrintable(result.job_parameters.error_text));
        QVERIFY(result.job_parameters.error_text.contains(QStringLiteral("19")));
        QVERIFY(!seen.step_texts().contains(QStringLiteral("Complete")));
    }

    void passes_over_reserved_and_unknown_numbers()
    {
        m_wall.with_display(m_display, [](sim_display &d) { d.controls.set(0x10, 50, 100); });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_RESERVED, 28, -1, JOB_TASK_VCP_LIST});
        job.vcp_list << vcp_list_item::read(0x10);
        worker.set_job(job);
        worker.run();
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, 0);
        QCOMPARE(result.job_parameters.vcp_list_result.size(), 1);
        QCOMPARE(result.job_parameters.vcp_list_result.first().value, 50);
        QCOMPARE(seen.step_texts().last(), QString());
        QCOMPARE(seen.step_texts().at(seen.step_texts().size() - 2), QStringLiteral("Complete"));
    }

    void switches_the_power_with_read_back()
    {
        m_wall.with_display(m_display, [](sim_display &d) { d.controls.set(0xD6, 4, 4); });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_POWER_STATE});
        job.power.set = 1;
        job.power.read_back = 1;
        job.power.mode = job_power_request::kOn;
        worker.set_job(job);
        worker.run();

        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, 0);
        QCOMPARE(result.job_parameters.power.done, quint8(1));
        QCOMPARE(result.job_parameters.power.mode, 1);
        QCOMPARE(result.job_parameters.power.result, 0);
        QVERIFY(seen.step_texts().contains(QStringLiteral("Setting power state...")));
        QList<QByteArray> power_frames;
        for (const sim_log_entry &frame : m_wall.log())
            if (frame.body.contains("D6"))
                power_frames << frame.body;
        QCOMPARE(power_frames, (QList<QByteArray>{"01D6", "C203D60001", "01D6"}));
        QCOMPARE(worker.link().get_retry_count(), 10);
    }

    void reads_the_power_state_without_switching()
    {
        m_wall.with_display(m_display, [](sim_display &d) { d.controls.set(0xD6, 4, 4); });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_POWER_STATE});
        job.power.read_back = 1;
        worker.set_job(job);
        worker.run();
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.power.mode, 4);
        QCOMPARE(result.job_parameters.power.done, quint8(1));
        QCOMPARE(m_wall.with_display(m_display, [](sim_display &d) { return int(d.controls.find(0xD6)->current); }), 4);
        QVERIFY(!seen.step_texts().contains(QStringLiteral("Setting power state...")));
    }

    void a_refused_power_switch_is_the_tasks_result()
    {
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_POWER_STATE, JOB_TASK_IR_SEQUENCE});
        job.power.set = 1;
        job.power.mode = 9;     // beyond the display's maximum
        job.ir_sequence = QByteArray("\x05", 1);
        worker.set_job(job);
        worker.run();
        const job_list_item result = seen.result();
        QVERIFY(result.job_parameters.error_code < 0);
        QCOMPARE(result.job_parameters.power.result, result.job_parameters.error_code);
        QCOMPARE(result.job_parameters.power.done, quint8(1));
        QVERIFY2(m_wall.with_display(m_display, [](sim_display &d) { return d.ir_keys.isEmpty(); }),
                 "the list ends at the first failing task");
    }

    void applies_the_control_list_keeping_every_entrys_result()
    {
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_VCP_LIST, JOB_TASK_IR_SEQUENCE});
        job.vcp_list << vcp_list_item::write(0x10, 40) << vcp_list_item::write(0x2EE, 1)
                     << vcp_list_item::read(0x12);
        job.ir_sequence = QByteArray("\x05", 1);
        worker.set_job(job);
        worker.run();

        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, -1027);
        const QList<vcp_list_item> entries = result.job_parameters.vcp_list_result;
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(0).result, 0);
        QCOMPARE(entries.at(1).result, -1027);
        QCOMPARE(entries.at(2).result, 0);
        QCOMPARE(entries.at(2).value, 50);
        QCOMPARE(m_wall.with_display(m_display, [](sim_display &d) { return int(d.controls.find(0x10)->current); }), 40);
        QCOMPARE(result.vcp_list.first().result, 0);
        QVERIFY(!seen.sub_steps().isEmpty());
        QCOMPARE(seen.sub_steps().last().step, 3);
        QCOMPARE(seen.sub_steps().last().total, 3);
        QVERIFY(m_wall.with_display(m_display, [](sim_display &d) { return d.ir_keys.isEmpty(); }));
    }

    void sends_the_remote_control_keys()
    {
        m_wall.with_display(m_display, [](sim_display &d) { d.ir_keys.clear(); });
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_IR_SEQUENCE});
        job.ir_sequence = QByteArray("\x03\x00\x1F", 3);
        worker.set_job(job);
        worker.run();
        const job_list_item result = seen.result();
        QCOMPARE(result.job_parameters.error_code, 0);
        QCOMPARE(result.job_parameters.ir_result, 0);
        QCOMPARE(m_wall.with_display(m_display, [](sim_display &d) { return d.ir_keys; }),
                 (QList<quint16>{0x03, 0x1F}));
        QList<QByteArray> key_frames;
        for (const sim_log_entry &frame : m_wall.log())
            if (frame.body.startsWith("C210"))
                key_frames << frame.body;
        QCOMPARE(key_frames, (QList<QByteArray>{"C210000303", "C210001F03"}));
    }

    void a_stop_during_a_wait_ends_the_job()
    {
        installed_task waiting(JOB_TASK_MEASURE, [](CPDLANConnectionObject &worker) {
            return worker.sleep_with_status(3600 * 1000);
        });
        threaded_worker run(lan_job({JOB_TASK_MEASURE}));
        QTRY_VERIFY(!run.seen.status().isEmpty());
        const calibration_job_status_info_item first = run.seen.status().first();
        QCOMPARE(first.kind, qint32(CAL_STATUS_WAIT));
        QCOMPARE(first.value, 3600 * 1000);
        QCOMPARE(first.position, 3);

        // The hour's wait takes 36 s at this time scale: ending within the
        // time-out shows that the stop cut it short.
        run.worker->stop_job();
        QTRY_COMPARE_WITH_TIMEOUT(run.seen.done().size(), 1, 5000);
        const job_list_item result = run.seen.result();
        QCOMPARE(result.result, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(result.job_parameters.error_code, qint32(JOB_RESULT_STOPPED));
        QVERIFY(!run.seen.step_texts().contains(QStringLiteral("Complete")));
    }

    // A display that falls silent mid-list: the link repeats its command
    // after a pause; a stop in that pause ends the job at once, without a
    // further frame or reopen, and before the pause has run out (counted in
    // nominal time, not timed).
    void a_stop_cuts_the_repeat_pause_short()
    {
        wait_service::set_time_scale(0.5);
        job_list_item job = lan_job({JOB_TASK_VCP_LIST});
        job.vcp_list << vcp_list_item::write(0x10, 40) << vcp_list_item::write(0x12, 30)
                     << vcp_list_item::write(0x10, 41);
        // The first write answered, then silence.
        const int answered = 1;
        m_wall.set_fault(m_display, sim_fault_kind::silent, sim_fault::kForever, answered);
        threaded_worker run(job);
        QTRY_VERIFY_WITH_TIMEOUT(m_wall.log().size() > answered, 5000);
        const qint64 waited_before = wait_service::nominal_ms_waited();
        QTRY_VERIFY_WITH_TIMEOUT(wait_service::nominal_ms_waited() > waited_before, 10000);
        run.worker->stop_job();
        QTRY_COMPARE_WITH_TIMEOUT(run.seen.done().size(), 1, 10000);
        const qint64 paused = wait_service::nominal_ms_waited() - waited_before;
        wait_service::set_time_scale(0.01);
        QCOMPARE(run.seen.result().job_parameters.error_code, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(m_wall.log().size(), answered + 1);
        QCOMPARE(m_wall.connection_count(m_endpoint), 1);
        QVERIFY2(paused < 1000, qPrintable(QString::number(paused)));
    }

    void a_stopped_job_starts_no_further_task()
    {
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        job_list_item job = lan_job({JOB_TASK_IR_SEQUENCE});
        job.ir_sequence = QByteArray("\x05", 1);
        worker.set_job(job);
        worker.stop_job();
        worker.run();
        QCOMPARE(seen.result().result, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(m_wall.log().size(), 0);
    }

    void a_sub_object_is_stopped_while_it_is_in_scope()
    {
        CPDLANConnectionObject worker;
        int stops = 0;
        {
            CPDLANConnectionObject::stoppable_scope scope(worker, [&stops] { ++stops; });
            worker.stop_job();
            QCOMPARE(stops, 1);
        }
        worker.stop_job();
        QCOMPARE(stops, 1);
        CPDLANConnectionObject::stoppable_scope late(worker, [&stops] { ++stops; });
        QCOMPARE(stops, 2);
    }

    void waits_report_their_steps_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<int>("total");
        QTest::newRow("2500 ms") << 2500 << QList<int>{0, 1, 2} << 2;
        QTest::newRow("1000 ms") << 1000 << QList<int>{0} << 1;
        QTest::newRow("nothing") << 0 << QList<int>{} << 0;
    }
    void waits_report_their_steps()
    {
        QFETCH(int, ms);
        QFETCH(QList<int>, steps);
        QFETCH(int, total);
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        QCOMPARE(worker.pause_with_progress(ms), 0);
        QList<int> reported;
        for (const worker_recorder::progress &p : seen.sub_steps()) {
            reported << p.step;
            QCOMPARE(p.total, total);
        }
        QCOMPARE(reported, steps);

        QCOMPARE(worker.sleep_with_status(ms), 0);
        QList<int> left;
        for (const calibration_job_status_info_item &item : seen.status())
            left << item.value;
        QList<int> expected;
        for (int rest = ms; rest > 0; rest -= 1000)
            expected << rest;
        QCOMPARE(left, expected);
    }

    void waits_until_the_engine_is_ready_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("waits");
        QTest::newRow("idle engine") << QByteArray("VW-5540QE") << 0 << 0;
        QTest::newRow("no engine") << QByteArray() << -1 << 20;
    }
    void waits_until_the_engine_is_ready()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, result);
        QFETCH(int, waits);
        simulated_wall wall;
        const int display = wall.add_display(wall.add_lan_endpoint(kOtherAddress), 'A');
        QVERIFY(display >= 0);
        if (!model.isEmpty())
            QVERIFY(wall.with_display(display, [&](sim_display &d) { return d.apply_model(model); }));
        CPDLANConnectionObject worker;
        worker_recorder seen(worker);
        QCOMPARE(worker.link().open_link(kOtherAddress, kLan), 0);
        worker.link().set_monitor_id('A');
        QCOMPARE(worker.wait_until_ready(), result);
        QCOMPARE(seen.status().size(), waits);
        for (const calibration_job_status_info_item &item : seen.status()) {
            QCOMPARE(item.kind, qint32(CAL_STATUS_WAIT));
            QCOMPARE(item.value, 1000);
        }
    }

    void status_reports_carry_their_kind_and_payload()
    {
        CPDLANConnectionObject worker;
        job_list_item job;
        job.position = 7;
        worker.set_job(job);
        worker_recorder seen(worker);
        worker.StartingDefinedTask(9);
        worker.StartingDefinedSubTask(20);
        worker.SetInstructionMessageString(QStringLiteral("Place the sensor"));
        worker.play_audio_message(1, QStringLiteral("say this"));
        worker.sleepTime(4000);
        worker.misc_status(1);
        worker.SetWhitePointTargetxy(0.3127, 0.329);
        worker.SetWhitePointMeasuredValue(0.31, 0.33, 180.5);
        worker.SetWhiteLevelTarget(200.0);
        worker.SetWhiteLevelTargetMinMax(190.0, 210.0);
        worker.ShowWhiteLevelTarget(true);
        worker.SetBlackLevelMeasuredValue(0.25);
        worker.SetBlackLevelTargetMinMax(0.1, 0.4);
        const QList<calibration_job_status_info_item> items = seen.status();
        QList<int> kinds;
        for (const calibration_job_status_info_item &item : items) {
            kinds << item.kind;
            QCOMPARE(item.position, 7);
        }
        QCOMPARE(kinds, (QList<int>{1, 1, 2, 3, 4, 5, 10, 11, 20, 22, 23, 30, 32}));
        QCOMPARE(items.at(1).value, 20);
        QCOMPARE(items.at(2).text, QStringLiteral("Place the sensor"));
        QCOMPARE(items.at(3).value, 1);
        QCOMPARE(items.at(3).text, QStringLiteral("say this"));
        QCOMPARE(items.at(4).value, 4000);
        QCOMPARE(items.at(7).d3, 180.5);
        QCOMPARE(items.at(9).d2, 210.0);
        QCOMPARE(items.at(10).value, 1);
        QCOMPARE(items.at(12).d1, 0.1);

        worker.calibration_sub_task_progress(2, 5, QStringLiteral("Red"));
        worker.set_get_vcp_progess(3, 4);
        QCOMPARE(seen.sub_steps().at(0).text, QStringLiteral("Red"));
        QCOMPARE(seen.sub_steps().at(1).step, 3);
        QCOMPARE(seen.sub_steps().at(1).text, QString());
    }

private:
    // Whether the worker's link has let go of the display: a command sent
    // through it fails without reaching the display.
    bool link_released(CPDLANConnectionObject &worker)
    {
        m_wall.clear_log();
        QString text;
        return worker.link().get_model_name(text) != 0 && m_wall.log().isEmpty();
    }

    simulated_wall m_wall;
    int m_endpoint = -1;
    int m_display = -1;
};

QTEST_GUILESS_MAIN(tst_display_worker)
#include "tst_display_worker.moc"
