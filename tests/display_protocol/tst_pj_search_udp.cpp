// The network search against simulated displays on loopback addresses of
// the process's block: each answers from its own address, on the block's
// search port, which every search of this program uses.
#include "display_protocol/PJSearchUdp.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "simulator/sim_wall_builder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTextCodec>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <random>
#include <thread>

namespace {

const QHostAddress kOwnAddress(loopback_block::address(254));
const QString kFirstDisplay = loopback_block::address(1);
// Nominal waits run at a fifth.
constexpr double kTimeScale = 0.2;
// The quiet that ends collecting, in real time, three times what the scale
// alone gives: a simulated display's thread starved on a machine whose every
// core is busy has answered after more than 100 ms, and was taken for silent.
constexpr qint64 kAnswerQuietMs = 300;

struct search_wall
{
    explicit search_wall(const QString &settings)
    {
        QString error;
        wall.set_search_port(loopback_block::search_port());
        sim_wall_config config;
        ok = config.parse_line(settings, &error) && build_wall(config, wall, &placed, &error);
        if (!ok)
            qWarning("%s", qPrintable(error));
        for (const sim_wall_position &p : placed)
            ok = ok && wall.answers_search(p.endpoint);
    }

    // The PC's own address, then every display's.
    QList<QHostAddress> targets() const
    {
        QList<QHostAddress> list {kOwnAddress};
        for (const sim_wall_position &p : placed)
            list << QHostAddress(p.endpoint_name);
        return list;
    }

    void behave(const sim_search_behaviour &behaviour)
    {
        for (const sim_wall_position &p : placed)
            wall.set_search_behaviour(p.endpoint, behaviour);
    }

