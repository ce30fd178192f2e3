#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/TDummyComm.h"
#include "display_protocol/TLANComm.h"
#include "display_protocol/TRS232Comm.h"
#include "display_protocol/link_status.h"
#include "display_protocol/serial_port_path.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kLanAddress = loopback_block::address(1);
const QString kUnusedAddress = loopback_block::address(2);
const QString kRawServerAddress = loopback_block::address(3);
const QString kSerialLanAddress = loopback_block::address(4);

// A bare listening socket for the test to play the display itself.
class raw_server
{
public:
    explicit raw_server(const QString &address)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_port = htons(TLANComm::kPort);
        ::inet_pton(AF_INET, address.toLatin1().constData(), &a.sin_addr);
        m_ok = ::bind(m_listen, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && ::listen(m_listen, 1) == 0;
    }
    ~raw_server()
    {
        if (m_client >= 0)
            ::close(m_client);
        ::close(m_listen);
    }
    bool ok() const { return m_ok; }
    bool accept_client() { return (m_client = ::accept(m_listen, nullptr, nullptr)) >= 0; }
    void send(const QByteArray &bytes) { QVERIFY(::write(m_client, bytes.constData(), bytes.size()) == bytes.size()); }
    QByteArray receive(int size)
    {
        QByteArray bytes(size, '\0');
        int done = 0;
        while (done < size) {
            const ssize_t n = ::read(m_client, bytes.data() + done, static_cast<size_t>(size - done));
            if (n <= 0)
                break;
            done += static_cast<int>(n);
        }
        return bytes.left(done);
    }

private:
    int m_listen = -1;
    int m_client = -1;
    bool m_ok = false;
};

QList<char> list_of(const QByteArray &bytes)
{
    QList<char> list;
    for (char c : bytes)
        list << c;
    return list;
}

} // namespace

