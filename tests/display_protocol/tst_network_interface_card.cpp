#include "display_protocol/NetworkInterfaceCard.h"

#include <QtTest>

namespace {

QNetworkAddressEntry address(const QString &ip, const QString &netmask, const QString &broadcast = QString())
{
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(ip));
    entry.setNetmask(QHostAddress(netmask));
    entry.setBroadcast(QHostAddress(broadcast));
    return entry;
}

network_interface_source card(const QString &name, const QList<QNetworkAddressEntry> &addresses, bool valid = true)
{
    return network_interface_source {name, valid, addresses};
}

// "name ip broadcast" per entry.
QStringList described(const QList<network_interface_entry> &entries)
{
    QStringList lines;
    for (const network_interface_entry &e : entries)
        lines << QStringLiteral("%1 %2 %3").arg(e.name, e.ip.toString(), e.broadcast.toString());
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(network_interface_source)

class tst_network_interface_card : public QObject
{
    Q_OBJECT

private slots:
    // The loopback entry only where a test asks for it.
    void initTestCase() { qunsetenv(kSearchLoopbackVariable); }

    void filter_data()
    {
        QTest::addColumn<QList<network_interface_source>>("interfaces");
        QTest::addColumn<QStringList>("entries");
        const QString mask = QStringLiteral("255.255.255.0");
        const QNetworkAddressEntry lan = address(QStringLiteral("192.168.5.20"), mask, QStringLiteral("192.168.5.255"));
        QTest::newRow("loopback only") << QList<network_interface_source> {card(
            QStringLiteral("lo"), {address(QStringLiteral("127.0.0.1"), QStringLiteral("255.0.0.0")),
                                   address(QStringLiteral("::1"), QStringLiteral("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"))})}
                                       << QStringList();
        QTest::newRow("one LAN address") << QList<network_interface_source> {card(QStringLiteral("Ethernet"), {lan})}
                                         << QStringList {QStringLiteral("Ethernet 192.168.5.20 192.168.5.255")};
        QTest::newRow("two addresses, one name")
            << QList<network_interface_source> {card(
                   QStringLiteral("Ethernet"),
                   {lan, address(QStringLiteral("10.1.2.3"), QStringLiteral("255.0.0.0"), QStringLiteral("10.255.255.255"))})}
            << QStringList {QStringLiteral("Ethernet 192.168.5.20 192.168.5.255"),
                            QStringLiteral("Ethernet 10.1.2.3 10.255.255.255")};
        QTest::newRow("IPv6 entry drops out")
            << QList<network_interface_source> {card(QStringLiteral("Wi-Fi"),
                                                     {address(QStringLiteral("fe80::1"), QStringLiteral("ffff:ffff:ffff:ffff::")), lan})}
            << QStringList {QStringLiteral("Wi-Fi 192.168.5.20 192.168.5.255")};
        QTest::newRow("zero address") << QList<network_interface_source> {card(QStringLiteral("E"), {address(QStringLiteral("0.0.0.0"), mask)})}
                                      << QStringList();
        QTest::newRow("no netmask") << QList<network_interface_source> {card(QStringLiteral("E"), {address(QStringLiteral("192.168.5.20"), QString())})}
                                    << QStringList();
        QTest::newRow("zero netmask") << QList<network_interface_source> {card(QStringLiteral("E"), {address(QStringLiteral("192.168.5.20"), QStringLiteral("0.0.0.0"))})}
                                      << QStringList();
        QTest::newRow("no name") << QList<network_interface_source> {card(QString(), {lan})} << QStringList();
        QTest::newRow("invalid interface") << QList<network_interface_source> {card(QStringLiteral("E"), {lan}, false)}
                                           << QStringList();
        // Only 127.0.0.1 itself is left out.
        QTest::newRow("other loopback address")
            << QList<network_interface_source> {card(QStringLiteral("lo"), {address(QStringLiteral("127.0.40.7"), QStringLiteral("255.0.0.0"))})}
            << QStringList {QStringLiteral("lo 127.0.40.7 ")};
        QTest::newRow("order of interfaces kept")
            << QList<network_interface_source> {card(QStringLiteral("B"), {lan}),
                                                card(QStringLiteral("A"), {address(QStringLiteral("10.0.0.2"), QStringLiteral("255.255.0.0"), QStringLiteral("10.0.255.255"))})}
            << QStringList {QStringLiteral("B 192.168.5.20 192.168.5.255"), QStringLiteral("A 10.0.0.2 10.0.255.255")};
    }

    void filter()
    {
        QFETCH(QList<network_interface_source>, interfaces);
        QFETCH(QStringList, entries);
        QCOMPARE(described(usable_interface_entries(interfaces)), entries);
    }

    void getters_copy_fields_in_range()
    {
        NetworkInterfaceCard cards;
        cards.enumerate_from({card(QStringLiteral("Ethernet"), {address(QStringLiteral("192.168.5.20"), QStringLiteral("255.255.255.0"),
                                                                        QStringLiteral("192.168.5.255"))})});
        QCOMPARE(cards.count(), 1);
        QString name;
        QHostAddress ip, broadcast;
        QVERIFY(cards.name_at(0, name));
        QVERIFY(cards.address_at(0, ip));
        QVERIFY(cards.broadcast_at(0, broadcast));
        QCOMPARE(name, QStringLiteral("Ethernet"));
        QCOMPARE(ip, QHostAddress(QStringLiteral("192.168.5.20")));
        QCOMPARE(broadcast, QHostAddress(QStringLiteral("192.168.5.255")));
    }

    void getters_out_of_range_leave_the_argument_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("count") << 1;
        QTest::newRow("far") << 1000;
    }

    void getters_out_of_range_leave_the_argument()
    {
        QFETCH(int, index);
        NetworkInterfaceCard cards;
        cards.enumerate_from({card(QStringLiteral("Ethernet"), {address(QStringLiteral("192.168.5.20"), QStringLiteral("255.255.255.0"),
                                                                        QStringLiteral("192.168.5.255"))})});
        QString name = QStringLiteral("kept");
        const QHostAddress kept(QStringLiteral("1.2.3.4"));
        QHostAddress ip = kept, broadcast = kept;
        QVERIFY(!cards.name_at(index, name));
        QVERIFY(!cards.address_at(index, ip));
        QVERIFY(!cards.broadcast_at(index, broadcast));
        QCOMPARE(name, QStringLiteral("kept"));
        QCOMPARE(ip, kept);
        QCOMPARE(broadcast, kept);
    }

    void empty_list_answers_false()
    {
        NetworkInterfaceCard cards;
        cards.enumerate_from({});
        QCOMPARE(cards.count(), 0);
        QHostAddress a;
        QVERIFY(!cards.broadcast_at(0, a));
    }

    // Whatever this machine has, what the system gives passes the same rules.
    void system_interfaces_follow_the_rules()
    {
        NetworkInterfaceCard cards;
        for (int i = 0; i < cards.count(); ++i) {
            QString name;
            QHostAddress ip;
            QVERIFY(cards.name_at(i, name));
            QVERIFY(cards.address_at(i, ip));
            QVERIFY(!name.isEmpty());
            QVERIFY(ip.toIPv4Address() != 0);
            QVERIFY(ip != QHostAddress(QHostAddress::LocalHost));
        }
    }

    // enumerate reads the source handed in, anew each time.
    void enumerate_reads_the_source()
    {
        NetworkInterfaceCard cards;
        QList<network_interface_source> given {
            card(QStringLiteral("Ethernet"), {address(QStringLiteral("192.168.5.20"), QStringLiteral("255.255.255.0"),
                                                      QStringLiteral("192.168.5.255"))})};
        cards.set_source([&given] { return given; });
        cards.enumerate();
        QCOMPARE(cards.count(), 1);
        given.append(card(QStringLiteral("Wi-Fi"), {address(QStringLiteral("10.0.0.2"), QStringLiteral("255.255.0.0"),
                                                            QStringLiteral("10.0.255.255"))}));
        cards.enumerate();
        QCOMPARE(cards.count(), 2);
        QString name;
        QVERIFY(cards.name_at(1, name));
        QCOMPARE(name, QStringLiteral("Wi-Fi"));
    }

    void loopback_entry_on_request_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("count");
        QTest::newRow("unset") << QByteArray() << 1;
        QTest::newRow("1") << QByteArray("1") << 2;
        QTest::newRow("0") << QByteArray("0") << 1;
        QTest::newRow("yes") << QByteArray("yes") << 1;
    }

    // Appended after the filter, which would drop 127.0.0.1.
    void loopback_entry_on_request()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, count);
        if (value.isNull())
            qunsetenv(kSearchLoopbackVariable);
        else
            qputenv(kSearchLoopbackVariable, value);
        NetworkInterfaceCard cards;
        cards.enumerate_from({card(QStringLiteral("lo"), {address(QStringLiteral("127.0.0.1"), QStringLiteral("255.0.0.0"))}),
                              card(QStringLiteral("Ethernet"), {address(QStringLiteral("192.168.5.20"), QStringLiteral("255.255.255.0"),
                                                                        QStringLiteral("192.168.5.255"))})});
        qunsetenv(kSearchLoopbackVariable);
        QCOMPARE(cards.count(), count);
        QString name;
        QHostAddress ip, broadcast;
        QVERIFY(cards.name_at(0, name));
        QCOMPARE(name, QStringLiteral("Ethernet"));
        if (count < 2)
            return;
        QVERIFY(cards.name_at(1, name) && cards.address_at(1, ip) && cards.broadcast_at(1, broadcast));
        QCOMPARE(name, QStringLiteral("Loopback"));
        QCOMPARE(ip, QHostAddress(QStringLiteral("127.0.0.1")));
        QCOMPARE(broadcast, QHostAddress(QStringLiteral("127.255.255.255")));
    }
};

QTEST_GUILESS_MAIN(tst_network_interface_card)
#include "tst_network_interface_card.moc"
