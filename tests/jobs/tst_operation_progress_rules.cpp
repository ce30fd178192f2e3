#include "app/controller/layout_manager.h"
#include "app/services/error_code_table.h"
#include "jobs/job_task_type.h"
#include "jobs/operation_progress_rules.h"

#include <QtTest>

class tst_operation_progress_rules : public QObject
{
    Q_OBJECT

private slots:
    void expands_a_template_for_the_listed_displays_data()
    {
        QTest::addColumn<QList<qint32>>("tasks");
        QTest::addColumn<int>("exclusive");
        QTest::newRow("verify") << QList<qint32>{JOB_TASK_CHECK_CAPABILITIES} << 0;
        QTest::newRow("measure primaries") << QList<qint32>{JOB_TASK_MEASURE_PRIMARIES} << 1;
        QTest::newRow("calibrate with pattern") << QList<qint32>{JOB_TASK_CALIBRATE, JOB_TASK_TEST_PATTERNS} << 1;
        QTest::newRow("update calibration") << QList<qint32>{JOB_TASK_UPDATE_CALIBRATION} << 1;
        QTest::newRow("engine measurement") << QList<qint32>{JOB_TASK_MEASURE} << 0;
    }
    void expands_a_template_for_the_listed_displays()
    {
        QFETCH(QList<qint32>, tasks);
        QFETCH(int, exclusive);
        layout_manager layout(nullptr, nullptr);
        QCOMPARE(layout.create_layout(3, 1, 4, 0, QStringLiteral("127.0.0.7"), 1, true, true, false, true, 0), 0);
        job_list_item job_template;
        job_template.task_list = tasks;
        job_template.priority = 9;
        int next = 100;
        const QList<job_list_item> jobs =
            expand_job_template(job_template, {2, 7, -1, 0}, layout, [&next] { return ++next; });
        QCOMPARE(jobs.size(), 2);
        QCOMPARE(jobs.at(0).position, 2);
        QCOMPARE(jobs.at(0).connection_key, QStringLiteral("127.0.0.9"));
        QCOMPARE(jobs.at(0).monitor_id, 6);
        QCOMPARE(jobs.at(0).connection_type, 1);
        QCOMPARE(jobs.at(0).job_id, 101);
        QCOMPARE(jobs.at(1).position, 0);
        QCOMPARE(jobs.at(1).job_id, 102);
        QCOMPARE(jobs.at(1).priority, 9u);
        QCOMPARE(jobs.at(1).exclusive, exclusive);
        QCOMPARE(jobs.at(1).task_list, tasks);
    }

