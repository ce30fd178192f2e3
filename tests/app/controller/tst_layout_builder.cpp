#include "app/controller/layout_builder.h"

#include <QSet>
#include <QtTest>

namespace {

using positions = QList<display_position>;

// "c,r c,r ..." as positions.
positions parse(const char *text)
{
    positions list;
    for (const QString &pair : QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char(','));
        list.append(display_position{parts.at(0).toInt(), parts.at(1).toInt()});
    }
    return list;
}

QString text_of(const positions &list)
{
    QStringList pairs;
    for (const display_position &p : list)
        pairs << QStringLiteral("%1,%2").arg(p.column).arg(p.row);
    return pairs.join(QLatin1Char(' '));
}

} // namespace

class tst_layout_builder : public QObject
{
    Q_OBJECT

private slots:
    void visiting_order_data()
    {
        QTest::addColumn<int>("corner");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<bool>("zigzag");
        QTest::addColumn<QString>("expected");

        // A wall of 3 columns and 2 rows; every corner, both directions, with and without zig-zag.
        QTest::newRow("top left, clockwise") << 0 << true << false << QStringLiteral("0,0 1,0 2,0 0,1 1,1 2,1");
        QTest::newRow("top left, clockwise, zig-zag") << 0 << true << true << QStringLiteral("0,0 1,0 2,0 2,1 1,1 0,1");
        QTest::newRow("top left, counter-clockwise") << 0 << false << false << QStringLiteral("0,0 0,1 1,0 1,1 2,0 2,1");
        QTest::newRow("top left, counter-clockwise, zig-zag") << 0 << false << true << QStringLiteral("0,0 0,1 1,1 1,0 2,0 2,1");
        QTest::newRow("top right, clockwise") << 1 << true << false << QStringLiteral("2,0 2,1 1,0 1,1 0,0 0,1");
        QTest::newRow("top right, clockwise, zig-zag") << 1 << true << true << QStringLiteral("2,0 2,1 1,1 1,0 0,0 0,1");
        QTest::newRow("top right, counter-clockwise") << 1 << false << false << QStringLiteral("2,0 1,0 0,0 2,1 1,1 0,1");
        QTest::newRow("top right, counter-clockwise, zig-zag") << 1 << false << true << QStringLiteral("2,0 1,0 0,0 0,1 1,1 2,1");
        QTest::newRow("bottom left, clockwise") << 2 << true << false << QStringLiteral("0,1 0,0 1,1 1,0 2,1 2,0");
        QTest::newRow("bottom left, clockwise, zig-zag") << 2 << true << true << QStringLiteral("0,1 0,0 1,0 1,1 2,1 2,0");
        QTest::newRow("bottom left, counter-clockwise") << 2 << false << false << QStringLiteral("0,1 1,1 2,1 0,0 1,0 2,0");
        QTest::newRow("bottom left, counter-clockwise, zig-zag") << 2 << false << true << QStringLiteral("0,1 1,1 2,1 2,0 1,0 0,0");
        QTest::newRow("bottom right, clockwise") << 3 << true << false << QStringLiteral("2,1 1,1 0,1 2,0 1,0 0,0");
        QTest::newRow("bottom right, clockwise, zig-zag") << 3 << true << true << QStringLiteral("2,1 1,1 0,1 0,0 1,0 2,0");
        QTest::newRow("bottom right, counter-clockwise") << 3 << false << false << QStringLiteral("2,1 2,0 1,1 1,0 0,1 0,0");
        QTest::newRow("bottom right, counter-clockwise, zig-zag") << 3 << false << true << QStringLiteral("2,1 2,0 1,0 1,1 0,1 0,0");
    }

    void visiting_order()
    {
        QFETCH(int, corner);
        QFETCH(bool, clockwise);
        QFETCH(bool, zigzag);
        QFETCH(QString, expected);
        QCOMPARE(text_of(display_visiting_order(3, 2, corner, clockwise, zigzag)), expected);
    }

    void two_by_two_turns_around_the_wall()
    {
        QCOMPARE(display_visiting_order(2, 2, kTopLeft, true, true), parse("0,0 1,0 1,1 0,1"));
        QCOMPARE(display_visiting_order(2, 2, kTopLeft, false, true), parse("0,0 0,1 1,1 1,0"));
    }

