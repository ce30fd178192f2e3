#include "display_protocol/NetworkInterfaceCard.h"
#include "layout_setup/projector_browse_rules.h"

#include <QtTest>

namespace {

PJSearchResult result(const QString &address, const QString &name, const QString &mac, quint32 value = 0)
{
    PJSearchResult r;
    r.address = QHostAddress(address);
    r.name = name;
    r.mac = mac;
    r.value = value;
    return r;
}

// "address name [used] [exists]" per row.
QStringList described(const QList<browse_row> &rows)
{
    QStringList lines;
    for (const browse_row &row : rows)
        lines << QStringLiteral("%1 %2%3%4")
                     .arg(row.address, row.name, row.address_used ? QStringLiteral(" used") : QString(),
                          row.display_exists ? QStringLiteral(" exists") : QString());
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(QList<PJSearchResult>)

class tst_projector_browse_rules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv(kSearchLoopbackVariable); }

    void targets_of_an_interface()
    {
        NetworkInterfaceCard cards;
        QNetworkAddressEntry entry;
        entry.setIp(QHostAddress(QStringLiteral("192.168.5.20")));
        entry.setNetmask(QHostAddress(QStringLiteral("255.255.255.0")));
        entry.setBroadcast(QHostAddress(QStringLiteral("192.168.5.255")));
        cards.enumerate_from({{QStringLiteral("Ethernet"), true, {entry}}});
        QCOMPARE(search_targets(cards, 0), (QList<QHostAddress>{QHostAddress(QStringLiteral("192.168.5.20")),
                                                                 QHostAddress(QStringLiteral("192.168.5.255"))}));
        QVERIFY(search_targets(cards, -1).isEmpty());
        QVERIFY(search_targets(cards, 1).isEmpty());
    }

    // The dialog stops a search on the 11th poll that finds it running; the
    // count carries over searches that end by themselves.
    void polls_data()
    {
        QTest::addColumn<QString>("searching"); // one letter per poll: r running, e ended
        QTest::addColumn<QString>("decisions"); // . wait, s stop (and show), r show
        QTest::addColumn<int>("counter");
        QTest::newRow("ends by itself") << "rre" << "..r" << 2;
        QTest::newRow("never ends") << "rrrrrrrrrrrr" << "..........s." << 1;
        QTest::newRow("carried over") << "rrrerrrrrrrr" << "...r.......s" << 0;
        QTest::newRow("not running") << "ee" << "rr" << 0;
    }

    void polls()
    {
        QFETCH(QString, searching);
        QFETCH(QString, decisions);
        QFETCH(int, counter);
        int ticks = 0;
        QString made;
        for (QChar state : searching) {
            const search_poll poll = poll_search(state == QLatin1Char('r'), ticks);
            QVERIFY(!poll.stop || poll.show_results);
            made += poll.stop ? QLatin1Char('s') : poll.show_results ? QLatin1Char('r') : QLatin1Char('.');
        }
        QCOMPARE(made, decisions);
        QCOMPARE(ticks, counter);
    }

    void rows_marks_data()
    {
        QTest::addColumn<QList<PJSearchResult>>("results");
        QTest::addColumn<QStringList>("used");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("rows");

        const QList<PJSearchResult> two{result("10.0.0.2", "A", "00-1A-2B-3C-4D-5E"),
                                        result("10.0.0.3", "B", "00-1A-2B-3C-4D-5F")};
        QTest::newRow("nothing known") << two << QStringList() << QStringList()
                                       << QStringList{"10.0.0.2 A", "10.0.0.3 B"};
        QTest::newRow("used address") << two << QStringList{"10.0.0.3"} << QStringList()
                                      << QStringList{"10.0.0.2 A", "10.0.0.3 B used"};
        QTest::newRow("known display, other case")
            << two << QStringList() << QStringList{"00-1a-2b-3c-4d-5e"}
            << QStringList{"10.0.0.2 A exists", "10.0.0.3 B"};
        QTest::newRow("both") << two << QStringList{"10.0.0.2"} << QStringList{"00-1A-2B-3C-4D-5E"}
                              << QStringList{"10.0.0.2 A used exists", "10.0.0.3 B"};
        QTest::newRow("empty MAC never exists")
            << QList<PJSearchResult>{result("10.0.0.4", "C", "")} << QStringList() << QStringList{"", "x"}
            << QStringList{"10.0.0.4 C"};
        QTest::newRow("value 255 hidden")
            << QList<PJSearchResult>{result("10.0.0.5", "D", "", 255), result("10.0.0.6", "E", "", 254)}
            << QStringList() << QStringList() << QStringList{"10.0.0.6 E"};
        QTest::newRow("a part of an address is not the address")
            << two << QStringList{"10.0.0.2 ", "10.0.0"} << QStringList{"00-1A-2B"}
            << QStringList{"10.0.0.2 A", "10.0.0.3 B"};
    }

    void rows_marks()
    {
        QFETCH(QList<PJSearchResult>, results);
        QFETCH(QStringList, used);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, rows);
        QCOMPARE(described(browse_rows(results, used, existing)), rows);
    }
};

QTEST_GUILESS_MAIN(tst_projector_browse_rules)
#include "tst_projector_browse_rules.moc"
