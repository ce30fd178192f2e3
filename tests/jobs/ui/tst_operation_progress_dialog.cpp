#include "app/controller/layout_manager.h"
#include "app/services/error_code_table.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_calibration_step_display_widget.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/jobs/fake_worker.h"
#include "tests/support/headless_controller.h"
#include "tests/support/widget_images.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

const QString kFirstAddress = QStringLiteral("127.0.152.1");

// The controller with a wall of |displays| and a pool of fake workers.
struct dialog_fixture
{
    explicit dialog_fixture(int displays)
    {
        wall.create_wall(displays, 1, kFirstAddress);
        pool = new QueryThreadPool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        wall.controller().setQueryThreadPool(pool);
        CPreferences *preferences = wall.controller().getPreferences();
        preferences->SetPlayVoicePromptAudio(true);
        preferences->SetUseTextToSpeechEngine(true);
    }

    fake_worker_gate gate;      // outlives the pool, which the controller destroys
    headless_controller wall;
    QueryThreadPool *pool = nullptr;
};

job_list_item tasks(const QList<qint32> &list)
{
    job_list_item job;
    job.task_list = list;
    return job;
}

template <typename T>
T *part(QDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s in the dialog", name);
    return widget;
}

QString label(QDialog &dialog, const char *name)
{
    return part<QLabel>(dialog, name)->text();
}

QTableWidget *table(QDialog &dialog)
{
    return part<QTableWidget>(dialog, "job_tableWidget");
}

QString status_of(QDialog &dialog, int row)
{
    return table(dialog)->item(row, 4)->text();
}

QProgressBar *bar_of(QDialog &dialog, int row)
{
    return qobject_cast<QProgressBar *>(table(dialog)->cellWidget(row, 3));
}

void fail_position(fake_worker_gate &gate, int position, int code)
{
    gate.set_outcome([position, code](job_list_item &job) {
        if (job.position == position)
            job.job_parameters.error_code = code;
    });
}

} // namespace

