#include "probelink/probe_usb_ids.h"
#include "probelink/usb_device_location.h"

#include <QtTest>

#include <vector>

namespace {

using Ids = std::vector<usb_device_id>;

QString text(const Ids &ids)
{
    QStringList entries;
    for (const usb_device_id &id : ids)
        entries << QStringLiteral("%1:%2").arg(id.vendor, 4, 16, QChar('0')).arg(id.product, 4, 16, QChar('0'));
    return entries.join(',');
}

} // namespace

class tst_probe_usb_ids : public QObject
{
    Q_OBJECT

private slots:
    void with_extension_data()
    {
        QTest::addColumn<QByteArray>("extension");
        QTest::addColumn<bool>("unset");
        QTest::addColumn<QString>("ids");
        const QString def = QStringLiteral("0686:1002");
        QTest::newRow("unset") << QByteArray() << true << def;
        QTest::newRow("empty") << QByteArray("") << false << def;
        QTest::newRow("one") << QByteArray("1234:abcd") << false << def + ",1234:abcd";
        QTest::newRow("two, upper case") << QByteArray("1234:ABCD,0001:0002") << false << def + ",1234:abcd,0001:0002";
        QTest::newRow("short fields, spaces") << QByteArray(" 5:6 ,\t7:89 ") << false << def + ",0005:0006,0007:0089";
        QTest::newRow("default and repeats listed once") << QByteArray("0686:1002,1:2,0001:0002") << false << def + ",0001:0002";
        QTest::newRow("malformed entries skipped")
            << QByteArray("12345:1,1:12345,x1:2,1:2y,0x1:2,1,:2,3:,1:2:3,-1:2,,4:5") << false << def + ",0004:0005";
        QTest::newRow("only commas") << QByteArray(",,,") << false << def;
    }

    void with_extension()
    {
        QFETCH(QByteArray, extension);
        QFETCH(bool, unset);
        QFETCH(QString, ids);
        QCOMPARE(text(probe_usb_ids::with_extension(unset ? nullptr : extension.constData())), ids);
    }

    void environment_extends_the_list()
    {
        qputenv(probe_usb_ids::kEnvironmentVariable, "abcd:0001");
        QCOMPARE(text(probe_usb_ids::from_environment()), QStringLiteral("0686:1002,abcd:0001"));
        qunsetenv(probe_usb_ids::kEnvironmentVariable);
        QCOMPARE(text(probe_usb_ids::from_environment()), QStringLiteral("0686:1002"));
    }

    void contains()
    {
        const Ids ids = probe_usb_ids::with_extension("1234:5678");
        QVERIFY(probe_usb_ids::contains(ids, {0x0686, 0x1002}));
        QVERIFY(probe_usb_ids::contains(ids, {0x1234, 0x5678}));
        QVERIFY(!probe_usb_ids::contains(ids, {0x0686, 0x5678})); // vendor and product go together
        QVERIFY(!probe_usb_ids::contains(ids, {0x1002, 0x0686}));
    }

    void device_order_data()
    {
        QTest::addColumn<int>("busA");
        QTest::addColumn<QByteArray>("portsA");
        QTest::addColumn<int>("busB");
        QTest::addColumn<QByteArray>("portsB");
        QTest::newRow("bus first") << 1 << QByteArray("\x09") << 2 << QByteArray("\x01");
        QTest::newRow("then first port") << 1 << QByteArray("\x01\x07") << 1 << QByteArray("\x02");
        QTest::newRow("hub before what hangs below it") << 1 << QByteArray("\x03") << 1 << QByteArray("\x03\x01");
        QTest::newRow("deeper ports") << 3 << QByteArray("\x01\x02\x03") << 3 << QByteArray("\x01\x02\x04");
        QTest::newRow("root hub first") << 1 << QByteArray() << 1 << QByteArray("\x01");
    }

    void device_order()
    {
        QFETCH(int, busA);
        QFETCH(QByteArray, portsA);
        QFETCH(int, busB);
        QFETCH(QByteArray, portsB);
        const usb_device_location a{std::uint8_t(busA), {portsA.begin(), portsA.end()}};
        const usb_device_location b{std::uint8_t(busB), {portsB.begin(), portsB.end()}};
        QVERIFY(a < b);
        QVERIFY(!(b < a));
        QVERIFY(!(a < a));
    }
};

QTEST_APPLESS_MAIN(tst_probe_usb_ids)
#include "tst_probe_usb_ids.moc"
