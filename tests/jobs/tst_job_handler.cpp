#include "app/controller/layout_manager.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_handler.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/fake_worker.h"

#include <QtTest>

namespace {

// The last summary a hub announced for each display.
struct summary_recorder
{
    explicit summary_recorder(job_handler &hub)
    {
        QObject::connect(&hub, &job_handler::update_display_job_status_info_item, &hub,
                         [this](int position, const display_job_status_info_item &item) {
                             last.insert(position, item);
                             ++announcements;
                         });
        QObject::connect(&hub, &job_handler::out_job_results, &hub,
                         [this](const job_list_item &job) { results << job; });
        QObject::connect(&hub, &job_handler::update_calibration_job_status_info, &hub,
                         [this](int id, const calibration_job_status_info_item &) { status_ids << id; });
    }

    QHash<int, display_job_status_info_item> last;
    QList<job_list_item> results;
    QList<int> status_ids;
    int announcements = 0;
};

job_list_item job_for(int job_id, int position)
{
    job_list_item job = make_job(job_id, QStringLiteral("127.0.0.%1").arg(position + 1));
    job.position = position;
    return job;
}

} // namespace

class tst_job_handler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_time_scale(0.01); }

    void two_jobs_for_one_display_count_pending_then_running()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        job_handler hub(&pool, nullptr);
        summary_recorder seen(hub);
        hub.add_jobs({job_for(1, 4), job_for(2, 4)});
        QTRY_VERIFY(gate.inside().contains(1));
        QCOMPARE(seen.last.value(4).running, 1);
        QCOMPARE(seen.last.value(4).pending, 1);

        gate.release(1);
        QTRY_VERIFY(gate.inside().contains(2));
        QCOMPARE(seen.last.value(4).running, 1);
        QCOMPARE(seen.last.value(4).pending, 0);
        gate.release(2);
        QTRY_COMPARE(seen.results.size(), 2);
        QCOMPARE(seen.last.value(4).running, 0);
        QCOMPARE(hub.display_status(4).running, 0);
    }

    void progress_fills_the_summary_and_a_start_clears_it()
    {
        QueryThreadPool pool([] { return new CConnectionObject(); }, 1);
        job_handler hub(&pool, nullptr);
        summary_recorder seen(hub);
        hub.add_jobs({job_for(5, 2)});
        QTRY_COMPARE(seen.results.size(), 1);

        hub.job_started(5);
        hub.job_task_progress(5, 2, 6, QStringLiteral("Measuring"));
        hub.job_sub_task_progress(5, 3, 13, QStringLiteral("Red"));
        display_job_status_info_item status = seen.last.value(2);
        QCOMPARE(status.task_step, 2);
        QCOMPARE(status.task_total, 6);
        QCOMPARE(status.sub_task_step, 3);
        QCOMPARE(status.sub_task_total, 13);
        QCOMPARE(status.task_text, QStringLiteral("Measuring"));
        QCOMPARE(status.sub_task_text, QStringLiteral("Red"));

        hub.job_task_progress(5, 3, 6, QString());
        status = seen.last.value(2);
        QCOMPARE(status.task_text, QStringLiteral("Measuring"));
        QCOMPARE(status.sub_task_text, QStringLiteral("Red"));
        QCOMPARE(status.sub_task_total, 0);
        hub.job_task_progress(5, 4, 6, QStringLiteral("Black"));
        QCOMPARE(seen.last.value(2).sub_task_text, QString());

        hub.job_started(5);
        status = seen.last.value(2);
        QCOMPARE(status.task_total, 0);
        QCOMPARE(status.task_step, 0);
        QCOMPARE(status.last_result, 0);
    }

    void the_last_result_is_the_effective_one_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("error_code");
        QTest::addColumn<int>("last_result");
        QTest::addColumn<int>("running_after");
        QTest::newRow("success") << 0 << 0 << 0 << 0;
        QTest::newRow("task error") << 0 << -1027 << -1027 << 0;
        QTest::newRow("stopped") << int(JOB_RESULT_STOPPED) << int(JOB_RESULT_STOPPED)
                                 << int(JOB_RESULT_STOPPED) << 0;
        QTest::newRow("cancelled before it started") << int(JOB_RESULT_CANCELLED) << 0
                                                     << int(JOB_RESULT_CANCELLED) << 1;
    }
    void the_last_result_is_the_effective_one()
    {
        QFETCH(int, result);
        QFETCH(int, error_code);
        QFETCH(int, last_result);
        QFETCH(int, running_after);
        job_handler hub(nullptr, nullptr);
        summary_recorder seen(hub);
        hub.add_jobs({job_for(9, 0)});
        hub.job_started(9);
        job_list_item done = job_for(9, 0);
        done.result = result;
        done.job_parameters.error_code = error_code;
        hub.job_results(done);
        QCOMPARE(seen.last.value(0).last_result, last_result);
        QCOMPARE(seen.last.value(0).running, running_after);
        QCOMPARE(seen.results.size(), 1);
    }

    void a_cancelled_job_lowers_pending_once_and_never_below_zero()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 1);
        job_handler hub(&pool, nullptr);
        summary_recorder seen(hub);
        hub.add_jobs({job_for(1, 0), job_for(2, 3)});
        QTRY_VERIFY(gate.inside().contains(1));
        QCOMPARE(seen.last.value(3).pending, 1);

        hub.stop_all_jobs(false);
        QCOMPARE(seen.last.value(3).pending, 0);
        QCOMPARE(seen.last.value(3).running, 0);
        QCOMPARE(seen.last.value(3).last_result, qint32(JOB_RESULT_CANCELLED));
        hub.pending_job_cancelled(2);
        QCOMPARE(seen.last.value(3).pending, 0);

        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 2);
    }

    void reports_of_jobs_it_did_not_queue_are_ignored()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        job_handler first(&pool, nullptr);
        job_handler second(&pool, nullptr);
        summary_recorder first_seen(first);
        summary_recorder second_seen(second);
        job_list_item same_display = job_for(2, 0);
        same_display.connection_key = QStringLiteral("COM2");
        first.add_jobs({job_for(1, 0)});
        second.add_jobs({same_display, job_for(3, 5)});
        QTRY_COMPARE(gate.inside().size(), 3);
        pool.update_calibration_job_status_info(2, calibration_job_status_info_item());
        pool.task_progress(99, 1, 2, QStringLiteral("not ours"));
        gate.release_all();
        QTRY_COMPARE(second_seen.results.size(), 2);
        QTRY_COMPARE(first_seen.results.size(), 1);

        QCOMPARE(first_seen.results.first().job_id, 1);
        QCOMPARE(first.display_status(0).running, 0);
        QCOMPARE(first.display_status(0).pending, 0);
        QVERIFY(!first_seen.last.contains(5));
        QCOMPARE(second.display_status(0).running, 0);
        QCOMPARE(first_seen.status_ids, QList<int>());
        QCOMPARE(second_seen.status_ids, QList<int>{2});
        QVERIFY(first.display_status(0).task_text != QStringLiteral("not ours"));
    }

    void the_summaries_reach_the_wall_layout()
    {
        layout_manager layout(nullptr, nullptr);
        QCOMPARE(layout.create_layout(2, 1, 1, 0, QStringLiteral("127.0.0.1"), 1, true, true, false, true, 0), 0);
        QList<int> changed;
        connect(&layout, &layout_manager::display_job_status_info_item_changed, this,
                [&changed](int index) { changed << index; });
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        job_handler hub(&pool, &layout);
        hub.add_jobs({job_for(1, 1)});
        QTRY_VERIFY(gate.inside().contains(1));
        display_layout_item item;
        QCOMPARE(layout.get_item(1, item), 0);
        QCOMPARE(item.job_status.running, 1);
        QCOMPARE(item.job_status.pending, 0);
        QVERIFY(changed.contains(1));
        QVERIFY(!changed.contains(0));
        gate.release_all();
        QTRY_COMPARE(hub.display_status(1).running, 0);
        QCOMPARE(layout.get_item(1, item), 0);
        QCOMPARE(item.job_status.running, 0);
    }

    void counts_are_passed_on()
    {
        QueryThreadPool pool([] { return new CConnectionObject(); }, 1);
        job_handler hub(&pool, nullptr);
        QList<int> pending, running;
        connect(&hub, &job_handler::out_num_pending_jobs, this, [&](int n) { pending << n; });
        connect(&hub, &job_handler::out_num_jobs_running, this, [&](int n) { running << n; });
        hub.add_jobs({job_for(1, 0), job_for(2, 1)});
        QTRY_COMPARE(running.last(), 0);
        QCOMPARE(pending.last(), 0);
        QVERIFY(running.contains(1));
        QVERIFY(pending.contains(1));
    }
};

QTEST_GUILESS_MAIN(tst_job_handler)
#include "tst_job_handler.moc"