    void wall_size_limits_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("valid");
        QTest::newRow("1 x 1") << 1 << 1 << true;
        QTest::newRow("10 x 10") << 10 << 10 << true;
        QTest::newRow("30 x 3") << 30 << 3 << true;
        QTest::newRow("10 x 11") << 10 << 11 << false;
        QTest::newRow("31 x 1") << 31 << 1 << false;
        QTest::newRow("1 x 31") << 1 << 31 << false;
        QTest::newRow("0 x 5") << 0 << 5 << false;
        QTest::newRow("5 x -1") << 5 << -1 << false;
        QTest::newRow("-10 x -10") << -10 << -10 << false;
    }

    void wall_size_limits()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, valid);
        QCOMPARE(is_valid_wall_size(columns, rows), valid);
        QCOMPARE(display_visiting_order(columns, rows, kTopLeft, true, false).size(), valid ? columns * rows : 0);
    }

    void every_position_once_in_large_walls()
    {
        for (int corner = 0; corner < 4; ++corner) {
            for (int mode = 0; mode < 4; ++mode) {
                const positions order = display_visiting_order(7, 13, corner, mode & 1, mode & 2);
                QCOMPARE(order.size(), 91);
                QSet<int> seen;
                for (const display_position &p : order) {
                    QVERIFY(p.column >= 0 && p.column < 7 && p.row >= 0 && p.row < 13);
                    seen.insert(p.row * 7 + p.column);
                }
                QCOMPARE(seen.size(), 91);
            }
        }
    }

    void invalid_corner_gives_nothing()
    {
        QVERIFY(display_visiting_order(3, 2, -1, true, false).isEmpty());
        QVERIFY(display_visiting_order(3, 2, 4, true, false).isEmpty());
    }

    void address_texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("value");
        QTest::newRow("plain") << QStringLiteral("192.168.0.10") << 0xC0A8000Au;
        QTest::newRow("three parts") << QStringLiteral("192.168.0") << 0u;
        QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << 0u;
        QTest::newRow("empty") << QString() << 0u;
        QTest::newRow("unreadable part") << QStringLiteral("10.x.0.1") << 0x0A000001u;
        QTest::newRow("empty part") << QStringLiteral("10..0.1") << 0x0A000001u;
        QTest::newRow("highest") << QStringLiteral("255.255.255.255") << 0xFFFFFFFFu;
    }

    void address_texts()
    {
        QFETCH(QString, text);
        QFETCH(quint32, value);
        QCOMPARE(ipv4_address_value(text), value);
    }

    void lan_addresses_carry_into_higher_bytes()
    {
        layout_parameters p;
        p.columns = 3;
        p.connection_type = display_layout_item::kLan;
        p.address = QStringLiteral("192.168.0.254");
        const QList<display_layout_item> items = build_layout_items(p);
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0].connection_address, QStringLiteral("192.168.0.254"));
        QCOMPARE(items[1].connection_address, QStringLiteral("192.168.0.255"));
        QCOMPARE(items[2].connection_address, QStringLiteral("192.168.1.0"));
        QCOMPARE(ipv4_address_text(0xFFFFFFFFu + 1u), QStringLiteral("0.0.0.0"));
    }

    void records_of_a_new_wall()
    {
        layout_parameters p;
        p.columns = 3;
        p.rows = 2;
        p.start_corner = kBottomRight;
        p.first_monitor_id = 5;
        p.orientation = display_layout_item::kPortrait;
        p.address = QStringLiteral("COM3");
        const QList<display_layout_item> items = build_layout_items(p);
        QCOMPARE(items.size(), 6);
        for (int i = 0; i < items.size(); ++i) {
            const display_layout_item &item = items[i];
            QCOMPARE(item.monitor_id, 5 + i);
            QCOMPARE(item.connection_type, int(display_layout_item::kRs232));
            QCOMPARE(item.connection_address, QStringLiteral("COM3"));
            QVERIFY(item.enabled);
            QCOMPARE(item.verify_status, 0);
            QVERIFY(item.serial_number.isEmpty() && item.model_name.isEmpty() && item.display_text.isEmpty());
            QVERIFY(!item.id_conflict && !item.duplicate_display);
            QVERIFY(item.job_status == display_layout_item::job_status_block());
            QCOMPARE(item.orientation, int(display_layout_item::kPortrait));
        }
        QCOMPARE(items[0].column, 2);
        QCOMPARE(items[0].row, 1);
    }

    void steps_of_zero_repeat_id_and_address_data()
    {
        QTest::addColumn<int>("idStep");
        QTest::addColumn<int>("addressStep");
        QTest::newRow("daisy chain behind one LAN display") << 1 << 0;
        QTest::newRow("separate LAN links, one ID") << 0 << 1;
    }

    void steps_of_zero_repeat_id_and_address()
    {
        QFETCH(int, idStep);
        QFETCH(int, addressStep);
        layout_parameters p;
        p.columns = 2;
        p.rows = 2;
        p.first_monitor_id = 3;
        p.connection_type = display_layout_item::kLan;
        p.address = QStringLiteral("192.168.0.10");
        p.monitor_id_step = idStep;
        p.address_step = addressStep;
        const QList<display_layout_item> items = build_layout_items(p);
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i].monitor_id, 3 + i * idStep);
            QCOMPARE(items[i].connection_address, ipv4_address_text(0xC0A8000Au + quint32(i * addressStep)));
        }
    }

    void invalid_address_starts_at_zero()
    {
        layout_parameters p;
        p.columns = 2;
        p.connection_type = display_layout_item::kLan;
        p.address = QStringLiteral("192.168.0");
        const QList<display_layout_item> items = build_layout_items(p);
        QCOMPARE(items[0].connection_address, QStringLiteral("0.0.0.0"));
        QCOMPARE(items[1].connection_address, QStringLiteral("0.0.0.1"));
    }
};

QTEST_GUILESS_MAIN(tst_layout_builder)
#include "tst_layout_builder.moc"
