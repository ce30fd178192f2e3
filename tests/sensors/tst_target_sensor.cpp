#include "detection_helpers.h"
#include "sensor_test_environment.h"
#include "simulated_instrument_control.h"

#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/SensorDetectThread.h"
#include "sensors/sensor_status.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSemaphore>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// Counts live drivers, so that a test sees when two would exist at once.
struct driver_census
{
    std::atomic<int> alive{0};
    std::atomic<int> overlaps{0};
    QList<int> constructed; // kinds, in order; written by one thread at a time
};

class fake_sensor : public CSensor
{
public:
    fake_sensor(driver_census &census, int kind, bool open) : m_census(census), m_kind(kind)
    {
        if (m_census.alive.fetch_add(1) > 0)
            ++m_census.overlaps;
        m_census.constructed.append(kind);
        m_open = open;
    }
    ~fake_sensor() override { --m_census.alive; }

    QString GetName() override { return QStringLiteral("fake kind %1").arg(m_kind); }
    QString GetShortName() override { return GetName(); }
    QString GetSerialNumber() override { return QString(); }
    int AfterOpen() override { return 0; }
    bool SupportsAmbient() override { return false; }
    int MeasureAmbient() override { return sensor_status::kWrongMode; }
    int Calibrate() override { return 0; }
    int MeasureXYZ(unsigned) override { return 0; }
    int GetXYZ(CCIEXYZ &reading) override { return HandOutReading(reading); }
    int SetDisplayType(int, int) override { return 0; }
    int GetPlacementInfo(SensorPlacementInfo &) override { return 0; }

private:
    driver_census &m_census;
    int m_kind;
};

sensor_driver_table fake_drivers(driver_census &census, const QSet<int> &attached)
{
    sensor_driver_table table;
    for (int kind = 1; kind < CTargetSensor::kKindCount; ++kind)
        table[size_t(kind)] = [&census, kind, attached] {
            return static_cast<CSensor *>(new fake_sensor(census, kind, attached.contains(kind)));
        };
    return table;
}

const QList<int> kDetectionOrder = {2, 1, 4, 5, 3, 7, 8, 6};

} // namespace

class tst_target_sensor : public QObject
{
    Q_OBJECT

private:
    sensor_test_environment m_environment;

private slots:
    void detection_order_data()
    {
        QTest::addColumn<QList<int>>("attached");
        QTest::addColumn<int>("found");
        QTest::newRow("i1Pro and SpyderX: i1Pro") << QList<int>{2, 6} << 2;
        QTest::newRow("SpyderX alone") << QList<int>{6} << 6;
        QTest::newRow("i1Display Pro before the PL series") << QList<int>{8, 3} << 3;
        QTest::newRow("i1Display before i1Studio") << QList<int>{4, 1} << 1;
        QTest::newRow("Spyder before i1Display Pro") << QList<int>{3, 5} << 5;
    }

    void detection_order()
    {
        QFETCH(QList<int>, attached);
        QFETCH(int, found);
        driver_census census;
        {
            CTargetSensor factory(fake_drivers(census, QSet<int>(attached.begin(), attached.end())));
            detection::recorder record(factory);
            QVERIFY(factory.DetectSensor());
            QCOMPARE(factory.GetSensorType(), found);
            QVERIFY(factory.GetSensor());
            const int tried = kDetectionOrder.indexOf(found) + 1;
            QCOMPARE(census.constructed, kDetectionOrder.mid(0, tried));
            const QStringList expected = detection::changed_times(tried - 1)
                                         + QStringList{QStringLiteral("detected:fake kind %1").arg(found),
                                                       QStringLiteral("complete"), QStringLiteral("changed")};
            QCOMPARE(record.events, expected);
            QCOMPARE(census.alive.load(), 1);
        }
        QCOMPARE(census.alive.load(), 0);
        QCOMPARE(census.overlaps.load(), 0);
    }

    void detection_without_instrument()
    {
        driver_census census;
        CTargetSensor factory(fake_drivers(census, {}));
        detection::recorder record(factory);
        QVERIFY(!factory.DetectSensor());
        QCOMPARE(census.constructed, kDetectionOrder);
        QCOMPARE(census.alive.load(), 0);
        QCOMPARE(census.overlaps.load(), 0);
        QCOMPARE(record.count(QStringLiteral("changed")), 9);
        QCOMPARE(record.events.mid(8), (QStringList{QStringLiteral("detected:-"), QStringLiteral("complete"),
                                                     QStringLiteral("changed")}));
        QCOMPARE(factory.GetSensor(), nullptr);
        QCOMPARE(factory.GetSensorType(), 0);
    }

    void a_new_detection_replaces_the_driver()
    {
        driver_census census;
        CTargetSensor factory(fake_drivers(census, {3}));
        QVERIFY(factory.DetectSensor());
        QVERIFY(factory.DetectSensor());
        QCOMPARE(census.alive.load(), 1);
        QCOMPARE(census.overlaps.load(), 0);
    }

