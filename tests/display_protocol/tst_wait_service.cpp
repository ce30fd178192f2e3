#include "display_protocol/wait_service.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

constexpr qint64 kDefaultFloorMs = 100;

} // namespace

class tst_wait_service : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        wait_service::set_time_scale(1.0);
        wait_service::set_io_timeout_floor_ms(kDefaultFloorMs);
    }

    void scaled_ms_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<qint64>("nominal");
        QTest::addColumn<qint64>("real");
        QTest::newRow("unscaled") << 1.0 << qint64(250) << qint64(250);
        QTest::newRow("hundredth") << 0.01 << qint64(60000) << qint64(600);
        QTest::newRow("rounds up, never to zero") << 0.001 << qint64(1) << qint64(1);
        QTest::newRow("zero scale skips waits") << 0.0 << qint64(5000) << qint64(0);
        QTest::newRow("negative wait") << 1.0 << qint64(-5) << qint64(0);
    }

    void scaled_ms()
    {
        QFETCH(double, scale);
        QFETCH(qint64, nominal);
        QFETCH(qint64, real);
        wait_service::set_time_scale(scale);
        QCOMPARE(wait_service::scaled_ms(nominal), real);
    }

    void io_timeout_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<qint64>("nominal");
        QTest::addColumn<int>("real");
        QTest::newRow("unscaled") << 1.0 << qint64(2000) << 2000;
        QTest::newRow("scaled") << 0.1 << qint64(2000) << 200;
        QTest::newRow("never below the floor") << 0.001 << qint64(2000) << 100;
        QTest::newRow("zero scale keeps the floor") << 0.0 << qint64(500) << 100;
        QTest::newRow("at most one day") << 1000.0 << qint64(24 * 60 * 60 * 1000) << 24 * 60 * 60 * 1000;
    }

    void io_timeout()
    {
        QFETCH(double, scale);
        QFETCH(qint64, nominal);
        QFETCH(int, real);
        wait_service::set_time_scale(scale);
        QCOMPARE(wait_service::io_timeout_ms(nominal), real);
    }

    void timer_interval_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<qint64>("nominal");
        QTest::addColumn<int>("real");
        QTest::newRow("unscaled") << 1.0 << qint64(20) << 20;
        QTest::newRow("scaled") << 0.1 << qint64(1000) << 100;
        QTest::newRow("zero scale never spins") << 0.0 << qint64(10) << 1;
        QTest::newRow("at most one day") << 1000.0 << qint64(24 * 60 * 60 * 1000) << 24 * 60 * 60 * 1000;
    }

    void timer_interval()
    {
        QFETCH(double, scale);
        QFETCH(qint64, nominal);
        QFETCH(int, real);
        wait_service::set_time_scale(scale);
        QCOMPARE(wait_service::timer_interval_ms(nominal), real);
    }

    // Tests whose displays always answer raise the floor; nothing else moves.
    void io_timeout_floor_can_be_raised()
    {
        wait_service::set_time_scale(0.01);
        wait_service::set_io_timeout_floor_ms(2000);
        QCOMPARE(wait_service::io_timeout_ms(2000), 2000);
        QCOMPARE(wait_service::io_timeout_ms(500000), 5000);
        QCOMPARE(wait_service::scaled_ms(2000), qint64(20));
        for (qint64 invalid : {qint64(0), qint64(-1), qint64(25) * 60 * 60 * 1000})
            wait_service::set_io_timeout_floor_ms(invalid);
        QCOMPARE(wait_service::io_timeout_ms(2000), 2000);
    }

    void rejects_invalid_scales()
    {
        wait_service::set_time_scale(0.5);
        wait_service::set_time_scale(-1.0);
        wait_service::set_time_scale(std::numeric_limits<double>::quiet_NaN());
        wait_service::set_time_scale(std::numeric_limits<double>::infinity());
        QCOMPARE(wait_service::time_scale(), 0.5);
    }

    void sleep_follows_scale()
    {
        // A one-minute settle time at 1/1000 must take about 60 ms; the upper
        // bound is loose because CI machines are shared.
        wait_service::set_time_scale(0.001);
        QElapsedTimer timer;
        timer.start();
        wait_service::sleep_ms(60000);
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 59 && elapsed < 2000, qPrintable(QString::number(elapsed)));
    }

    void waiting_delivers_events()
    {
        wait_service::set_time_scale(0.01);
        bool fired = false;
        QTimer::singleShot(0, this, [&fired] { fired = true; });
        wait_service::wait_processing_events(2000);
        QVERIFY(fired);
    }
};

QTEST_MAIN(tst_wait_service)
#include "tst_wait_service.moc"
