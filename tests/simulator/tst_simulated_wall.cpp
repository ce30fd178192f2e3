// The simulated wall checked with hand-made frames: it must stand on its own
// as the reference that the application's frame code is tested against.
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QString kChainAddress = loopback_block::address(1);
const QStringList kSearchedAddresses {loopback_block::address(11), loopback_block::address(12)};
// This process's own search port, so that other runs' searches on the shared
// broadcast address stay apart from it.
const quint16 kSearchPort = loopback_block::search_port();

const char kGetBrightnessOfB[] = "01304230433036023030313003070D";
const char kBrightnessReplyOfB[] = "01303042443132023030303031303030303036343030333203060D";
const char kModelNameToAny[] = "01302A304130360243323137031B0D";
const char kModelNameReplyOfA[] =
    "01303041423143024333313735333439344432443537343134433443323033353335030E0D";
const char kModelNameToZ[] = "01305A304130360243323137036B0D";
const char kUnknownCommandToA[] = "01304130413036024332464603760D";
const char kRefusalOfA[] = "0130304142303402424503010D";
const char kSetBrightnessOfAToFF[] = "0130413045304102303031303030464603750D";
const char kSetBrightnessReplyOfA[] = "01303041463132023030303031303030303036343030363403040D";

// Sends |request| and collects what comes back within |wait_ms|.
QByteArray exchange(QTcpSocket &socket, const char *request_hex, int wait_ms = 500)
{
    socket.write(QByteArray::fromHex(request_hex));
    socket.waitForBytesWritten(1000);
    QByteArray reply;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < wait_ms && !reply.endsWith('\r')) {
        if (socket.waitForReadyRead(50))
            reply += socket.readAll();
    }
    return reply;
}

} // namespace

class tst_simulated_wall : public QObject
{
    Q_OBJECT

private slots:
    void daisy_chain_routing()
    {
        simulated_wall wall;
        const int endpoint = wall.add_lan_endpoint(kChainAddress);
        QVERIFY2(endpoint >= 0, qPrintable(QStringLiteral("cannot listen on %1:7142").arg(kChainAddress)));
        const int a = wall.add_display(endpoint, 'A');
        wall.add_display(endpoint, 'B');
        QTcpSocket socket;
        socket.connectToHost(kChainAddress, 7142);
        QVERIFY(socket.waitForConnected(2000));

        QCOMPARE(exchange(socket, kGetBrightnessOfB).toHex().toUpper(), QByteArray(kBrightnessReplyOfB));
        QCOMPARE(exchange(socket, kModelNameToAny).toHex().toUpper(), QByteArray(kModelNameReplyOfA));
        QVERIFY(exchange(socket, kModelNameToZ, 200).isEmpty());
        QCOMPARE(exchange(socket, kUnknownCommandToA).toHex().toUpper(), QByteArray(kRefusalOfA));
        QCOMPARE(exchange(socket, kSetBrightnessOfAToFF).toHex().toUpper(), QByteArray(kSetBrightnessReplyOfA));
        QCOMPARE(wall.with_display(a, [](sim_display &d) { return d.controls.value(0x10); }), quint16(100));

        const QList<sim_log_entry> log = wall.log();
        QCOMPARE(log.size(), 5);
        QCOMPARE(log[0].answered_by, 'B');
        QCOMPARE(log[1].answered_by, 'A');
        QCOMPARE(log[2].answered_by, char(0));
        QCOMPARE(log[2].destination, 'Z');
        QCOMPARE(log[4].type, 'E');
        QCOMPARE(log[4].body, QByteArray("001000FF"));
        for (int i = 1; i < log.size(); ++i)
            QVERIFY(log[i].time_ms >= log[i - 1].time_ms);
        QCOMPARE(wall.connection_count(endpoint), 1);
    }

    void damaged_requests_are_logged_and_ignored()
    {
        simulated_wall wall;
        const int endpoint = wall.add_lan_endpoint(kChainAddress);
        wall.add_display(endpoint, 'A');
        QTcpSocket socket;
        socket.connectToHost(kChainAddress, 7142);
        QVERIFY(socket.waitForConnected(2000));
        QByteArray bad_check = QByteArray::fromHex(kModelNameToAny);
        bad_check[bad_check.size() - 2] = static_cast<char>(bad_check.at(bad_check.size() - 2) ^ 0x01);
        QVERIFY(exchange(socket, bad_check.toHex().constData(), 200).isEmpty());
        // Noise before a frame is skipped; the frame after it is answered.
        QCOMPARE(exchange(socket, (QByteArray("7A7A") + kModelNameToAny).constData()).toHex().toUpper(),
                 QByteArray(kModelNameReplyOfA));
        const QList<sim_log_entry> log = wall.log();
        QCOMPARE(log.size(), 2);
        QVERIFY(!log[0].valid);
        QVERIFY(log[1].valid);
    }

    void refusing_connections_closes_the_endpoint_until_cleared()
    {
        simulated_wall wall;
        const int endpoint = wall.add_lan_endpoint(kChainAddress);
        const int a = wall.add_display(endpoint, 'A');
        // The endpoint's thread closes and reopens the port in its own time:
        // on a busy machine that may take a while.
        const auto connects = [] {
            QTcpSocket socket;
            socket.connectToHost(kChainAddress, 7142);
            return socket.waitForConnected(1000) ? QAbstractSocket::UnknownSocketError : socket.error();
        };
        wall.set_fault(a, sim_fault_kind::refuse_connections);
        QTRY_COMPARE_WITH_TIMEOUT(connects(), QAbstractSocket::ConnectionRefusedError, 10000);
        wall.set_fault(a, sim_fault_kind::none);
        QTRY_COMPARE_WITH_TIMEOUT(connects(), QAbstractSocket::UnknownSocketError, 10000);
    }