    simulated_wall wall;
    QList<sim_wall_position> placed;
    bool ok = false;
};

QList<PJSearchResult> results_of(const PJSearchUdp &search)
{
    QList<PJSearchResult> list;
    PJSearchResult r;
    for (int i = 0; search.result_at(i, r); ++i)
        list << r;
    return list;
}

QStringList addresses_of(const PJSearchUdp &search)
{
    QStringList list;
    for (const PJSearchResult &r : results_of(search))
        list << r.address.toString();
    list.sort();
    return list;
}

template <typename T>
T field(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

Q_DECLARE_METATYPE(QHostAddress)

class tst_pj_search_udp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!loopback_block::prefix().isEmpty(), qPrintable(loopback_block::claim_error()));
        // The program searches on the displays' port; this process on its own.
        QCOMPARE(PJSearchUdp::search_port(), PJSearchUdp::kPort);
        PJSearchUdp::set_search_port(loopback_block::search_port());
    }

    void init()
    {
        wait_service::set_time_scale(kTimeScale);
        wait_service::set_io_timeout_floor_ms(kAnswerQuietMs);
    }

    void finds_a_small_wall_with_names_and_mac_addresses()
    {
        search_wall w(QStringLiteral("rows=1;columns=3;address=%1;models=QX-4600,QX-5500,QX-6500").arg(kFirstDisplay));
        QVERIFY(w.ok);
        w.behave([] { sim_search_behaviour b; b.value = 0x1234; return b; }());
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QVERIFY(search.is_searching());
        const QList<PJSearchResult> found = results_of(search);
        QCOMPARE(found.size(), 3);
        const QStringList models {QStringLiteral("QX-4600"), QStringLiteral("QX-5500"), QStringLiteral("QX-6500")};
        for (int i = 0; i < 3; ++i) {
            const sim_wall_position &p = w.placed.at(i);
            const simulated_wall::mac_address mac = w.wall.mac(p.handle);
            const QString expected_mac = QStringLiteral("02-54-53-%1-%2-41")
                                             .arg(mac[3], 2, 16, QLatin1Char('0'))
                                             .arg(mac[4], 2, 16, QLatin1Char('0'))
                                             .toUpper();
            QCOMPARE(found.at(i).address, QHostAddress(p.endpoint_name));
            QCOMPARE(found.at(i).name, models.at(i));
            QCOMPARE(found.at(i).mac, expected_mac);
            QCOMPARE(found.at(i).value, 0x1234u);
        }
    }

    // A daisy chain is reached through its first display; one that has
    // dropped off the network does not answer.
    void chains_answer_through_their_first_display()
    {
        search_wall w(QStringLiteral("columns=4;chain=2;address=%1;models=QX-1,QX-2").arg(kFirstDisplay));
        QVERIFY(w.ok);
        w.wall.set_fault(w.placed.at(2).handle, sim_fault_kind::refuse_connections);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays,
                           {kOwnAddress, QHostAddress(kFirstDisplay), QHostAddress(loopback_block::address(2))});
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        const QList<PJSearchResult> found = results_of(search);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().name, QStringLiteral("QX-1"));
        QCOMPARE(w.wall.search_requests(w.placed.at(2).endpoint), 1);
    }

    void mac_is_upper_case_hex_with_leading_zeros()
    {
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        w.wall.set_mac(w.placed.first().handle, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E});
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        PJSearchResult r;
        QVERIFY(search.result_at(0, r));
        QCOMPARE(r.mac, QStringLiteral("00-1A-2B-3C-4D-5E"));
    }

    void shift_jis_names_are_decoded()
    {
        if (!QTextCodec::codecForName("Shift-JIS"))
            QSKIP("no Shift-JIS codec in this Qt build");
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        const QString name = QStringLiteral("表示-55");
        w.wall.with_display(w.placed.first().handle,
                            [&](sim_display &d) { d.model_name = QTextCodec::codecForName("Shift-JIS")->fromUnicode(name); });
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        search.search(PJSearchUdp::kNewSearch);
        PJSearchResult r;
        QVERIFY(search.result_at(0, r));
        QCOMPARE(r.name, name);
    }

    void request_layout_data()
    {
        QTest::addColumn<int>("device_class");
        QTest::addColumn<qint32>("word_a");
        QTest::addColumn<qint32>("word_b");
        QTest::newRow("projectors") << 1 << 49 << 0;
        QTest::newRow("large-screen displays") << 2 << 0 << 256;
        QTest::newRow("other") << 7 << -1 << -1;
    }

    void request_layout()
    {
        QFETCH(int, device_class);
        QFETCH(qint32, word_a);
        QFETCH(qint32, word_b);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        const int endpoint = w.placed.first().endpoint;
        PJSearchUdp search(nullptr, device_class, w.targets());
        for (quint16 sequence = 1; sequence <= 2; ++sequence) {
            const quint32 now = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
            QCOMPARE(search.search(5), 1);
            const QByteArray request = w.wall.last_search_request(endpoint);
            QCOMPARE(request.size(), PJSearchUdp::kRequestSize);
            QVERIFY(request.startsWith("KWTD"));
            QCOMPARE(request.at(4), '\x14');
            QCOMPARE(field<quint16>(request, 8), sequence);
            QCOMPARE(field<quint16>(request, 10), quint16(0x0070));
            // The time stamp is taken within the search: a few seconds at most.
            QVERIFY(field<quint32>(request, 12) - now < 5000u);
            QCOMPARE(field<qint32>(request, 16), 5);
            QCOMPARE(field<qint32>(request, 24), word_a);
            QCOMPARE(field<qint32>(request, 28), word_b);
            QByteArray zeros = request;
            zeros.replace(0, 20, QByteArray(20, '\0')).replace(24, 8, QByteArray(8, '\0'));
            QCOMPARE(zeros, QByteArray(PJSearchUdp::kRequestSize, '\0'));
        }
    }

    void answers_are_tested_by_device_class_data()
    {
        QTest::addColumn<int>("device_class");
        QTest::addColumn<quint32>("word_c");
        QTest::addColumn<quint32>("word_d");
        QTest::addColumn<qint64>("kind");
        QTest::addColumn<bool>("found");
        QTest::newRow("display answers a display search") << 2 << 0u << 0x100u << qint64(1) << true;
        QTest::newRow("display search, word C set") << 2 << 1u << 0x100u << qint64(1) << false;
        QTest::newRow("display search, word D lacks 0x100") << 2 << 0u << 0xFFu << qint64(1) << false;
        QTest::newRow("projector search, display answers") << 1 << 0u << 0x100u << qint64(1) << false;
        QTest::newRow("projector search, bit 0x10") << 1 << 0x10u << 0u << qint64(1) << true;
        QTest::newRow("projector search, bit 0x01 in low byte") << 1 << 0x301u << 0u << qint64(1) << true;
        QTest::newRow("projector search, bits outside 0x31") << 1 << 0x1CEu << 0u << qint64(1) << false;
        QTest::newRow("kind 8 is taken unchecked") << 2 << 5u << 0u << qint64(8) << true;
        QTest::newRow("other device class is not tested") << 3 << 5u << 0u << qint64(1) << true;
    }

    void answers_are_tested_by_device_class()
    {
        QFETCH(int, device_class);
        QFETCH(quint32, word_c);
        QFETCH(quint32, word_d);
        QFETCH(qint64, kind);
        QFETCH(bool, found);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        sim_search_behaviour b;
        b.word_c = word_c;
        b.word_d = word_d;
        b.answer_kind = kind;
        w.behave(b);
        PJSearchUdp search(nullptr, device_class, w.targets());
        QCOMPARE(search.search(1), 1);
        QCOMPARE(search.result_count(), found ? 1 : 0);
    }

    void stale_answers_are_dropped_unless_kind_8_data()
    {
        QTest::addColumn<qint64>("kind");
        QTest::addColumn<int>("results");
        QTest::newRow("kind 1") << qint64(1) << 0;
        QTest::newRow("kind 2") << qint64(2) << 0;
        QTest::newRow("kind 8") << qint64(8) << 1;
    }

    void stale_answers_are_dropped_unless_kind_8()
    {
        QFETCH(qint64, kind);
        QFETCH(int, results);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        sim_search_behaviour b;
        b.sequence_shift = -1;
        b.answer_kind = kind;
        w.behave(b);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(1), 1);
        QCOMPARE(search.result_count(), results);
    }

    void a_sender_that_keeps_answering_with_the_repeat_kind_ends_data()
    {
        QTest::addColumn<int>("search_kind");
        QTest::newRow("new search") << PJSearchUdp::kNewSearch;
        QTest::newRow("added search") << 1;
    }

    // A display answering every request with kind 2 asks for the request
    // again each time; it gets it once per search, and the search ends.
    void a_sender_that_keeps_answering_with_the_repeat_kind_ends()
    {
        QFETCH(int, search_kind);
        search_wall w(QStringLiteral("columns=2;address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        sim_search_behaviour b;
        b.answer_kind = 2;
        w.behave(b);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(search.search(search_kind), 1);
        QVERIFY2(timer.elapsed() < 4000, "the search must end");
        for (const sim_wall_position &p : w.placed)
            QCOMPARE(w.wall.search_requests(p.endpoint), 2);
        QCOMPARE(search.result_count(), 2);   // two answers from one address are one result
        // A new search may ask each sender once again.
        QCOMPARE(search.search(search_kind), 1);
        for (const sim_wall_position &p : w.placed)
            QCOMPARE(w.wall.search_requests(p.endpoint), 4);
    }

    void new_search_repeats_three_times_to_the_first_target()
    {
        search_wall w(QStringLiteral("columns=2;address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QVERIFY(QTest::qWaitFor([&] { return !search.is_searching(); }, 5000));
        QCOMPARE(w.wall.search_requests(w.placed.at(0).endpoint), 2 + 3);
        QCOMPARE(w.wall.search_requests(w.placed.at(1).endpoint), 2);
    }

    void other_kinds_do_not_repeat()
    {
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(1), 1);
        QVERIFY(QTest::qWaitFor([&] { return !search.is_searching(); }, 5000));
        QCOMPARE(w.wall.search_requests(w.placed.first().endpoint), 1);
    }

    void a_second_address_in_the_answer_gives_two_results_data()
    {
        QTest::addColumn<QByteArray>("address_text");
        QTest::addColumn<QStringList>("addresses");
        const QString sender = kFirstDisplay;
        const QString other = loopback_block::address(200);
        QTest::newRow("another address") << other.toLatin1() << QStringList {sender, other};
        QTest::newRow("its own address") << sender.toLatin1() << QStringList {sender};
        QTest::newRow("not an address") << QByteArray("display") << QStringList {sender};
        // Without a terminator the text ends with its field, before the MAC bytes.
        QTest::newRow("field filled") << loopback_block::address(2).leftJustified(25, QLatin1Char('0')).toLatin1()
                                      << QStringList {sender};
    }

    void a_second_address_in_the_answer_gives_two_results()
    {
        QFETCH(QByteArray, address_text);
        QFETCH(QStringList, addresses);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        sim_search_behaviour b;
        b.address_text = address_text;
        w.behave(b);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(1), 1);
        QCOMPARE(addresses_of(search), addresses);
    }

    void a_name_that_fills_its_field_is_cut_at_the_field()
    {
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        w.wall.with_display(w.placed.first().handle, [](sim_display &d) { d.model_name = QByteArray(60, 'N'); });
        w.wall.set_mac(w.placed.first().handle, {0x41, 0x42, 0x43, 0x44, 0x45, 0x46});
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(1), 1);
        PJSearchResult r;
        QVERIFY(search.result_at(0, r));
        QCOMPARE(r.name, QString(48, QLatin1Char('N')));
        QCOMPARE(r.mac, QStringLiteral("41-42-43-44-45-46"));
    }

    void answers_of_another_size_are_ignored_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("results");
        QTest::newRow("255") << 255 << 0;
        QTest::newRow("256") << 256 << 1;
        QTest::newRow("257") << 257 << 0;
        QTest::newRow("1024") << 1024 << 0;
    }

    void answers_of_another_size_are_ignored()
    {
        QFETCH(int, size);
        QFETCH(int, results);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        sim_search_behaviour b;
        b.answer_size = size;
        w.behave(b);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(1), 1);
        QCOMPARE(search.result_count(), results);
    }

    void a_new_search_starts_from_an_empty_list()
    {
        search_wall w(QStringLiteral("columns=2;address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        const QList<QHostAddress> all = w.targets();
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, {all.at(0), all.at(1)});
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QCOMPARE(addresses_of(search), QStringList {kFirstDisplay});
        search.set_addresses({all.at(0), all.at(2)});
        QCOMPARE(search.search(1), 1);
        QCOMPARE(addresses_of(search), (QStringList {kFirstDisplay, loopback_block::address(2)}));
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QCOMPARE(addresses_of(search), QStringList {loopback_block::address(2)});
    }

    void answers_from_the_pc_itself_are_ignored()
    {
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        // The display's own address stands as the PC's: its answer is the PC's echo.
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays,
                           {QHostAddress(kFirstDisplay), QHostAddress(kFirstDisplay)});
        QCOMPARE(search.search(1), 1);
        QCOMPARE(search.result_count(), 0);
    }

    void nothing_is_sent_without_targets_data()
    {
        QTest::addColumn<QList<QHostAddress>>("targets");
        QTest::newRow("none") << QList<QHostAddress>();
        QTest::newRow("own address IPv6") << QList<QHostAddress> {QHostAddress(QStringLiteral("::2")),
                                                                 QHostAddress(kFirstDisplay)};
        QTest::newRow("own address empty") << QList<QHostAddress> {QHostAddress(), QHostAddress(kFirstDisplay)};
    }

    void nothing_is_sent_without_targets()
    {
        QFETCH(QList<QHostAddress>, targets);
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, targets);
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 0);
        QVERIFY(!search.is_searching());
        QTest::qWait(50);
        QCOMPARE(w.wall.search_requests(w.placed.first().endpoint), 0);
    }

    void only_the_own_address_sends_nothing_and_ends()
    {
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, {kOwnAddress});
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QVERIFY(QTest::qWaitFor([&] { return !search.is_searching(); }, 5000));
        QCOMPARE(search.result_count(), 0);
    }

    void stop_ends_the_repeats()
    {
        search_wall w(QStringLiteral("address=%1").arg(kFirstDisplay));
        QVERIFY(w.ok);
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, w.targets());
        QCOMPARE(search.search(PJSearchUdp::kNewSearch), 1);
        QVERIFY(search.is_searching());
        QCOMPARE(search.stop(), 1);
        QVERIFY(!search.is_searching());
        QTest::qWait(200);
        QCOMPARE(w.wall.search_requests(w.placed.first().endpoint), 2);
        QCOMPARE(search.result_count(), 1);
    }

    void result_at_out_of_range_is_false()
    {
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays, {});
        PJSearchResult r;
        r.name = QStringLiteral("kept");
        QVERIFY(!search.result_at(0, r));
        QVERIFY(!search.result_at(-1, r));
        QCOMPARE(r.name, QStringLiteral("kept"));
    }

    // A sender that never stops must not hold the search for ever.
    void a_flood_of_answers_ends_the_search()
    {
        // The flood keeps the socket busy whatever the quiet time: a short
        // limit (0.5 s) keeps this test short.
        wait_service::set_time_scale(0.05);
        std::atomic<bool> flooding {true};
        std::thread flood([&] {
            QUdpSocket socket;
            if (!socket.bind(QHostAddress(loopback_block::address(50)), 0))
                return;
            QByteArray answer(PJSearchUdp::kAnswerSize, '\0');
            qToLittleEndian<quint32>(8, answer.data() + 16);
            while (flooding.load()) {
                socket.writeDatagram(answer, QHostAddress(QStringLiteral("127.0.0.1")), PJSearchUdp::search_port());
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        PJSearchUdp search(nullptr, PJSearchUdp::kLargeScreenDisplays,
                           {kOwnAddress, QHostAddress(loopback_block::address(51))});
        QElapsedTimer timer;
        timer.start();
        const int sent = search.search(1);
        const qint64 elapsed = timer.elapsed();
        flooding.store(false);
        flood.join();
        QCOMPARE(sent, 1);
        QVERIFY2(elapsed < 3000, qPrintable(QString::number(elapsed)));
        QCOMPARE(addresses_of(search), QStringList {loopback_block::address(50)});
    }

    // A responder answering each request with a burst of
    // random datagrams: every size, and answers of the right size whose
    // magic, sequence, kind, words, texts and MAC are random or plausible.
    // The search must end in time with at most one result per address and
    // fields cut to their sizes.
    void random_answers_are_checked_before_they_are_taken()
    {
        const QHostAddress responder(loopback_block::address(210));
        std::atomic<bool> answering {true};
        std::atomic<int> sent {0};
        std::thread answers([&] {
            QUdpSocket socket;
            if (!socket.bind(responder, PJSearchUdp::search_port(),
                             QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
                qWarning("bind: %s", qPrintable(socket.errorString()));
                return;
            }
            std::mt19937 random(0x5EA2C4u);
            std::uniform_int_distribution<int> byte(0, 255);
            const int sizes[] = {0, 1, 16, 20, 100, 255, 256, 256, 256, 256, 257, 1000};
            while (answering.load()) {
                if (!socket.waitForReadyRead(20))
                    continue;
                QByteArray request(PJSearchUdp::kRequestSize, '\0');
                QHostAddress from;
                quint16 port = 0;
                if (socket.readDatagram(request.data(), request.size(), &from, &port) < 12)
                    continue;
                for (int i = 0; i < 40; ++i) {
                    QByteArray answer(sizes[std::uniform_int_distribution<int>(0, 11)(random)], '\0');
                    for (char &c : answer)
                        c = static_cast<char>(byte(random));
                    if (answer.size() == PJSearchUdp::kAnswerSize && byte(random) < 192) {
                        answer.replace(0, 4, "KWTD");
                        answer.replace(8, 2, request.mid(8, 2));
                        const auto put32 = [&answer](int offset, quint32 value) {
                            const quint32 little = qToLittleEndian(value);
                            answer.replace(offset, 4, reinterpret_cast<const char *>(&little), 4);
                        };
                        const quint32 kinds[] = {1, 2, 8, static_cast<quint32>(byte(random))};
                        put32(16, kinds[byte(random) % 4]);
                        put32(144, 0);
                        put32(148, 0x100);
                        const QByteArray named = loopback_block::address(byte(random) % 3 + 210).toLatin1();
                        if (byte(random) < 128)
                            answer.replace(32, named.size() + 1, named + '\0');
                    }
                    socket.writeDatagram(answer, from, port);
                    ++sent;
                }
            }
        });
        for (int round = 0; round < 6; ++round) {
            PJSearchUdp search(nullptr, round % 2 ? PJSearchUdp::kProjectors : PJSearchUdp::kLargeScreenDisplays,
                               {kOwnAddress, responder});
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(search.search(1), 1);
            QVERIFY2(timer.elapsed() < 4000, "the search must end");
            // The sender and the two other addresses an answer may name.
            QVERIFY(search.result_count() <= 3);
            QStringList seen;
            for (const PJSearchResult &r : results_of(search)) {
                QVERIFY(!seen.contains(r.address.toString()));
                seen << r.address.toString();
                QCOMPARE(r.mac.size(), 17);
                QVERIFY(r.name.size() <= 48);
            }
            search.stop();
        }
        answering.store(false);
        answers.join();
        QVERIFY(sent.load() > 0);
    }
};

QTEST_GUILESS_MAIN(tst_pj_search_udp)
#include "tst_pj_search_udp.moc"
