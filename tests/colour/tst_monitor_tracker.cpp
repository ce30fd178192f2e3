#include "colour/CMonitorTracker.h"
#include "colour/stream_record.h"
#include "record_fixtures.h"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace record_fixtures;

namespace {

monitor_tracker_item item(const QString &model, const QString &serial, int seed)
{
    monitor_tracker_item result(model, serial);
    static_cast<CAdjustValue &>(result) = populated_adjust_value(seed);
    return result;
}

QByteArray store_stream(qint32 magic, qint32 version, qint32 count,
                        const QList<monitor_tracker_item> &items)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(out);
    out << magic << version << count;
    for (const monitor_tracker_item &i : items) {
        out << i.model_name << i.serial_number;
        i.Write(out);
    }
    return bytes;
}

QList<monitor_tracker_item> three_items()
{
    return {item("M652", "1A", 1), item("M652", "2B", 2), item("P404", "1A", 3)};
}

void fill(CMonitorTracker &tracker, const QList<monitor_tracker_item> &items)
{
    for (const monitor_tracker_item &i : items)
        tracker.SetAdjustValue(i);
}

void compare_contents(const CMonitorTracker &tracker, const QList<monitor_tracker_item> &items)
{
    QCOMPARE(tracker.GetCount(), items.size());
    for (int index = 0; index < items.size(); ++index) {
        monitor_tracker_item found(items[index].model_name, items[index].serial_number);
        QCOMPARE(tracker.GetAdjustValue(found), index);
        QCOMPARE(found.model_name, items[index].model_name);
        QCOMPARE(found.serial_number, items[index].serial_number);
        compare_record(found, items[index]);
    }
}

// A record whose fields all derive from one stamp, so that a copy mixed from
// two writes shows.
monitor_tracker_item stamped(const QString &model, const QString &serial, int stamp)
{
    monitor_tracker_item result(model, serial);
    result.backlight_setting = quint16(stamp);
    result.gain = {{double(stamp), stamp + 0.25, stamp + 0.5}};
    result.sensor_name = QString::number(stamp);
    result.software_build = stamp;
    result.measurements.uncorrected_greyscale = QVector<CCIEXYZ>(stamp % 7 + 1,
                                                                 CCIEXYZ(stamp, stamp, stamp));
    return result;
}

bool consistent(const monitor_tracker_item &record)
{
    const int stamp = record.software_build;
    return record.backlight_setting == quint16(stamp) && record.gain[0] == stamp
        && record.gain[2] == stamp + 0.5 && record.sensor_name == QString::number(stamp)
        && record.measurements.uncorrected_greyscale.size() == stamp % 7 + 1
        && record.measurements.uncorrected_greyscale.last().Z == stamp;
}

} // namespace

class tst_monitor_tracker : public QObject
{
    Q_OBJECT

private slots:
    void missing_display_gives_the_default_record()
    {
        CMonitorTracker tracker;
        fill(tracker, three_items());
        monitor_tracker_item query = item("M652", "9Z", 5);
        QCOMPARE(tracker.GetAdjustValue(query), -1);
        QVERIFY(query.model_name.isEmpty());
        QVERIFY(query.serial_number.isEmpty());
        // Copied by assignment, which gives curves without a kind the Catmull-Rom kind.
        CAdjustValue expected;
        expected = CAdjustValue();
        compare_record(query, expected);
    }

    void keys_are_exact_and_case_sensitive()
    {
        CMonitorTracker tracker;
        fill(tracker, three_items());
        QCOMPARE(tracker.GetCount(), 3); // same serial, different models: two records
        monitor_tracker_item query("m652", "1A");
        QCOMPARE(tracker.GetAdjustValue(query), -1);
        query = monitor_tracker_item("P404", "1A");
        QCOMPARE(tracker.GetAdjustValue(query), 2);
        QCOMPARE(query.software_build, populated_adjust_value(3).software_build);
    }

    void storing_a_key_again_replaces_its_record()
    {
        CMonitorTracker tracker;
        QSignalSpy changed(&tracker, &CMonitorTracker::data_changed);
        fill(tracker, three_items());
        QVERIFY(tracker.IsModified());
        const monitor_tracker_item second = item("M652", "2B", 9);
        QCOMPARE(tracker.SetAdjustValue(second), 0);
        QCOMPARE(changed.count(), 4);
        QList<monitor_tracker_item> expected = three_items();
        expected[1] = second;
        compare_contents(tracker, expected);
    }

    void clear_empties_the_store()
    {
        CMonitorTracker tracker;
        fill(tracker, three_items());
        QSignalSpy changed(&tracker, &CMonitorTracker::data_changed);
        QCOMPARE(tracker.Clear(), 0);
        QCOMPARE(tracker.GetCount(), 0);
        QVERIFY(!tracker.IsModified());
        QCOMPARE(changed.count(), 1);
    }

    void round_trip_keeps_records_and_order()
    {
        CMonitorTracker source;
        fill(source, three_items());
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            stream_record::prepare(out);
            QCOMPARE(source.Write(out), 0);
        }
        QCOMPARE(bytes, store_stream(43962, 100, 3, three_items()));

