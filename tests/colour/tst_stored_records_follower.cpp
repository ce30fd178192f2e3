#include "colour/stored_records_follower.h"
#include "colour/CMonitorTracker.h"
#include "colour/monitor_tracker_item.h"

#include <QThread>
#include <QtTest>

#include <memory>

class tst_stored_records_follower : public QObject
{
    Q_OBJECT

private slots:
    // A burst of records stored by another thread is one refresh; a record
    // stored on the follower's own thread refreshes at once.
    void records_from_another_thread_refresh_once()
    {
        CMonitorTracker records;
        QObject context;
        int refreshes = 0;
        follow_stored_records(records, &context, [&refreshes] { ++refreshes; });

        std::unique_ptr<QThread> worker(QThread::create([&records] {
            for (int i = 0; i < 50; ++i)
                records.SetAdjustValue(monitor_tracker_item(QStringLiteral("P555"), QStringLiteral("SN%1").arg(i)));
        }));
        worker->start();
        QVERIFY(worker->wait(30000));
        QCOMPARE(refreshes, 0);
        QTRY_COMPARE(refreshes, 1);
        QTest::qWait(20);
        QCOMPARE(refreshes, 1);

        records.SetAdjustValue(monitor_tracker_item(QStringLiteral("P555"), QStringLiteral("SN0")));
        QCOMPARE(refreshes, 2);
    }
};

QTEST_MAIN(tst_stored_records_follower)
#include "tst_stored_records_follower.moc"
