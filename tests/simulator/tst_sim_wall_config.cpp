// The wall configuration text and the walls built from it (on the
// process's loopback block).
#include "simulator/loopback_block.h"
#include "simulator/sim_wall_builder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_sim_wall_config : public QObject
{
    Q_OBJECT

private slots:
    void file_form_with_comments()
    {
        sim_wall_config c;
        QString error;
        QVERIFY2(c.parse(QStringLiteral("# a wall\n"
                                        "rows = 2\n"
                                        "columns=3   # three across\n"
                                        "\n"
                                        "link = lan\n"
                                        "address = 127.0.42.10\n"
                                        "chain = 2\n"
                                        "models = QX-4600, QX-5500\n"
                                        "seed = 18446744073709551615\n"
                                        "spread = 0.5\n"
                                        "input = 0.25, 0.5, 1\n"),
                         &error),
                 qPrintable(error));
        QCOMPARE(c.rows, 2);
        QCOMPARE(c.columns, 3);
        QCOMPARE(c.chain_length, 2);
        QCOMPARE(c.chain_count(), 3);
        QCOMPARE(c.models, (QStringList {QStringLiteral("QX-4600"), QStringLiteral("QX-5500")}));
        QCOMPARE(c.seed, Q_UINT64_C(18446744073709551615));
        QCOMPARE(c.spread, 0.5);
        QCOMPARE(c.input_level[0], 0.25);
        QCOMPARE(c.input_level[2], 1.0);
        QCOMPARE(c.chain_address(2), QStringLiteral("127.0.42.12"));
    }

    void command_line_form()
    {
        sim_wall_config c;
        QString error;
        QVERIFY2(c.parse_line(QStringLiteral("rows=4; columns=5;link=serial;input=0.5"), &error), qPrintable(error));
        QCOMPARE(c.display_count(), 20);
        QVERIFY(c.link == sim_wall_config::link_kind::serial);
        QCOMPARE(c.input_level[1], 0.5);
    }

    void bad_settings_change_nothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << "rows=2\ncolour=red" << "line 2: unknown setting colour";
        QTest::newRow("no equals") << "rows 2" << "line 1: expected key = value";
        QTest::newRow("rows zero") << "rows=0" << "line 1: bad value for rows: 0";
        QTest::newRow("ids") << "ids=row" << "line 1: bad value for ids: row";
        QTest::newRow("rows text") << "rows=two" << "line 1: bad value for rows: two";
        QTest::newRow("too many displays") << "rows=11\ncolumns=10" << "a wall has at most 100 displays";
        QTest::newRow("bad link") << "link=usb" << "line 1: bad value for link: usb";
        QTest::newRow("bad address") << "address=127.0.42" << "line 1: bad value for address: 127.0.42";
        QTest::newRow("octet too large") << "address=127.0.42.256" << "line 1: bad value for address: 127.0.42.256";
        QTest::newRow("addresses run out") << "address=127.0.42.250\ncolumns=6"
                                           << "the addresses from 127.0.42.250 do not reach 6 chains";
        QTest::newRow("empty model") << "models=QX-1,,QX-2" << "line 1: bad value for models: QX-1,,QX-2";
        QTest::newRow("negative seed") << "seed=-1" << "line 1: bad value for seed: -1";
        QTest::newRow("spread too large") << "spread=6" << "line 1: bad value for spread: 6";
        QTest::newRow("spread not a number") << "spread=nan" << "line 1: bad value for spread: nan";
        QTest::newRow("input above 1") << "input=1.5" << "line 1: bad value for input: 1.5";
        QTest::newRow("input of two") << "input=0.5,0.5" << "line 1: bad value for input: 0.5,0.5";
        QTest::newRow("chain zero") << "chain=0" << "line 1: bad value for chain: 0";
    }

    void bad_settings_change_nothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        sim_wall_config c;
        c.seed = 77;
        QString error;
        QVERIFY(!c.parse(text, &error));
        QCOMPARE(error, message);
        QCOMPARE(c.seed, Q_UINT64_C(77));
        QCOMPARE(c.rows, 1);
        QCOMPARE(c.columns, 1);
    }

    void files_are_read_with_limits()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("wall.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("rows = 2\ncolumns = 2\n");
        file.close();
        sim_wall_config c;
        QString error;
        QVERIFY2(c.read_file(path, &error), qPrintable(error));
        QCOMPARE(c.display_count(), 4);
        QVERIFY(!c.read_file(folder.filePath(QStringLiteral("missing.txt")), &error));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100 * 1024, '#'));
        file.close();
        QVERIFY(!c.read_file(path, &error));
        QVERIFY(error.contains(QStringLiteral("too large")));
    }

    void lan_chains_count_addresses_up()
    {
        sim_wall_config c;
        QString error;
        const auto at = [](int host) { return loopback_block::address(host); };
        const QString settings = QStringLiteral("rows=2;columns=3;chain=2;address=%1;models=QX-1,QX-2,QX-3");
        QVERIFY(c.parse_line(settings.arg(at(1)), &error));
        simulated_wall wall;
        QList<sim_wall_position> placed;
        QVERIFY2(build_wall(c, wall, &placed, &error), qPrintable(error));
        QCOMPARE(placed.size(), 6);
        QStringList where;
        QSet<QByteArray> serials;
        for (const sim_wall_position &p : placed) {
            where << QStringLiteral("%1,%2 %3 %4").arg(p.row).arg(p.column).arg(p.endpoint_name).arg(QLatin1Char(p.monitor_id));
            serials.insert(wall.with_display(p.handle, [](sim_display &d) { return d.serial_number; }));
        }
        QCOMPARE(where, (QStringList {"0,0 " + at(1) + " A", "0,1 " + at(1) + " B", "0,2 " + at(2) + " A",
                                      "1,0 " + at(2) + " B", "1,1 " + at(3) + " A", "1,2 " + at(3) + " B"}));
        QCOMPARE(serials.size(), 6);
        QCOMPARE(wall.with_display(placed.at(4).handle, [](sim_display &d) { return d.model_name; }), QByteArray("QX-2"));
        QCOMPARE(wall.light_key(placed.at(3).handle), at(2) + QStringLiteral("/2"));
        // Each chain answers the search once, on its own address.
        QVERIFY(wall.answers_search(placed.at(0).endpoint));
        QVERIFY(placed.at(0).endpoint != placed.at(2).endpoint);
    }

    // Separately linked displays numbered across the wall answer the IDs a
    // layout that counts monitor IDs up gives them.
    void wall_numbering_counts_ids_across_chains()
    {
        sim_wall_config c;
        QString error;
        QVERIFY(c.parse_line(QStringLiteral("rows=2;columns=2;ids=wall;address=%1").arg(loopback_block::address(1)),
                             &error));
        simulated_wall wall;
        QList<sim_wall_position> placed;
        QVERIFY2(build_wall(c, wall, &placed, &error), qPrintable(error));
        QString ids;
        for (const sim_wall_position &p : placed)
            ids += QLatin1Char(p.monitor_id);
        QCOMPARE(ids, QStringLiteral("ABCD"));
        QVERIFY(placed.at(0).endpoint != placed.at(3).endpoint);
    }

    // A model of the profile table comes with its whole profile (controls,
    // table memory, engine); another name is the generic display.
    void known_models_come_with_their_profile()
    {
        sim_wall_config c;
        QString error;
        const QString settings = QStringLiteral("columns=2;address=%1;models=VW-5540QE,QX-1");
        QVERIFY(c.parse_line(settings.arg(loopback_block::address(40)), &error));
        simulated_wall wall;
        QList<sim_wall_position> placed;
        QVERIFY2(build_wall(c, wall, &placed, &error), qPrintable(error));
        const auto facts = [&](int i) {
            return wall.with_display(placed.at(i).handle, [](sim_display &d) {
                return QList<QByteArray> {d.model_name, d.profile && d.profile->engine ? "engine" : "",
                                          d.controls.find(0x2CA) ? "table" : "", d.serial_number};
            });
        };
        QCOMPARE(facts(0), (QList<QByteArray> {"VW-5540QE", "engine", "table", "SIM0000001"}));
        QCOMPARE(facts(1), (QList<QByteArray> {"QX-1", "", "", "SIM0000002"}));
    }

    void serial_chains_on_pseudo_terminals()
    {
        sim_wall_config c;
        QString error;
        QVERIFY(c.parse_line(QStringLiteral("columns=3;link=serial;chain=3"), &error));
        simulated_wall wall;
        QList<sim_wall_position> placed;
        QVERIFY2(build_wall(c, wall, &placed, &error), qPrintable(error));
        QCOMPARE(placed.size(), 3);
        const QString path = wall.serial_path(placed.first().endpoint);
        QVERIFY(path.startsWith(QStringLiteral("/dev/")));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(placed.at(i).endpoint_name, path);
            QCOMPARE(wall.light_key(placed.at(i).handle), QStringLiteral("%1/%2").arg(path).arg(i + 1));
        }
        QVERIFY(!wall.answers_search(placed.first().endpoint));
    }

    void an_address_in_use_is_reported()
    {
        simulated_wall first;
        const QString taken = loopback_block::address(30);
        QVERIFY2(first.add_lan_endpoint(taken) >= 0, qPrintable(QStringLiteral("cannot listen on %1:7142").arg(taken)));
        sim_wall_config c;
        QString error;
        QVERIFY(c.parse_line(QStringLiteral("columns=2;address=%1").arg(loopback_block::address(29)), &error));
        simulated_wall wall;
        QList<sim_wall_position> placed;
        QVERIFY(!build_wall(c, wall, &placed, &error));
        QCOMPARE(error, QStringLiteral("cannot listen on %1:7142").arg(taken));
    }
};

QTEST_APPLESS_MAIN(tst_sim_wall_config)
#include "tst_sim_wall_config.moc"
