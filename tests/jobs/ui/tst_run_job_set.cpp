#include "app/controller/layout_manager.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/run_job_set.h"
#include "tests/jobs/fake_worker.h"
#include "tests/support/headless_controller.h"

#include <QApplication>
#include <QDialog>
#include <QtTest>

#include <algorithm>

namespace {

struct runner_fixture
{
    explicit runner_fixture(int displays)
    {
        wall.create_wall(displays, 1, QStringLiteral("127.0.153.1"));
        pool = new QueryThreadPool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        wall.controller().setQueryThreadPool(pool);
        wait_service::set_time_scale(0.001); // the dialog's close delay
        gate.release_all();
    }

    void set_orientation(int index, int orientation)
    {
        display_layout_item item;
        QCOMPARE(wall.layout().get_item(index, item), 0);
        item.orientation = orientation;
        wall.layout().set_item(index, item, false);
    }

    fake_worker_gate gate;
    headless_controller wall;
    QueryThreadPool *pool = nullptr;
};

QList<int> positions_of(const QList<job_list_item> &jobs)
{
    QList<int> positions;
    for (const job_list_item &job : jobs)
        positions.append(job.position);
    std::sort(positions.begin(), positions.end());
    return positions;
}

} // namespace

class tst_run_job_set : public QObject
{
    Q_OBJECT

private slots:
    void an_empty_set_opens_no_dialog()
    {
        runner_fixture fx(2);
        bool dialog_seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] { dialog_seen |= QApplication::activeModalWidget() != nullptr; });
        poll.start(1);
        job_set set;
        set.job_template.task_list = {JOB_TASK_POWER_STATE};
        QVERIFY(run_job_set(set).isEmpty());
        QVERIFY(!dialog_seen);
        QVERIFY(fx.gate.started().isEmpty());
    }

    void a_set_runs_modally_and_returns_the_finished_jobs_data()
    {
        QTest::addColumn<bool>("per_display");
        QTest::addColumn<QList<int>>("orientations"); // by position 0..2, as the jobs carry them
        QTest::newRow("once") << false << QList<int>({-1, -1, -1});
        QTest::newRow("per display") << true << QList<int>({1, 0, -1});
    }
    void a_set_runs_modally_and_returns_the_finished_jobs()
    {
        QFETCH(bool, per_display);
        QFETCH(QList<int>, orientations);
        runner_fixture fx(3);
        fx.set_orientation(0, display_layout_item::kPortrait);
        fx.set_orientation(1, display_layout_item::kLandscape);
        fx.set_orientation(2, display_layout_item::kOrientationNotSet);
        bool modal_while_running = false;
        connect(fx.pool, &QueryThreadPool::num_jobs_running, this, [&](int running) {
            if (running > 0)
                modal_while_running |= qobject_cast<QDialog *>(QApplication::activeModalWidget()) != nullptr;
        });
        job_set set;
        set.job_template.task_list = {JOB_TASK_POWER_STATE};
        set.positions = {2, 0, 1};
        set.text = QStringLiteral("Powering");
        set.per_display = per_display;
        const QList<job_list_item> results = run_job_set(set);
        QCOMPARE(positions_of(results), QList<int>({0, 1, 2}));
        for (const job_list_item &job : results)
            QCOMPARE(job.osd_orientation, orientations.at(job.position));
        QVERIFY(modal_while_running);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(tst_run_job_set)
#include "tst_run_job_set.moc"