    void set_sensor_type_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("events");
        const QStringList found{QStringLiteral("detected:fake kind 3"), QStringLiteral("complete"),
                                QStringLiteral("changed")};
        const QStringList none{QStringLiteral("detected:-"), QStringLiteral("complete"), QStringLiteral("changed")};
        QTest::newRow("attached kind") << 3 << 0 << found;
        QTest::newRow("kind not attached") << 5 << -1000 << QStringList{QStringLiteral("changed")};
        QTest::newRow("none") << 0 << -1000 << none;
        QTest::newRow("past the list") << 9 << -1000 << none;
        QTest::newRow("negative") << -1 << -1000 << none;
    }

    void set_sensor_type()
    {
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(QStringList, events);
        driver_census census;
        CTargetSensor factory(fake_drivers(census, {3, 7}));
        QCOMPARE(factory.SetSensorType(7), 0);
        detection::recorder record(factory);
        QCOMPARE(factory.SetSensorType(kind), status);
        QCOMPARE(record.events, events);
        QCOMPARE(factory.GetSensorType(), status == 0 ? kind : 0);
        QCOMPARE(factory.GetSensor() != nullptr, status == 0);
        // The previous driver is gone in every case.
        QCOMPARE(census.alive.load(), status == 0 ? 1 : 0);
        QCOMPARE(census.overlaps.load(), 0);
    }

    void kind_names_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("offered");
        QTest::newRow("0") << 0 << true << QStringLiteral("None") << true;
        QTest::newRow("1") << 1 << true << QStringLiteral("X-Rite i1Display") << true;
        QTest::newRow("2") << 2 << true << QStringLiteral("X-Rite i1Pro / i1Pro2") << true;
        QTest::newRow("3") << 3 << true << QStringLiteral("X-Rite i1Display Pro") << true;
        QTest::newRow("4") << 4 << true << QStringLiteral("X-Rite i1Studio / ColorMunki") << true;
        QTest::newRow("5") << 5 << true << QStringLiteral("Datacolor Spyder3/4/5") << true;
        QTest::newRow("6") << 6 << true << QStringLiteral("Datacolor SpyderX") << true;
        QTest::newRow("7") << 7 << true << QStringLiteral("X-Rite Hubble") << true;
        QTest::newRow("8 without its server") << 8 << true << QStringLiteral("Trelane") << false;
        QTest::newRow("9") << 9 << false << QString() << false;
        QTest::newRow("-1") << -1 << false << QString() << false;
    }

    void kind_names()
    {
        QFETCH(int, kind);
        QFETCH(bool, result);
        QFETCH(QString, name);
        QFETCH(bool, offered);
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        CTargetSensor factory;
        QString actualName;
        bool actualOffered = true;
        QCOMPARE(factory.GetSensorTypeName(kind, actualName, actualOffered), result);
        QCOMPARE(actualName, name);
        QCOMPARE(actualOffered, offered);
    }

    void pl_series_offered_with_its_server()
    {
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        QFile server(m_environment.emptyFolder() + QStringLiteral("/libpl200srvr.so"));
        QVERIFY(server.open(QIODevice::WriteOnly));
        server.close();
        CTargetSensor factory;
        QString name;
        bool offered = false;
        QVERIFY(factory.GetSensorTypeName(8, name, offered));
        QVERIFY(offered);
        QVERIFY(server.remove());
    }

    void no_instrument_library_detects_nothing_quickly()
    {
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        CTargetSensor factory;
        detection::recorder record(factory);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!factory.DetectSensor());
        // Nothing to load and nothing to wait for: well under a second.
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(record.events.mid(record.events.size() - 3),
                 (QStringList{QStringLiteral("detected:-"), QStringLiteral("complete"), QStringLiteral("changed")}));
        QCOMPARE(factory.GetSensor(), nullptr);
    }

    void simulated_i1display_pro_is_found_in_order()
    {
        sensor_test_environment::useLibraryFolder(sensor_test_environment::simulatedLibraryFolder());
        simulated_instrument_control control(sensor_test_environment::simulatedLibrary("libi1d3sdk.so"));
        QVERIFY(control.isLoaded());
        control.reset();
        QVERIFY(control.configure({{QStringLiteral("time_scale"), 0.0}}));
        {
            CTargetSensor factory;
            detection::recorder record(factory);
            QVERIFY(factory.DetectSensor());
            QCOMPARE(factory.GetSensorType(), 3);
            QVERIFY(factory.GetSensor()->IsOpen());
            // i1Pro, i1Display, i1Studio and Spyder3/4/5 come first.
            const QStringList expected = detection::changed_times(4)
                                         + QStringList{QStringLiteral("detected:X-Rite i1Display Pro"),
                                                       QStringLiteral("complete"), QStringLiteral("changed")};
            QCOMPARE(record.events, expected);
        }
        QCOMPARE(control.callNames().mid(control.callNames().size() - 2),
                 (QStringList{QStringLiteral("i1d3DeviceClose"), QStringLiteral("i1d3Destroy")}));

        QVERIFY(control.configure({{QStringLiteral("device_count"), 0}}));
        CTargetSensor factory;
        // Simulated families later in the order may answer; this one does not.
        factory.DetectSensor();
        QVERIFY(factory.GetSensorType() != 3);
        // The library is there but no instrument: its session is torn down again.
        QCOMPARE(control.callNames().last(), QStringLiteral("i1d3Destroy"));
    }

    void simulated_i1display_pro_found_on_the_detection_thread()
    {
        sensor_test_environment::useLibraryFolder(sensor_test_environment::simulatedLibraryFolder());
        simulated_instrument_control control(sensor_test_environment::simulatedLibrary("libi1d3sdk.so"));
        control.reset();
        QVERIFY(control.configure({{QStringLiteral("time_scale"), 0.0}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        {
            SensorDetectThread thread(&factory);
            thread.startDetection();
            QTRY_COMPARE(record.count(QStringLiteral("complete")), 1);
        }
        QCOMPARE(record.count(QStringLiteral("detected:X-Rite i1Display Pro")), 1);
        CSensor *sensor = factory.GetSensor();
        QVERIFY(sensor);
        QCOMPARE(sensor->thread(), QThread::currentThread());
        // The driver found on that thread measures on this one.
        QVERIFY(light_channel::publish_light(QStringLiteral("127.0.10.4/1"), {9.5, 10.0, 10.9}));
        QVERIFY(light_channel::publish_active_display(QStringLiteral("127.0.10.4/1")));
        QVERIFY(control.configure({{QStringLiteral("light_folder"), m_environment.lightFolder()}}));
        QCOMPARE(sensor->MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor->GetXYZ(reading), 0);
        QCOMPARE(reading.Y, 10.0);
    }

    void detection_thread_reports_queued()
    {
        driver_census census;
        CTargetSensor factory(fake_drivers(census, {4}));
        detection::recorder record(factory);
        SensorDetectThread thread(&factory);
        thread.startDetection();
        QTRY_COMPARE(record.count(QStringLiteral("complete")), 1);
        QVERIFY(thread.wait(5000));
        for (QThread *delivered : record.threads)
            QCOMPARE(delivered, QThread::currentThread());
        QCOMPARE(record.events.last(), QStringLiteral("changed"));
        QCOMPARE(factory.GetSensorType(), 4);
        // The driver lives on with its owner, not with the finished thread.
        QCOMPARE(factory.GetSensor()->thread(), QThread::currentThread());
    }

    void detection_running_is_not_repeated()
    {
        driver_census census;
        QSemaphore entered;
        QSemaphore release;
        sensor_driver_table table = fake_drivers(census, {});
        const sensor_driver_creator first = table[2];
        table[2] = [&, first] {
            entered.release();
            release.acquire();
            return first();
        };
        CTargetSensor factory(table);
        detection::recorder record(factory);
        {
            SensorDetectThread thread(&factory);
            thread.startDetection();
            QVERIFY(entered.tryAcquire(1, 5000));
            thread.startDetection();
            release.release();
            QVERIFY(thread.wait(5000));
        }
        QTRY_COMPARE(record.count(QStringLiteral("complete")), 1);
        QCOMPARE(census.constructed, kDetectionOrder);
    }

    void detection_waits_for_a_driver_in_use()
    {
        driver_census census;
        CTargetSensor factory(fake_drivers(census, {5}));
        QVERIFY(factory.DetectSensor());
        CSensor *inUse = factory.GetSensor();
        detection::recorder record(factory);
        SensorDetectThread thread(&factory);
        {
            QMutexLocker use(&factory.DriverMutex());
            thread.startDetection();
            QTest::qWait(100);
            // The measurement's driver is still there.
            QCOMPARE(factory.GetSensor(), inUse);
            QCOMPARE(census.alive.load(), 1);
            QVERIFY(record.events.isEmpty());
        }
        QTRY_COMPARE(record.count(QStringLiteral("complete")), 1);
        QVERIFY(thread.wait(5000));
        QCOMPARE(census.overlaps.load(), 0);
    }

    void destroying_the_thread_waits_for_its_detection()
    {
        driver_census census;
        QSemaphore entered;
        sensor_driver_table table = fake_drivers(census, {});
        const sensor_driver_creator first = table[2];
        table[2] = [&, first] {
            entered.release();
            QThread::msleep(50);
            return first();
        };
        CTargetSensor factory(table);
        {
            SensorDetectThread thread(&factory);
            thread.startDetection();
            QVERIFY(entered.tryAcquire(1, 5000));
        }
        QCOMPARE(census.constructed, kDetectionOrder);
        QCOMPARE(census.alive.load(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_target_sensor)
#include "tst_target_sensor.moc"
