#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/fake_worker.h"
#include "tests/jobs/pool_recorder.h"

#include <QtTest>

#include <memory>

class tst_query_thread_pool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_time_scale(0.01); }

    void starts_at_most_thirty_and_the_next_when_one_ends()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        pool_recorder seen(pool);
        for (int id = 1; id <= 31; ++id)
            pool.add_job(make_job(id, QStringLiteral("127.0.0.%1").arg(id)));
        QTRY_COMPARE(gate.inside().size(), 30);
        QCOMPARE(pool.running_count(), 30);
        QCOMPARE(pool.pending_count(), 1);
        QCOMPARE(seen.pending, 1);
        QVERIFY(!seen.started.contains(31));

        gate.release(1);
        QTRY_VERIFY(gate.inside().contains(31));
        QCOMPARE(pool.running_count(), 30);
        QCOMPARE(gate.most_inside(), 30);
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 31);
        QTRY_COMPARE(seen.running, 0);
        QCOMPARE(seen.pending, 0);
    }

    void keeps_one_link_and_the_sensor_to_one_job_data()
    {
        QTest::addColumn<QString>("first_key");
        QTest::addColumn<int>("first_exclusive");
        QTest::addColumn<QString>("second_key");
        QTest::addColumn<int>("second_exclusive");
        QTest::addColumn<bool>("together");
        QTest::newRow("one chain, two monitor IDs") << "127.0.0.5" << 0 << "127.0.0.5" << 0 << false;
        QTest::newRow("port name in capitals and small letters") << "COM3" << 0 << "com3" << 0 << false;
        QTest::newRow("two sensor jobs on two links") << "COM1" << 1 << "COM2" << 1 << false;
        QTest::newRow("sensor job beside a plain job") << "COM1" << 1 << "COM2" << 0 << true;
        QTest::newRow("two plain jobs on two links") << "COM1" << 0 << "COM2" << 0 << true;
    }
    void keeps_one_link_and_the_sensor_to_one_job()
    {
        QFETCH(QString, first_key);
        QFETCH(int, first_exclusive);
        QFETCH(QString, second_key);
        QFETCH(int, second_exclusive);
        QFETCH(bool, together);
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        pool_recorder seen(pool);
        pool.add_job(make_job(1, first_key, 0, first_exclusive));
        pool.add_job(make_job(2, second_key, 0, second_exclusive));
        QTRY_VERIFY(gate.inside().contains(1));
        if (together) {
            QTRY_VERIFY(gate.inside().contains(2));
        } else {
            QTest::qWait(50);
            QCOMPARE(gate.inside(), QList<int>{1});
            QCOMPARE(pool.pending_count(), 1);
            gate.release(1);
            QTRY_VERIFY(gate.inside().contains(2));
        }
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 2);
        QVERIFY(!gate.exclusion_broken());
    }

    void starts_by_priority_and_keeps_arrival_order_within_one()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 1);
        pool_recorder seen(pool);
        pool.add_job(make_job(1, QStringLiteral("A"), 1));     // starts at once
        pool.add_job(make_job(2, QStringLiteral("B"), 1));
        pool.add_job(make_job(3, QStringLiteral("C"), 1));
        pool.add_job(make_job(4, QStringLiteral("D"), 1));
        pool.add_job(make_job(5, QStringLiteral("E"), 5));
        pool.add_job(make_job(6, QStringLiteral("F"), 1));
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 6);
        QCOMPARE(gate.started(), (QList<int>{1, 5, 2, 3, 4, 6}));
    }

    void a_job_passed_over_keeps_its_place()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 2);
        pool_recorder seen(pool);
        pool.add_job(make_job(1, QStringLiteral("X"), 1));
        QTRY_VERIFY(gate.inside().contains(1));
        pool.add_job(make_job(2, QStringLiteral("x"), 2));     // its link is busy: passed over
        pool.add_job(make_job(3, QStringLiteral("Y"), 1));     // takes the second place
        QTRY_VERIFY(gate.inside().contains(3));
        pool.add_job(make_job(4, QStringLiteral("Z"), 1));     // lower priority: behind job 2
        QCOMPARE(pool.pending_count(), 2);
        gate.release(1);
        QTRY_VERIFY(gate.inside().contains(2));
        QVERIFY(!gate.inside().contains(4));
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 4);
        QCOMPARE(gate.started(), (QList<int>{1, 3, 2, 4}));
    }

    void cancelling_pending_jobs_reports_each_as_cancelled()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 1);
        pool_recorder seen(pool);
        pool.add_job(make_job(1, QStringLiteral("A")));
        pool.add_job(make_job(2, QStringLiteral("B")));
        pool.add_job(make_job(3, QStringLiteral("C")));
        QTRY_VERIFY(gate.inside().contains(1));

        pool.stop_all_jobs(false);
        QCOMPARE(seen.cancelled, (QList<int>{2, 3}));
        QCOMPARE(seen.result_ids(), (QList<int>{2, 3}));
        QCOMPARE(seen.result_of(2).result, qint32(JOB_RESULT_CANCELLED));
        QCOMPARE(seen.pending, 0);
        QTest::qWait(30);
        QVERIFY2(gate.inside().contains(1), "without force the running job goes on");

        pool.stop_all_jobs(true);
        QTRY_COMPARE(seen.results.size(), 3);
        QCOMPARE(seen.result_of(1).result, qint32(JOB_RESULT_STOPPED));
        QTRY_COMPARE(seen.running, 0);
    }

    void stop_by_id_stops_the_running_job_or_cancels_the_pending_ones()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 1);
        pool_recorder seen(pool);
        pool.add_job(make_job(1, QStringLiteral("A")));
        pool.add_job(make_job(2, QStringLiteral("B")));
        pool.add_job(make_job(3, QStringLiteral("C")));
        QTRY_VERIFY(gate.inside().contains(1));

        pool.stop_job_by_id(3);
        QCOMPARE(seen.cancelled, QList<int>{3});
        QCOMPARE(seen.result_of(3).result, qint32(JOB_RESULT_CANCELLED));
        QCOMPARE(seen.pending, 1);

        pool.stop_job_by_id(1);
        QTRY_VERIFY(seen.result_ids().contains(1));
        QCOMPARE(seen.result_of(1).result, qint32(JOB_RESULT_STOPPED));
        QTRY_VERIFY(gate.inside().contains(2));
        QVERIFY2(!seen.cancelled.contains(1), "a running job ends through its own results");
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 3);
    }

    void results_asking_to_stop_all_cancel_and_stop_every_job()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), 2);
        pool_recorder seen(pool);
        job_list_item stopper = make_job(1, QStringLiteral("A"));
        stopper.job_parameters.stop_all_on_result = 1;
        pool.add_job(stopper);
        pool.add_job(make_job(2, QStringLiteral("B")));
        pool.add_job(make_job(3, QStringLiteral("C")));
        QTRY_COMPARE(gate.inside().size(), 2);

        gate.release(1);
        QTRY_COMPARE(seen.results.size(), 3);
        QCOMPARE(seen.cancelled, QList<int>{3});
        QCOMPARE(seen.result_of(2).result, qint32(JOB_RESULT_STOPPED));
        QCOMPARE(seen.result_of(1).result, qint32(0));
        QTRY_COMPARE(seen.running, 0);
    }

    void a_job_whose_id_runs_already_is_reported_cancelled()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        pool_recorder seen(pool);
        pool.add_job(make_job(7, QStringLiteral("A")));
        pool.add_job(make_job(7, QStringLiteral("B")));
        pool.add_job(make_job(8, QStringLiteral("C")));
        QCOMPARE(seen.cancelled, QList<int>{7});
        QCOMPARE(seen.results.size(), 1);
        QCOMPARE(seen.results.first().connection_key, QStringLiteral("B"));
        QCOMPARE(seen.results.first().result, qint32(JOB_RESULT_CANCELLED));
        QTRY_VERIFY2(gate.inside().contains(8), "the pass goes on after a duplicate");
        gate.release_all();
        QTRY_COMPARE(seen.results.size(), 3);
        QTRY_COMPARE(seen.running, 0);
    }

    void many_short_jobs_all_come_back_once()
    {
        fake_worker_gate gate;
        QueryThreadPool pool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        pool_recorder seen(pool);
        constexpr int kJobs = 400;
        QList<job_list_item> jobs;
        for (int id = 1; id <= kJobs; ++id) {
            gate.set_behaviour(id, fake_worker_gate::immediate);
            jobs << make_job(id, QStringLiteral("10.0.%1.%2").arg(id % 7).arg(id % 40));
        }
        pool.add_job(jobs);
        QTRY_COMPARE_WITH_TIMEOUT(seen.results.size(), kJobs, 30000);
        QTRY_COMPARE(seen.running, 0);
        QCOMPARE(seen.pending, 0);
        QList<int> ids = seen.result_ids();
        std::sort(ids.begin(), ids.end());
        for (int i = 0; i < kJobs; ++i)
            QCOMPARE(ids.at(i), i + 1);
        QVERIFY(!gate.exclusion_broken());
        QCOMPARE(pool.running_count(), 0);
        QCOMPARE(seen.result_of(1).queued_count, 1);
    }

    void the_base_worker_returns_the_job_at_once()
    {
        QueryThreadPool pool([] { return new CConnectionObject(); }, 2);
        pool_recorder seen(pool);
        pool.add_job(make_job(4, QStringLiteral("A")));
        QTRY_COMPARE(seen.results.size(), 1);
        QCOMPARE(seen.results.first().job_id, 4);
        QCOMPARE(seen.results.first().result, qint32(0));
        QTRY_COMPARE(seen.running, 0);
    }

    void destroying_the_pool_stops_running_jobs_and_leaves_a_stuck_one()
    {
        fake_worker_gate gate;
        gate.set_behaviour(3, fake_worker_gate::stuck);
        auto pool = std::make_unique<QueryThreadPool>(fake_workers(gate), 3);
        for (int id = 1; id <= 5; ++id)
            pool->add_job(make_job(id, QStringLiteral("K%1").arg(id)));
        QTRY_COMPARE(gate.inside().size(), 3);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("did not end")));
        pool.reset();
        QCOMPARE(gate.inside(), QList<int>{3});
        QCOMPARE(gate.started().size(), 3);

        QThread *left = gate.thread_of(3);
        QVERIFY(left && left->isRunning());
        gate.release(3);
        QVERIFY(left->wait(5000));
        delete left;
    }
};

QTEST_GUILESS_MAIN(tst_query_thread_pool)
#include "tst_query_thread_pool.moc"