class tst_transports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_time_scale(1.0); }

    void null_link()
    {
        TDummyComm link;
        QCOMPARE(link.open(QStringLiteral("anything")), 0);
        QVERIFY(link.is_open());
        QCOMPARE(link.write(list_of("abc"), 100), 0);
        char c = 0;
        QCOMPARE(link.read_byte(&c, 5000), link_status::kNoByte);
    }

    void empty_writes_succeed_even_when_closed()
    {
        TLANComm lan;
        TRS232Comm serial;
        QCOMPARE(lan.write({}, 100), 0);
        QCOMPARE(serial.write({}, 100), 0);
        QCOMPARE(lan.write(list_of("x"), 100), link_status::kNotOpen);
        QCOMPARE(serial.write(list_of("x"), 100), link_status::kNotOpen);
        char c = 0;
        QCOMPARE(lan.read_byte(&c, 100), link_status::kNotOpen);
        QCOMPARE(serial.read_byte(&c, 100), link_status::kNotOpen);
    }

    void refused_connection()
    {
        TLANComm lan;
        QCOMPARE(lan.open(kUnusedAddress), link_status::kConnectionRefused);
        QVERIFY(!lan.is_open());
        QVERIFY(lan.port_name().isEmpty());
    }

    void lan_is_closed_after_close()
    {
        wall_fixture fx(kLanAddress);
        QVERIFY_FIXTURE(fx);
        TLANComm lan;
        QCOMPARE(lan.open(kLanAddress), 0);
        QVERIFY(lan.is_open());
        QCOMPARE(lan.port_name(), kLanAddress);
        QCOMPARE(lan.close(), 0);
        QVERIFY(!lan.is_open());
        QVERIFY(lan.port_name().isEmpty());
        // Opening again on an open link reconnects.
        QCOMPARE(lan.open(kLanAddress), 0);
        QCOMPARE(lan.open(kLanAddress), 0);
        QTRY_COMPARE(fx.wall.connection_count(fx.endpoint), 3);
    }

    void lan_write_discards_unasked_bytes()
    {
        raw_server server(kRawServerAddress);
        QVERIFY(server.ok());
        TLANComm lan;
        QCOMPARE(lan.open(kRawServerAddress), 0);
        QVERIFY(server.accept_client());
        server.send("stale");
        QTest::qWait(100); // let the stale bytes arrive before the write
        QCOMPARE(lan.write(list_of("ping"), 1000), 0);
        QCOMPARE(server.receive(4), QByteArray("ping"));
        server.send("Z");
        char c = 0;
        QCOMPARE(lan.read_byte(&c, 1000), 0);
        QCOMPARE(c, 'Z');
    }

    void serial_port_names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("overridden");
        QTest::newRow("COM1") << "COM1" << "/dev/ttyS0" << false;
        QTest::newRow("COM10 and above") << "COM12" << "/dev/ttyS11" << false;
        QTest::newRow("any letter case") << "com3" << "/dev/ttyS2" << false;
        QTest::newRow("device path as it is") << "/dev/ttyUSB0" << "/dev/ttyUSB0" << false;
        QTest::newRow("overridden port") << "COM5" << "/dev/pts/77" << true;
        QTest::newRow("COM0 is no port") << "COM0" << "" << false;
        QTest::newRow("leading zero is no port") << "COM01" << "" << false;
        QTest::newRow("not a port name") << "LPT1" << "" << false;
        QTest::newRow("empty") << "" << "" << false;
    }

    void serial_port_names()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(bool, overridden);
        qputenv("TESSALINE_SERIAL_PORT_COM5", "/dev/pts/77");
        QCOMPARE(serial_port_path(name), path);
        QCOMPARE(serial_port_override_path(name), overridden ? path : QString());
        qunsetenv("TESSALINE_SERIAL_PORT_COM5");
    }

    void serial_open_failures()
    {
        QTemporaryDir dir;
        const QString plain_file = dir.filePath(QStringLiteral("not-a-port"));
        QFile file(plain_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        for (const QString &name : {dir.filePath(QStringLiteral("missing")), plain_file, QStringLiteral("LPT1")}) {
            TRS232Comm serial;
            QCOMPARE(serial.open(name), link_status::kSerialOpenFailed);
            QVERIFY(!serial.is_open());
        }
    }

    // A pseudo-terminal line with nothing on it times out after the time-out
    // given, not after the 2000 ms of the port set-up.
    void silent_serial_line_times_out_with_the_given_time_out()
    {
        simulated_wall wall;
        const int endpoint = wall.add_serial_endpoint();
        QVERIFY(endpoint >= 0);
        TRS232Comm serial;
        QCOMPARE(serial.open(wall.serial_path(endpoint)), 0);
        QElapsedTimer timer;
        timer.start();
        char c = 0;
        QCOMPARE(serial.read_byte(&c, 300), link_status::kNoByte);
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 290 && elapsed < 1500, qPrintable(QString::number(elapsed)));
        QCOMPARE(serial.close(), 0);
        QVERIFY(!serial.is_open());
    }

    void same_commands_over_serial_and_lan_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::newRow("pseudo-terminal at 9600 baud, by logical name") << true;
        QTest::newRow("TCP") << false;
    }

    void same_commands_over_serial_and_lan()
    {
        QFETCH(bool, serial);
        simulated_wall wall;
        const int endpoint = serial ? wall.add_serial_endpoint() : wall.add_lan_endpoint(kSerialLanAddress);
        QVERIFY(endpoint >= 0);
        const int display = wall.add_display(endpoint, 'C');
        wall.with_display(display, [](sim_display &d) { d.controls.set(0x1192, 0x2A, 0xFF); });
        qputenv("TESSALINE_SERIAL_PORT_COM9", wall.serial_path(endpoint).toLocal8Bit());
        PDCommProtocol link;
        QCOMPARE(link.open_link(serial ? QStringLiteral("COM9") : kSerialLanAddress,
                                serial ? PDCommProtocol::kLinkSerial : PDCommProtocol::kLinkLan),
                 0);
        qunsetenv("TESSALINE_SERIAL_PORT_COM9");
        link.set_destination('C');
        QElapsedTimer timer;
        timer.start();
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), 0);
        // 33 reply bytes at about 1.04 ms each on the serial line.
        if (serial)
            QVERIFY(timer.elapsed() >= 30);
        QCOMPARE(model, QByteArray("SIM-WALL 55"));
        quint8 result = 1, type = 0;
        quint16 max = 0, current = 0;
        QCOMPARE(link.set_parameter_code(0x1192, 0x40, &result, &type, &max, &current), 0);
        QCOMPARE(current, quint16(0x40));
        QCOMPARE(wall.with_display(display, [](sim_display &d) { return d.controls.value(0x1192); }), quint16(0x40));
        quint16 mode = 0;
        QCOMPARE(link.get_power_state(&mode, &max), 0);
        QCOMPARE(mode, quint16(1));
    }
};

QTEST_APPLESS_MAIN(tst_transports)
#include "tst_transports.moc"