        CMonitorTracker copy;
        copy.SetAdjustValue(item("OLD", "0", 7));
        QSignalSpy changed(&copy, &CMonitorTracker::data_changed);
        QCOMPARE(read_into(copy, bytes), 0);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!copy.IsModified());
        compare_contents(copy, three_items());
        monitor_tracker_item query("M652", "2B");
        copy.GetAdjustValue(query);
        QVERIFY(query.loaded);
    }

    void header_errors_leave_the_store_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::newRow("version 101") << store_stream(43962, 101, 0, {}) << -1501;
        QTest::newRow("version 99") << store_stream(43962, 99, 0, {}) << -1501;
        QTest::newRow("wrong magic") << store_stream(43963, 100, 0, {}) << -1502;
        QTest::newRow("cut header") << store_stream(43962, 100, 0, {}).left(6) << -1503;
    }

    void header_errors_leave_the_store()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        CMonitorTracker tracker;
        fill(tracker, three_items());
        QSignalSpy changed(&tracker, &CMonitorTracker::data_changed);
        QCOMPARE(read_into(tracker, bytes), code);
        QCOMPARE(changed.count(), 0);
        QVERIFY(tracker.IsModified());
        compare_contents(tracker, three_items());
    }

    void damaged_records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kept");
        const QByteArray good = store_stream(43962, 100, 3, three_items());
        const int firstRecordEnd = store_stream(43962, 100, 1, three_items().mid(0, 1)).size();
        QTest::newRow("negative count") << store_stream(43962, 100, -1, {}) << -1503 << 0;
        QTest::newRow("impossible count") << store_stream(43962, 100, 0x10000000, three_items())
                                          << -1503 << 0;
        QTest::newRow("count above the records") << store_stream(43962, 100, 4, three_items())
                                                 << -1503 << 3;
        QTest::newRow("cut in the first record") << good.left(200) << -1503 << 0;
        QTest::newRow("cut in the second record") << good.left(firstRecordEnd + 300) << -1503 << 1;
        QByteArray magic = good;
        magic[firstRecordEnd + 12 + 8 + 1] = 'X'; // behind the keys "M652" and "2B"
        QTest::newRow("second record's magic") << magic << -1502 << 1;
    }

    void damaged_records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QFETCH(int, kept);
        CMonitorTracker tracker;
        tracker.SetAdjustValue(item("OLD", "0", 7));
        QSignalSpy changed(&tracker, &CMonitorTracker::data_changed);
        QCOMPARE(read_into(tracker, bytes), code);
        // The records before the damage stay; the store reports no change
        // so that a half-read project is not taken for a loaded one.
        compare_contents(tracker, three_items().mid(0, kept));
        QCOMPARE(changed.count(), 0);
    }

    void repeated_keys_in_a_stream_keep_one_record()
    {
        const QList<monitor_tracker_item> stored = {item("M652", "1A", 1), item("M652", "2B", 2),
                                                    item("M652", "1A", 3)};
        CMonitorTracker tracker;
        QCOMPARE(read_into(tracker, store_stream(43962, 100, 3, stored)), 0);
        compare_contents(tracker, {stored[2], stored[1]});
    }

    void write_failure_is_reported()
    {
        QBuffer closed; // never opened: every write fails
        QDataStream out(&closed);
        CMonitorTracker empty;
        QCOMPARE(empty.Write(out), -1504);
        CMonitorTracker full;
        fill(full, three_items());
        QVERIFY(full.Write(out) < 0);
    }

    void contention_keeps_records_whole()
    {
        // Writers on many threads, each on its own display and all on one
        // shared display, while readers copy records out. data_changed is
        // handled on the emitting thread and looks the record up again, which
        // would deadlock if the signal were emitted under the store's mutex.
        constexpr int kThreads = 24;
        constexpr int kRounds = 500;
        CMonitorTracker tracker;
        std::atomic<int> notifications{0};
        std::atomic<int> torn{0};
        connect(&tracker, &CMonitorTracker::data_changed, &tracker, [&] {
            monitor_tracker_item shared("SHARED", "0");
            if (tracker.GetAdjustValue(shared) >= 0 && !consistent(shared))
                ++torn;
            ++notifications;
        }, Qt::DirectConnection);

        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&tracker, &torn, t] {
                const QString own = QString::number(t);
                for (int round = 0; round < kRounds; ++round) {
                    const int stamp = t * kRounds + round;
                    tracker.SetAdjustValue(stamped("OWN", own, stamp));
                    tracker.SetAdjustValue(stamped("SHARED", "0", stamp));
                    monitor_tracker_item mine("OWN", own);
                    if (tracker.GetAdjustValue(mine) < 0 || !consistent(mine)
                        || mine.software_build != stamp)
                        ++torn;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();

        QCOMPARE(torn.load(), 0);
        QCOMPARE(notifications.load(), 2 * kThreads * kRounds);
        QCOMPARE(tracker.GetCount(), kThreads + 1);
        for (int t = 0; t < kThreads; ++t) {
            monitor_tracker_item mine("OWN", QString::number(t));
            QVERIFY(tracker.GetAdjustValue(mine) >= 0);
            QCOMPARE(mine.software_build, t * kRounds + kRounds - 1);
        }
        monitor_tracker_item shared("SHARED", "0");
        QVERIFY(tracker.GetAdjustValue(shared) >= 0);
        QVERIFY(consistent(shared));
        QCOMPARE(shared.software_build % kRounds, kRounds - 1);
    }
};

QTEST_APPLESS_MAIN(tst_monitor_tracker)
#include "tst_monitor_tracker.moc"
