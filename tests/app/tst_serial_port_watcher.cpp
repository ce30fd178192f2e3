#include "app/services/serial_port_watcher.h"
#include "display_protocol/wait_service.h"
#include "tests/app/serial_test_ports.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString path_in(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).value<serial_port_record>().physName;
}

} // namespace

class tst_serial_port_watcher : public QObject
{
    Q_OBJECT

private slots:
    void init() { clear_serial_port_overrides(); }
    void cleanup() { clear_serial_port_overrides(); }

    void present_names_data();
    void present_names();
    void ports_come_and_go_by_device_path();
    void a_named_pseudo_terminal_comes_and_goes();
    void polls_on_the_wait_service_scale();
};

void tst_serial_port_watcher::present_names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("override");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<bool>("present");

    const QStringList ttyS2{QStringLiteral("/dev/ttyS2")};
    QTest::newRow("enumerated at its default path") << "COM3" << "" << ttyS2 << true;
    QTest::newRow("any letter case") << "com3" << "" << ttyS2 << true;
    QTest::newRow("another port enumerated") << "COM4" << "" << ttyS2 << false;
    QTest::newRow("nothing enumerated") << "COM1" << "" << QStringList() << false;
    QTest::newRow("not a port name") << "LPT1" << "" << ttyS2 << false;
    QTest::newRow("overridden to an enumerated adapter") << "COM3" << "/dev/ttyUSB0"
                                                         << QStringList{QStringLiteral("/dev/ttyUSB0")} << true;
    QTest::newRow("overridden away from its default") << "COM3" << "/dev/ttyUSB7" << ttyS2 << false;
    QTest::newRow("overridden to a character device") << "COM3" << "/dev/null" << QStringList() << true;
    QTest::newRow("overridden to a plain file") << "COM3" << "<file>" << QStringList() << false;
    QTest::newRow("overridden to nothing") << "COM3" << "/dev/no-such-port" << QStringList() << false;
}

void tst_serial_port_watcher::present_names()
{
    QFETCH(QString, name);
    QFETCH(QString, override);
    QFETCH(QStringList, ports);
    QFETCH(bool, present);
    QTemporaryDir dir;
    if (override == QLatin1String("<file>")) {
        override = dir.filePath(QStringLiteral("not-a-port"));
        QFile file(override);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (!override.isEmpty())
        qputenv("TESSALINE_SERIAL_PORT_COM3", override.toLocal8Bit());
    QList<serial_port_record> records;
    for (const QString &path : ports)
        records.append(serial_port_at(path));
    QCOMPARE(com_port_present(name, records), present);
}

void tst_serial_port_watcher::ports_come_and_go_by_device_path()
{
    QList<serial_port_record> machine;
    serial_port_watcher watcher;
    watcher.setPortSource([&machine] { return machine; });
    QSignalSpy discovered(&watcher, &serial_port_watcher::deviceDiscovered);
    QSignalSpy removed(&watcher, &serial_port_watcher::deviceRemoved);

    // Whatever the real machine had is gone once the source is replaced.
    watcher.poll_now();
    QVERIFY(watcher.ports().isEmpty());
    removed.clear();
    QCOMPARE(discovered.count(), 0);

    machine = {serial_port_at(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("adapter")),
               serial_port_at(QStringLiteral("/dev/ttyS1"))};
    watcher.poll_now();
    QCOMPARE(discovered.count(), 2);
    QCOMPARE(removed.count(), 0);
    QCOMPARE(watcher.ports().size(), 2);
    const serial_port_record adapter = [&] {
        for (const QList<QVariant> &signal : discovered) {
            const serial_port_record record = signal.at(0).value<serial_port_record>();
            if (record.physName == QLatin1String("/dev/ttyUSB0"))
                return record;
        }
        return serial_port_record();
    }();
    QCOMPARE(adapter.friendName, QStringLiteral("adapter"));

    // The same paths under another description are the same ports.
    discovered.clear();
    machine[0].friendName = QStringLiteral("renamed");
    watcher.poll_now();
    QCOMPARE(discovered.count(), 0);
    QCOMPARE(removed.count(), 0);

    machine.removeFirst();
    watcher.poll_now();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(path_in(removed, 0), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(discovered.count(), 0);
}

void tst_serial_port_watcher::a_named_pseudo_terminal_comes_and_goes()
{
    serial_port_watcher watcher;
    watcher.setPortSource([] { return QList<serial_port_record>(); });
    watcher.poll_now();
    QSignalSpy discovered(&watcher, &serial_port_watcher::deviceDiscovered);
    QSignalSpy removed(&watcher, &serial_port_watcher::deviceRemoved);

    pseudo_terminal terminal;
    QVERIFY(!terminal.path().isEmpty());
    qputenv("TESSALINE_SERIAL_PORT_COM3", terminal.path().toLocal8Bit());
    QVERIFY(com_port_present(QStringLiteral("COM3"), {}));
    watcher.poll_now();
    QCOMPARE(discovered.count(), 1);
    QCOMPARE(path_in(discovered, 0), terminal.path());
    QCOMPARE(discovered.at(0).at(0).value<serial_port_record>().friendName, QStringLiteral("COM3"));

    terminal.close();
    QVERIFY(!com_port_present(QStringLiteral("COM3"), {}));
    watcher.poll_now();
    QCOMPARE(removed.count(), 1);
    QCOMPARE(path_in(removed, 0), terminal.path());
}

void tst_serial_port_watcher::polls_on_the_wait_service_scale()
{
    // A second of nominal time passes in 10 ms.
    const double scale = wait_service::time_scale();
    wait_service::set_time_scale(0.01);
    QList<serial_port_record> machine;
    serial_port_watcher watcher;
    wait_service::set_time_scale(scale);
    watcher.setPortSource([&machine] { return machine; });
    QSignalSpy removed(&watcher, &serial_port_watcher::deviceRemoved);
    QTRY_VERIFY(watcher.ports().isEmpty());
    QSignalSpy discovered(&watcher, &serial_port_watcher::deviceDiscovered);
    machine.append(serial_port_at(QStringLiteral("/dev/ttyACM0")));
    QTRY_COMPARE(discovered.count(), 1);
    QCOMPARE(path_in(discovered, 0), QStringLiteral("/dev/ttyACM0"));
}

QTEST_GUILESS_MAIN(tst_serial_port_watcher)
#include "tst_serial_port_watcher.moc"