class tst_operation_progress_dialog : public QObject
{
    Q_OBJECT

private slots:
    void one_good_job_closes_the_dialog_after_the_close_time_or_at_once_data()
    {
        QTest::addColumn<bool>("immediately");
        QTest::newRow("after the close time") << false;
        QTest::newRow("at once") << true;
    }
    void one_good_job_closes_the_dialog_after_the_close_time_or_at_once()
    {
        QFETCH(bool, immediately);
        dialog_fixture fx(1);
        wait_service::set_time_scale(0.01);     // the 3000 ms close time takes 30 ms
        fx.gate.release_all();
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.set_close_immediately(immediately);
        bool closed_when_done = false;
        bool done = false;
        connect(fx.pool, &QueryThreadPool::num_jobs_running, this, [&](int running) {
            if (running == 0 && fx.pool->pending_count() == 0 && !done) {
                done = true;
                closed_when_done = dialog.result() == QDialog::Accepted;
            }
        });
        dialog.show();
        QCOMPARE(dialog.add_job(tasks({JOB_TASK_POWER_STATE}), {0}, QStringLiteral("Power")), 0);
        QCOMPARE(dialog.start_jobs(), 0);
        QVERIFY(!part<QLabel>(dialog, "overall_progress_label")->isVisible());
        QVERIFY(!part<QLabel>(dialog, "overall_progress_value_label")->isVisible());
        QVERIFY(label(dialog, "instruction_label").contains(QStringLiteral("Power")));
        QTRY_VERIFY(done);
        QCOMPARE(closed_when_done, immediately);
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.get_job_results().size(), 1);
        QVERIFY(!part<QLabel>(dialog, "overall_progress_label")->isVisible());
        QVERIFY(fx.wall.voice().events.isEmpty());
    }

    void a_failed_job_keeps_the_dialog_open_and_is_not_counted()
    {
        dialog_fixture fx(3);
        wait_service::set_time_scale(0.01);
        fail_position(fx.gate, 1, -1027);
        fx.gate.release_all();
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.show();
        dialog.add_job(tasks({JOB_TASK_VCP_LIST}), {0, 1, 2}, QStringLiteral("Settings"));
        dialog.start_jobs();
        QVERIFY(part<QLabel>(dialog, "overall_progress_value_label")->isVisible());
        QTRY_COMPARE(dialog.get_job_results().size(), 3);
        QTRY_COMPARE(label(dialog, "overall_progress_value_label"), QStringLiteral("2 of 3 completed"));
        QTRY_VERIFY(part<QPushButton>(dialog, "close_pushButton")->isEnabled());

        const QString message = error_code_text(-1027);
        QCOMPARE(status_of(dialog, 1), message);
        QCOMPARE(table(dialog)->item(1, 4)->toolTip(), message);
        QCOMPARE(table(dialog)->item(1, 4)->foreground().color(), QColor(Qt::red));
        QCOMPARE(label(dialog, "instruction_label"), string_resource(1102));
        QVERIFY(table(dialog)->item(1, 0)->isSelected());
        QVERIFY(part<QPushButton>(dialog, "retry_pushButton")->isEnabled());
        QVERIFY(!part<QPushButton>(dialog, "cancel_jobs_pushButton")->isEnabled());
        QVERIFY(!bar_of(dialog, 1)->isEnabled());
        QVERIFY(bar_of(dialog, 0)->isEnabled());
        QTest::qWait(100);
        QVERIFY2(dialog.isVisible() && dialog.result() == 0, "an error keeps the dialog open");

        table(dialog)->selectRow(0);
        QVERIFY(!part<QPushButton>(dialog, "retry_pushButton")->isEnabled());
        const QList<job_list_item> results = dialog.get_job_results();
        QVERIFY(results.at(0).job_id < results.at(1).job_id && results.at(1).job_id < results.at(2).job_id);

        QTest::mouseClick(part<QPushButton>(dialog, "close_pushButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void a_retried_display_reuses_its_row()
    {
        dialog_fixture fx(2);
        fail_position(fx.gate, 0, -5001);
        fx.gate.release_all();
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.show();
        dialog.add_job(tasks({JOB_TASK_VCP_LIST}), {0, 1});
        dialog.start_jobs();
        QTRY_COMPARE(label(dialog, "overall_progress_value_label"), QStringLiteral("1 of 2 completed"));
        QTRY_VERIFY(part<QPushButton>(dialog, "close_pushButton")->isEnabled());
        const int failed_id = dialog.get_job_results().first().job_id;

        fx.gate.set_outcome(nullptr);
        table(dialog)->selectRow(0);
        QTest::mouseClick(part<QPushButton>(dialog, "retry_pushButton"), Qt::LeftButton);
        QCOMPARE(table(dialog)->rowCount(), 2);
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(table(dialog)->rowCount(), 2);
        const QList<job_list_item> results = dialog.get_job_results();
        QCOMPARE(results.size(), 2);
        QVERIFY(results.last().job_id > failed_id);
        QCOMPARE(results.last().position, 0);
        QCOMPARE(results.last().job_parameters.error_code, 0);
        QCOMPARE(label(dialog, "overall_progress_value_label"), QStringLiteral("2 of 2 completed"));
    }

    void cancelling_stops_the_running_job_and_cancels_the_pending_ones()
    {
        dialog_fixture fx(3);
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.show();
        dialog.add_job(tasks({JOB_TASK_MEASURE_PRIMARIES}), {0, 1, 2});
        dialog.start_jobs();
        QTRY_COMPARE(fx.gate.inside().size(), 1);     // sensor jobs run one at a time
        const int running = fx.gate.inside().first();
        fx.gate.set_behaviour(running, fake_worker_gate::stuck);

        QTest::mouseClick(part<QPushButton>(dialog, "cancel_jobs_pushButton"), Qt::LeftButton);
        QCOMPARE(label(dialog, "instruction_label"), string_resource(199));
        QVERIFY(!part<QPushButton>(dialog, "cancel_jobs_pushButton")->isEnabled());
        QCOMPARE(status_of(dialog, 1), error_code_text(JOB_RESULT_CANCELLED));
        QCOMPARE(status_of(dialog, 2), error_code_text(JOB_RESULT_CANCELLED));
        QVERIFY(dialog.isVisible());
        QTest::qWait(30);
        QCOMPARE(label(dialog, "instruction_label"), string_resource(199));

        fx.gate.set_behaviour(running, fake_worker_gate::blocking);
        QTRY_COMPARE(dialog.get_job_results().size(), 3);
        QTRY_VERIFY(part<QPushButton>(dialog, "close_pushButton")->isEnabled());
        QCOMPARE(dialog.get_job_results().first().result, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(label(dialog, "instruction_label"), string_resource(1103));
        QVERIFY2(dialog.isVisible(), "cancelled jobs leave the dialog open");
        QVERIFY2(fx.wall.voice().events.isEmpty(), "a cancelled operation is not announced as an error");

        dialog.reject();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Real workers on simulated displays, one job at a time: the first
    // display falls silent mid-list and its link waits to repeat the command;
    // Cancel then ends that job at once (no further frame, no reopen, less of
    // the 1000 ms repeat pause waited than it lasts, counted not timed) and
    // the second display's job, still pending, is cancelled.
    void cancel_cuts_a_silent_displays_retries_short()
    {
        simulated_wall sim;
        QList<int> endpoints;
        for (int i = 0; i < 2; ++i) {
            endpoints << sim.add_lan_endpoint(loopback_block::address(41 + i));
            QVERIFY2(endpoints.last() >= 0, qPrintable(loopback_block::claim_error()));
            QVERIFY(sim.add_display(endpoints.last(), 'A') >= 0);
        }
        const int silent = 0;
        sim.set_fault(silent, sim_fault_kind::silent, sim_fault::kForever, 1);
        headless_controller wall;
        wall.create_wall(2, 1, loopback_block::address(41));
        wall.controller().setQueryThreadPool(new QueryThreadPool(QueryThreadPool::display_workers(), 1));
        wait_service::set_time_scale(0.5);
        wait_service::set_io_timeout_floor_ms(100);

        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.show();
        job_list_item job = tasks({JOB_TASK_VCP_LIST});
        job.vcp_list << vcp_list_item::write(0x10, 40) << vcp_list_item::write(0x12, 30);
        dialog.add_job(job, {0, 1});
        dialog.start_jobs();
        QTRY_VERIFY_WITH_TIMEOUT(sim.log().size() == 2, 5000);
        const qint64 waited_before = wait_service::nominal_ms_waited();
        QTRY_VERIFY_WITH_TIMEOUT(wait_service::nominal_ms_waited() > waited_before, 10000);
        QTest::mouseClick(part<QPushButton>(dialog, "cancel_jobs_pushButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.get_job_results().size(), 2, 10000);
        const qint64 paused = wait_service::nominal_ms_waited() - waited_before;
        wait_service::set_time_scale(0.0);

        const QList<job_list_item> results = dialog.get_job_results();
        const job_list_item &stopped = results.at(0).position == 0 ? results.at(0) : results.at(1);
        const job_list_item &pending = results.at(0).position == 0 ? results.at(1) : results.at(0);
        QCOMPARE(stopped.job_parameters.error_code, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(pending.result, qint32(JOB_RESULT_CANCELLED));
        QCOMPARE(sim.log().size(), 2);
        QCOMPARE(sim.connection_count(endpoints.at(silent)), 1);
        QCOMPARE(sim.connection_count(endpoints.at(1)), 0);
        QVERIFY2(paused < 1000, qPrintable(QString::number(paused)));
        dialog.reject();
    }

    void a_sensor_operation_announces_its_first_error_once_data()
    {
        QTest::addColumn<bool>("speech");
        QTest::addColumn<QString>("event");
        QTest::newRow("spoken") << true << "say An error has occurred";
        QTest::newRow("recorded prompt") << false << "beep";   // the test has no prompt files
    }
    void a_sensor_operation_announces_its_first_error_once()
    {
        QFETCH(bool, speech);
        QFETCH(QString, event);
        dialog_fixture fx(2);
        fx.wall.controller().getPreferences()->SetUseTextToSpeechEngine(speech);
        fx.gate.set_outcome([](job_list_item &job) { job.job_parameters.error_code = -1004; });
        fx.gate.release_all();
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.add_job(tasks({JOB_TASK_MEASURE_PRIMARIES}), {0, 1});
        dialog.start_jobs();
        QTRY_COMPARE(dialog.get_job_results().size(), 2);
        QCOMPARE(fx.wall.voice().events, QStringList{event});
    }

    void a_good_calibration_queues_exactly_one_lookup_table_job_data()
    {
        QTest::addColumn<QList<qint32>>("calibration");
        QTest::addColumn<int>("pattern_mode");
        QTest::addColumn<QList<qint32>>("follow_up");
        QTest::newRow("calibration") << QList<qint32>{JOB_TASK_CALIBRATE} << 0 << QList<qint32>{JOB_TASK_UPDATE_LUTS};
        QTest::newRow("evaluated with the trimmed white")
            << QList<qint32>{JOB_TASK_CALIBRATE, JOB_TASK_TEST_PATTERNS} << 3
            << QList<qint32>{JOB_TASK_UPDATE_LUTS, JOB_TASK_TEST_PATTERNS};
    }
    void a_good_calibration_queues_exactly_one_lookup_table_job()
    {
        QFETCH(QList<qint32>, calibration);
        QFETCH(int, pattern_mode);
        QFETCH(QList<qint32>, follow_up);
        dialog_fixture fx(2);
        fx.gate.set_outcome([](job_list_item &job) { job.job_parameters.follow_up_lut_update = 1; });
        fx.gate.release_all();
        KQ_multithreaded_operation_progress_dialog dialog;
        job_list_item job = tasks(calibration);
        job.test_pattern_mode = pattern_mode;
        dialog.add_job(job, {1});
        QVERIFY(part<QGroupBox>(dialog, "calibration_information_groupBox")->isVisibleTo(&dialog));
        QVERIFY(!part<QGroupBox>(dialog, "calibration_information_groupBox")->isEnabled());
        dialog.start_jobs();
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<job_list_item> results = dialog.get_job_results();
        QCOMPARE(results.size(), 2);
        QCOMPARE(results.at(0).task_list, calibration);
        QCOMPARE(results.at(0).exclusive, 1);
        QCOMPARE(results.at(1).task_list, follow_up);
        QCOMPARE(results.at(1).position, 1);
        QCOMPARE(results.at(1).exclusive, 0);
        QCOMPARE(results.at(1).test_pattern_mode, pattern_mode);
        QCOMPARE(table(dialog)->rowCount(), 1);
    }

    void calibration_reports_drive_the_panel()
    {
        dialog_fixture fx(2);
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.resize(700, 700);
        dialog.show();
        dialog.add_job(tasks({JOB_TASK_CALIBRATE}), {0, 1});
        dialog.start_jobs();
        QTRY_COMPARE(fx.gate.inside().size(), 1);
        const int id = fx.gate.inside().first();
        const auto report = [&](qint32 kind, qint32 value, double d1, double d2, double d3, const QString &text,
                                int position) {
            calibration_job_status_info_item item;
            item.kind = kind;
            item.value = value;
            item.d1 = d1;
            item.d2 = d2;
            item.d3 = d3;
            item.text = text;
            item.position = position;
            emit fx.pool->update_calibration_job_status_info(id, item);
        };
        report(CAL_STATUS_WHITE_POINT_TARGET, 0, 0.3127, 0.329, 0, QString(), 0);
        QVERIFY(part<QGroupBox>(dialog, "calibration_information_groupBox")->isEnabled());
        report(CAL_STATUS_WHITE_POINT_MEASURED, 0, 0.3131, 0.3287, 180.46, QString(), 0);
        QCOMPARE(label(dialog, "xy_label"), QStringLiteral("(0.313,0.329)"));
        QCOMPARE(label(dialog, "white_level_label"), QStringLiteral("180.5 cd/m²"));
        report(CAL_STATUS_WHITE_POINT_MEASURED, 0, 0.0, 0.0, -1.0, QString(), 0);
        QCOMPARE(label(dialog, "xy_label"), QString());
        QCOMPARE(label(dialog, "white_level_label"), QString());
        report(CAL_STATUS_BLACK_LEVEL_MEASURED, 0, 0.254, 0, 0, QString(), 0);
        QCOMPARE(label(dialog, "black_level_label"), QStringLiteral("0.25 cd/m²"));
        report(CAL_STATUS_INSTRUCTION, 0, 0, 0, 0, QStringLiteral("Place the sensor"), 0);
        QCOMPARE(label(dialog, "instruction_label"), QStringLiteral("Place the sensor"));

        report(CAL_STATUS_TASK, 8, 0, 0, 0, QString(), 0);
        report(CAL_STATUS_WAIT, 4999, 0, 0, 0, QString(), 0);
        KQ_calibration_step_display_widget expected;
        expected.resize(part<QWidget>(dialog, "operation_step_widget")->size());
        expected.set_calibration_task(8);
        expected.set_wait_time(4);
        QCOMPARE(widget_images::paint(*part<QWidget>(dialog, "operation_step_widget")),
                 widget_images::paint(expected));

        report(CAL_STATUS_AUDIO, 1, 0, 0, 0, QStringLiteral("Place the sensor"), 0);
        report(CAL_STATUS_MISC, CAL_MISC_SENSOR_MAY_BE_REMOVED, 0, 0, 0, QString(), 0);
        QCOMPARE(label(dialog, "instruction_label"), QStringLiteral("Place the sensor"));
        report(CAL_STATUS_MISC, CAL_MISC_SENSOR_MAY_BE_REMOVED, 0, 0, 0, QString(), 1);
        QCOMPARE(label(dialog, "instruction_label"), string_resource(1101));
        QCOMPARE(fx.wall.voice().events,
                 (QStringList{"say Place the sensor", "stop", "say " + string_resource(1105)}));

        emit fx.pool->update_calibration_job_status_info(id + 1000, calibration_job_status_info_item());
        fx.gate.release_all();
        QTRY_COMPARE(dialog.get_job_results().size(), 2);
    }

    void verify_results_and_summaries_reach_the_wall_layout()
    {
        dialog_fixture fx(3);
        layout_manager &layout = fx.wall.layout();
        display_layout_item display;
        layout.get_item(1, display);
        display.verify_status = display_layout_item::kVerified;
        layout.set_item(1, display, false);
        fx.gate.set_outcome([](job_list_item &job) {
            job.job_parameters.model_name = QStringLiteral("VW-5540QE");
            job.job_parameters.serial_number = QStringLiteral("SN-%1").arg(job.position);
            job.job_parameters.verify_status = job.position == 2 ? 2 : 1;
            if (job.position == 2)
                job.job_parameters.error_code = -5001;
        });
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.add_job(tasks({JOB_TASK_CHECK_CAPABILITIES}), {1, 2});
        layout.get_item(1, display);
        QCOMPARE(display.verify_status, int(display_layout_item::kNotVerified));
        dialog.start_jobs();
        QTRY_COMPARE(fx.gate.inside().size(), 2);
        layout.get_item(2, display);
        QCOMPARE(display.job_status.running, 1);
        fx.gate.release_all();
        QTRY_COMPARE(dialog.get_job_results().size(), 2);
        QTRY_VERIFY(part<QPushButton>(dialog, "close_pushButton")->isEnabled());

        layout.get_item(1, display);
        QCOMPARE(display.verify_status, int(display_layout_item::kVerified));
        QCOMPARE(display.model_name, QStringLiteral("VW-5540QE"));
        QCOMPARE(display.serial_number, QStringLiteral("SN-1"));
        QCOMPARE(display.job_status.running, 0);
        QCOMPARE(display.job_status.last_result, 0);
        layout.get_item(2, display);
        QCOMPARE(display.verify_status, int(display_layout_item::kVerifyFailed));
        QCOMPARE(display.job_status.last_result, -5001);
        layout.get_item(0, display);
        QCOMPARE(display.serial_number, QString());
    }

    void a_displays_summary_fills_its_row()
    {
        dialog_fixture fx(1);
        KQ_multithreaded_operation_progress_dialog dialog;
        dialog.add_job(tasks({JOB_TASK_VCP_LIST}), {0});
        dialog.start_jobs();
        QCOMPARE(status_of(dialog, 0), QStringLiteral("Queued"));
        display_job_status_info_item status;
        status.task_total = 4;
        status.task_step = 1;
        status.sub_task_total = 2;
        status.sub_task_step = 1;
        status.task_text = QStringLiteral("Identifying display");
        status.sub_task_text = QStringLiteral("Reading Serial Number.");
        dialog.update_display_job_status_info_item(0, status);
        QCOMPARE(status_of(dialog, 0), QStringLiteral("Identifying display : Reading Serial Number."));
        QCOMPARE(bar_of(dialog, 0)->maximum(), 4000);
        QCOMPARE(bar_of(dialog, 0)->value(), 1500);
        dialog.update_display_job_status_info_item(7, status);   // no such row
        QCOMPARE(table(dialog)->rowCount(), 1);
        fx.gate.release_all();
        QTRY_COMPARE(dialog.get_job_results().size(), 1);
    }

    void starting_without_jobs_changes_nothing()
    {
        dialog_fixture fx(1);
        KQ_multithreaded_operation_progress_dialog dialog;
        QCOMPARE(dialog.start_jobs(), -1);
        QCOMPARE(table(dialog)->rowCount(), 0);
        QVERIFY(!part<QPushButton>(dialog, "cancel_jobs_pushButton")->isEnabled());
        QVERIFY(part<QPushButton>(dialog, "close_pushButton")->isEnabled());
        QCOMPARE(fx.pool->pending_count() + fx.pool->running_count(), 0);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Operation Progress"));
        QCOMPARE(table(dialog)->horizontalHeaderItem(4)->text(), QStringLiteral("Operation"));
    }

    void two_live_dialogs_keep_to_their_own_jobs()
    {
        dialog_fixture fx(2);
        KQ_multithreaded_operation_progress_dialog first;
        KQ_multithreaded_operation_progress_dialog second;
        first.add_job(tasks({JOB_TASK_VCP_LIST}), {0});
        second.add_job(tasks({JOB_TASK_VCP_LIST}), {0, 1});
        first.start_jobs();
        second.start_jobs();
        fx.gate.release_all();
        QTRY_COMPARE(second.get_job_results().size(), 2);
        QTRY_COMPARE(first.get_job_results().size(), 1);
        QCOMPARE(table(first)->rowCount(), 1);
        QTRY_COMPARE(first.result(), int(QDialog::Accepted));
        QTRY_COMPARE(second.result(), int(QDialog::Accepted));
    }

    void real_workers_run_an_operation_on_the_simulated_wall()
    {
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        simulated_wall sim;
        for (int i = 0; i < 3; ++i) {   // the wall numbers the monitor IDs from 1
            const QString address = loopback_block::address(101 + i);
            const int endpoint = sim.add_lan_endpoint(address);
            QVERIFY2(endpoint >= 0, qPrintable(QStringLiteral("cannot listen on %1:7142").arg(address)));
            QVERIFY(sim.add_display(endpoint, char('A' + i)) >= 0);
        }
        headless_controller wall;
        wall.create_wall(3, 1, loopback_block::address(101));
        wall.controller().setQueryThreadPool(new QueryThreadPool());
        KQ_multithreaded_operation_progress_dialog dialog;
        job_list_item job = tasks({JOB_TASK_POWER_STATE});
        job.power.read_back = 1;
        dialog.add_job(job, {0, 1, 2}, QStringLiteral("Reading power states"));
        dialog.set_close_immediately(true);
        dialog.start_jobs();
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<job_list_item> results = dialog.get_job_results();
        QCOMPARE(results.size(), 3);
        for (const job_list_item &result : results) {
            QCOMPARE(result.job_parameters.error_code, 0);
            QCOMPARE(result.job_parameters.power.mode, 1);
        }
        QCOMPARE(label(dialog, "overall_progress_value_label"), QStringLiteral("3 of 3 completed"));
        QCOMPARE(bar_of(dialog, 2)->value(), bar_of(dialog, 2)->maximum());
    }
};

QTEST_MAIN(tst_operation_progress_dialog)
#include "tst_operation_progress_dialog.moc"