    void tells_failures_and_what_may_run_again_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("error_code");
        QTest::addColumn<QString>("error_text");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<bool>("retry");
        QTest::addColumn<QString>("message");
        QTest::newRow("success") << 0 << 0 << QString() << false << false << error_code_text(0);
        QTest::newRow("task error") << 0 << -1027 << QString() << true << true << error_code_text(-1027);
        QTest::newRow("own text") << 0 << -5001 << "Lost" << true << true << "Lost";
        QTest::newRow("text alone") << 0 << 0 << "Input \"HDMI\" not supported. " << true << false
                                    << "Input \"HDMI\" not supported. ";
        QTest::newRow("cancelled") << int(JOB_RESULT_CANCELLED) << 0 << QString() << true << true
                                   << error_code_text(JOB_RESULT_CANCELLED);
        QTest::newRow("stopped") << int(JOB_RESULT_STOPPED) << int(JOB_RESULT_STOPPED) << QString() << true << true
                                 << error_code_text(JOB_RESULT_STOPPED);
    }
    void tells_failures_and_what_may_run_again()
    {
        QFETCH(int, result);
        QFETCH(int, error_code);
        QFETCH(QString, error_text);
        QFETCH(bool, failed);
        QFETCH(bool, retry);
        QFETCH(QString, message);
        job_list_item job;
        job.result = result;
        job.job_parameters.error_code = error_code;
        job.job_parameters.error_text = error_text;
        QCOMPARE(job_failed(job), failed);
        QCOMPARE(can_retry(job), retry);
        if (failed)
            QCOMPARE(job_error_message(job), message);
    }

    void a_retried_job_keeps_its_inputs_and_forgets_its_results()
    {
        job_list_item job;
        job.job_id = 3;
        job.position = 5;
        job.task_list = {JOB_TASK_VCP_LIST};
        job.vcp_list << vcp_list_item::write(0x10, 20);
        job.result = JOB_RESULT_CANCELLED;
        job.job_parameters.error_code = -1027;
        job.job_parameters.vcp_list_result = job.vcp_list;
        job.job_parameters.verify_status = 2;
        const job_list_item again = retry_job(job, 8);
        QCOMPARE(again.job_id, 8);
        QCOMPARE(again.position, 5);
        QCOMPARE(again.vcp_list.size(), 1);
        QCOMPARE(again.result, 0);
        QCOMPARE(again.job_parameters.error_code, 0);
        QCOMPARE(again.job_parameters.verify_status, -1);
        QVERIFY(again.job_parameters.vcp_list_result.isEmpty());
    }

    void a_good_calibration_asks_for_one_lookup_table_job_data()
    {
        QTest::addColumn<QList<qint32>>("tasks");
        QTest::addColumn<int>("pattern_mode");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("error_code");
        QTest::addColumn<QList<qint32>>("follow_up");
        using L = QList<qint32>;
        QTest::newRow("calibration") << L{19} << 0 << 1 << 0 << L{5};
        QTest::newRow("with the trimmed white") << L{19, 6} << 3 << 1 << 0 << L{5, 6};
        QTest::newRow("with another pattern") << L{19, 6} << 2 << 1 << 0 << L{5};
        QTest::newRow("no table needed") << L{19} << 0 << 0 << 0 << L{};
        QTest::newRow("failed") << L{19} << 0 << 1 << -1004 << L{};
        QTest::newRow("not a calibration") << L{5} << 0 << 1 << 0 << L{};
    }
    void a_good_calibration_asks_for_one_lookup_table_job()
    {
        QFETCH(QList<qint32>, tasks);
        QFETCH(int, pattern_mode);
        QFETCH(int, flag);
        QFETCH(int, error_code);
        QFETCH(QList<qint32>, follow_up);
        job_list_item finished;
        finished.job_id = 4;
        finished.position = 2;
        finished.exclusive = 1;
        finished.task_list = tasks;
        finished.test_pattern_mode = pattern_mode;
        finished.job_parameters.follow_up_lut_update = flag;
        finished.job_parameters.error_code = error_code;
        job_list_item next;
        QCOMPARE(make_follow_up_lut_job(finished, 11, next), !follow_up.isEmpty());
        if (follow_up.isEmpty())
            return;
        QCOMPARE(next.task_list, follow_up);
        QCOMPARE(next.job_id, 11);
        QCOMPARE(next.position, 2);
        QCOMPARE(next.exclusive, 0);
        QCOMPARE(next.test_pattern_mode, pattern_mode);
        QCOMPARE(next.job_parameters.follow_up_lut_update, 0);
    }

    void counts_completed_jobs_without_errors()
    {
        QCOMPARE(completed_count_text(3, 1, 0, 0), QStringLiteral("2 of 3 completed"));
        QCOMPARE(completed_count_text(0, 0, 30, 70), QStringLiteral("0 of 100 completed"));
    }

    void shows_a_displays_progress_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("sub_total");
        QTest::addColumn<int>("sub_step");
        QTest::addColumn<int>("last_result");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("step 2 of 5") << 5 << 2 << 0 << 0 << 0 << 5000 << 2000;
        QTest::newRow("half a sub-task") << 5 << 2 << 4 << 2 << 0 << 5000 << 2500;
        QTest::newRow("past the end") << 5 << 5 << 2 << 3 << 0 << 5000 << 5000;
        QTest::newRow("nothing running, last job good") << 0 << 0 << 0 << 0 << 0 << 1 << 1;
        QTest::newRow("nothing running, last job failed") << 0 << 0 << 0 << 0 << -1027 << 1 << 0;
    }
    void shows_a_displays_progress()
    {
        QFETCH(int, total);
        QFETCH(int, step);
        QFETCH(int, sub_total);
        QFETCH(int, sub_step);
        QFETCH(int, last_result);
        QFETCH(int, maximum);
        QFETCH(int, value);
        display_job_status_info_item status;
        status.task_total = total;
        status.task_step = step;
        status.sub_task_total = sub_total;
        status.sub_task_step = sub_step;
        status.last_result = last_result;
        const progress_bar_value bar = display_progress(status);
        QCOMPARE(bar.maximum, maximum);
        QCOMPARE(bar.value, value);
    }

    void shows_a_displays_status_text()
    {
        display_job_status_info_item status;
        status.task_text = QStringLiteral("Measuring");
        QCOMPARE(display_status_text(status), QStringLiteral("Measuring"));
        status.sub_task_text = QStringLiteral("Red");
        QCOMPARE(display_status_text(status), QStringLiteral("Measuring : Red"));
    }
};

QTEST_GUILESS_MAIN(tst_operation_progress_rules)
#include "tst_operation_progress_rules.moc"
