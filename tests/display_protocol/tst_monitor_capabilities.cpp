#include "display_protocol/monitor_capabilities.h"

#include <QtTest>

namespace {

using entries = QList<monitor_capabilities::code_entry>;

// "10 12:05,06 14" -> entries 0x10, 0x12 (values 5, 6), 0x14.
QString describe(const entries &list)
{
    QStringList parts;
    for (const monitor_capabilities::code_entry &e : list) {
        QString text = QString::number(e.code, 16).toUpper();
        QStringList values;
        for (qint32 v : e.values)
            values << QString::number(v, 16).toUpper();
        if (!values.isEmpty())
            text += QLatin1Char(':') + values.join(QLatin1Char(','));
        parts << text;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class tst_monitor_capabilities : public QObject
{
    Q_OBJECT

private slots:
    void code_lists_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("commands");
        QTest::newRow("values at depth 1") << QByteArray("vcp(10 12 14(05 06 08) 16)") << 0 << "10 12 14:5,6,8 16" << "";
        QTest::newRow("paged group") << QByteArray("vcp(10)vcp_p10(22 2C(01 02))") << 0 << "10 1022 102C:1,2" << "";
        QTest::newRow("command pages") << QByteArray("vcp(10)cmds(01 F3)cmds_c2(0B 0C)cmds_ca(15)") << 0 << "10"
                                       << "1 F3 C20B C20C CA15";
        QTest::newRow("single-digit code takes the parenthesis") << QByteArray("vcp(2(1) 10)") << 0 << "2 1 10" << "";
        QTest::newRow("deeper values ignored") << QByteArray("vcp(14(05(01 02) 06))") << 0 << "14:5,6" << "";
        QTest::newRow("value before any code ignored") << QByteArray("vcp((05) 10)") << 0 << "10" << "";
        QTest::newRow("keyword inside another value counts") << QByteArray("model(x vcp(10))") << 0 << "10" << "";
        QTest::newRow("no vcp group") << QByteArray("model(X)cmds(01)") << -1 << "" << "1";
        QTest::newRow("empty vcp group") << QByteArray("vcp()") << -1 << "" << "";
        QTest::newRow("one more open parenthesis") << QByteArray("(vcp(10)") << -2 << "10" << "";
        QTest::newRow("unclosed value is absent") << QByteArray("vcp(10") << -1 << "" << "";
        QTest::newRow("page 01 has no group") << QByteArray("vcp(10)vcp_p01(22)") << 0 << "10" << "";
        QTest::newRow("page FF") << QByteArray("vcp(10)vcp_pFF(01)") << 0 << "10 FF01" << "";
        QTest::newRow("lower-case page keyword is not a group") << QByteArray("vcp(10)vcp_p1a(01)") << 0 << "10" << "";
        QTest::newRow("code named twice") << QByteArray("vcp(10 10)") << 0 << "10 10" << "";
        QTest::newRow("empty text") << QByteArray("") << -1 << "" << "";
    }

    void code_lists()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        QFETCH(QString, controls);
        QFETCH(QString, commands);
        monitor_capabilities caps;
        QCOMPARE(caps.parse(text.constData()), result);
        QCOMPARE(caps.parsed(), result == 0);
        QCOMPARE(describe(caps.control_list()), controls);
        QCOMPARE(describe(caps.command_list()), commands);
    }

    void display_type_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<uint>("kind");
        QTest::newRow("lcd in any case") << QByteArray("type(lcd)vcp(10)") << QByteArray("LCD") << 2u;
        QTest::newRow("CRT") << QByteArray("type(CRT)vcp(10)") << QByteArray("CRT") << 1u;
        QTest::newRow("CRT_AG") << QByteArray("type(crt_ag)vcp(10)") << QByteArray("CRT_AG") << 1u;
        QTest::newRow("LCD2 is unknown") << QByteArray("type(LCD2)vcp(10)") << QByteArray("LCD2") << 0u;
        QTest::newRow("no type") << QByteArray("vcp(10)") << QByteArray() << 0u;
    }

    void display_type()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, type);
        QFETCH(uint, kind);
        monitor_capabilities caps;
        caps.parse(text.constData());
        QCOMPARE(caps.type(), type);
        QCOMPARE(caps.display_type(), quint32(kind));
    }

    void asset_eeprom_size_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("size");
        QTest::newRow("64") << QByteArray("asset_eep(64)") << 64;
        QTest::newRow("40 is 0x40") << QByteArray("asset_eep(40)") << 64;
        QTest::newRow("32") << QByteArray("asset_eep(32)") << 32;
        QTest::newRow("80 is 0x80") << QByteArray("asset_eep(80)") << 128;
        QTest::newRow("leading space") << QByteArray("asset_eep( 10)") << 16;
        QTest::newRow("not a number") << QByteArray("asset_eep(zz)") << 0;
    }

    void asset_eeprom_size()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, size);
        monitor_capabilities caps;
        caps.parse(QByteArray(text + "vcp(10)").constData());
        QCOMPARE(caps.asset_eeprom_size(), size);
    }

    void strings_and_numbers()
    {
        monitor_capabilities caps;
        const QByteArray text = "(prot(monitor)model(X55)mccs_ver(2.2)mpu_ver(R1.2)chassis(C7)c_tmp_ofst(1F)"
                                "gamma_table(size(400) r_ofs(0) g_ofs(400) b_ofs(800))vcp(10))";
        QCOMPARE(caps.parse(text.constData()), 0);
        QCOMPARE(caps.model(), QByteArray("X55"));
        QCOMPARE(caps.mccs_version(), QByteArray("2.2"));
        QCOMPARE(caps.mpu_version(), QByteArray("R1.2"));
        QCOMPARE(caps.chassis(), QByteArray("C7"));
        QCOMPARE(caps.colour_temperature_offset(), quint32(0x1F));
        QVERIFY(caps.has_gamma_table());
        QCOMPARE(caps.gamma_table_size(), 1024);
        QCOMPARE(caps.red_offset(), 0);
        QCOMPARE(caps.green_offset(), 1024);
        QCOMPARE(caps.blue_offset(), 2048);
    }

    void partial_gamma_table_and_clear()
    {
        monitor_capabilities caps;
        caps.parse("gamma_table(size(100) x)vcp(10)");
        QVERIFY(caps.has_gamma_table());
        QCOMPARE(caps.gamma_table_size(), 256);
        QCOMPARE(caps.red_offset(), 0);
        // A new parse starts from a cleared record.
        QCOMPARE(caps.parse("model(Y)"), -1);
        QVERIFY(!caps.has_gamma_table());
        QCOMPARE(caps.gamma_table_size(), 0);
        QCOMPARE(caps.model(), QByteArray("Y"));
        QVERIFY(caps.control_list().isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_monitor_capabilities)
#include "tst_monitor_capabilities.moc"