    // The RS-232 side: a pseudo-terminal that paces replies at 9600 baud.
    void serial_chain_is_paced()
    {
        simulated_wall wall;
        const int endpoint = wall.add_serial_endpoint();
        QVERIFY2(endpoint >= 0, qPrintable(QStringLiteral("cannot listen on %1:7142").arg(kChainAddress)));
        wall.add_display(endpoint, 'A');
        const QString path = wall.serial_path(endpoint);
        QVERIFY(QFile::exists(path));
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        const QByteArray request = QByteArray::fromHex(kModelNameToAny);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(int(::write(fd, request.constData(), size_t(request.size()))), request.size());
        QByteArray reply;
        while (timer.elapsed() < 10000 && !reply.endsWith('\r')) {
            pollfd p {fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buffer[64];
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n > 0)
                    reply.append(buffer, int(n));
            }
        }
        const qint64 elapsed = timer.elapsed();
        ::close(fd);
        QCOMPARE(reply.toHex().toUpper(), QByteArray(kModelNameReplyOfA));
        // The endpoint counts a byte once it is written, which may be after
        // it was read here.
        QTRY_COMPARE(wall.bytes_sent(endpoint), qint64(reply.size()));
        // 37 bytes at 1.04 ms each; an upper bound only guards against a hang.
        QVERIFY2(elapsed >= 37, qPrintable(QString::number(elapsed)));
    }

    // A search sent to the loopback broadcast address is answered by each
    // LAN endpoint from its own address, once the wall is asked to.
    void broadcast_search_is_answered_from_each_address()
    {
        simulated_wall wall;
        wall.set_search_port(kSearchPort);
        QList<int> displays;
        for (const QString &address : kSearchedAddresses) {
            const int endpoint = wall.add_lan_endpoint(address);
            QVERIFY2(endpoint >= 0, qPrintable(address));
            displays << wall.add_display(endpoint, 'A');
        }
        wall.with_display(displays.at(1), [](sim_display &d) { d.apply_model("VW-5530Q"); });
        QUdpSocket searcher;
        QVERIFY(searcher.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        QByteArray request(128, '\0');
        request.replace(0, 4, "KWTD");
        request[16] = 2;   // a new search
        // The model names answered from this test's addresses (another run's
        // walls may answer on the shared broadcast address too).
        const auto search = [&](int wait_ms) {
            searcher.writeDatagram(request, QHostAddress(QStringLiteral("127.255.255.255")), kSearchPort);
            QMap<QString, QByteArray> names;
            QElapsedTimer timer;
            timer.start();
            while (names.size() < kSearchedAddresses.size() && timer.elapsed() < wait_ms) {
                if (!searcher.waitForReadyRead(50))
                    continue;
                while (searcher.hasPendingDatagrams()) {
                    QByteArray answer(300, '\0');
                    QHostAddress sender;
                    answer.resize(int(searcher.readDatagram(answer.data(), answer.size(), &sender)));
                    const QByteArray name = answer.mid(96, 48);
                    if (kSearchedAddresses.contains(sender.toString()) && answer.size() == 256)
                        names.insert(sender.toString(), name.left(name.indexOf('\0')));
                }
            }
            return names;
        };
        QVERIFY(search(200).isEmpty());   // off until asked for
        QVERIFY(wall.set_broadcast_search(true));
        const QMap<QString, QByteArray> names = search(3000);
        QCOMPARE(names.value(kSearchedAddresses.at(0)), QByteArray("SIM-WALL 55"));
        QCOMPARE(names.value(kSearchedAddresses.at(1)), QByteArray("VW-5530Q"));
        QVERIFY(wall.broadcast_search_requests() >= 1);
        QCOMPARE(wall.search_requests(0), 0);   // not through the endpoints' own sockets
    }

    // The endpoint's thread walks the chain for every frame while the test
    // adds displays to it: every frame is still logged, each display answers.
    void displays_join_a_chain_while_it_is_served()
    {
        simulated_wall wall;
        const int endpoint = wall.add_lan_endpoint(kChainAddress);
        QVERIFY(endpoint >= 0);
        wall.add_display(endpoint, 'A');
        QTcpSocket socket;
        socket.connectToHost(kChainAddress, 7142);
        QVERIFY(socket.waitForConnected(2000));

        // Addressed to no display: each is compared with the whole chain.
        constexpr int kFrames = 2000;
        const QByteArray frame = QByteArray::fromHex(kModelNameToZ);
        socket.write(frame.repeated(kFrames));
        for (char id = 'B'; id < 'Z'; ++id) {
            QVERIFY(wall.add_display(endpoint, id) >= 0);
            socket.waitForBytesWritten(1);
        }
        QVERIFY(socket.waitForBytesWritten(2000) || socket.bytesToWrite() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(wall.log().size(), kFrames, 10000);
        QCOMPARE(wall.display_count(), 25);
        QCOMPARE(exchange(socket, kGetBrightnessOfB).toHex().toUpper(), QByteArray(kBrightnessReplyOfB));
    }
};

QTEST_GUILESS_MAIN(tst_simulated_wall)
#include "tst_simulated_wall.moc"
