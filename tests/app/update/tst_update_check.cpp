#include "app/services/version_text.h"
#include "app/update/checkForSoftwareUpdates.h"
#include "app/update/update_description.h"
#include "display_protocol/wait_service.h"
#include "loopback_http_server.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

update_init_info test_info(const QList<QUrl> &addresses)
{
    update_init_info info;
    info.current_build = 210208;
    info.up_to_date_message = QStringLiteral("up to date");
    info.error_message = QStringLiteral("unreachable%1");
    info.update_message = QStringLiteral("new %1%2%3%4");
    info.change_section = QStringLiteral("%1");
    for (const QUrl &address : addresses)
        info.addresses.append(address.toString());
    return info;
}

QByteArray description(int build)
{
    return "PLATFORM=" + QByteArray(kUpdatePlatformToken) + "\nVERSION=v" + QByteArray::number(build) +
           "\nBUILD=" + QByteArray::number(build) + "\n";
}

// A description of |size| bytes naming a newer build, padded with comment lines.
QByteArray padded_description(int size)
{
    QByteArray text = description(210301);
    while (text.size() < size)
        text += QByteArray(qMin(63, size - text.size() - 1), 'x') + "\n";
    return text.left(size);
}

struct completion
{
    int count = 0;
    QString message;
    int kind = 0;
};

// Runs one batch to its end and counts the messages it gave, also those that
// would come late.
completion run(checkForSoftwareUpdates &checker, const update_init_info &info)
{
    QSignalSpy spy(&checker, &checkForSoftwareUpdates::completion_message);
    checker.execute(info);
    completion result;
    if (!spy.wait(10000))
        return result;
    QTest::qWait(50);
    result.count = spy.count();
    result.message = spy.first().at(0).toString();
    result.kind = spy.first().at(1).toInt();
    return result;
}

} // namespace

class tst_update_check : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void names_invalid_domain_data();
    void names_invalid_domain();
    void one_server_data();
    void one_server();
    void user_agent_data();
    void user_agent();
    void later_address_answers_data();
    void later_address_answers();
    void every_address_failing_completes_once_data();
    void every_address_failing_completes_once();
    void description_size_limit_data();
    void description_size_limit();
    void silent_server_times_out();
    void batches_in_a_row();

private:
    loopback_http_server *m_server = nullptr;
};

void tst_update_check::initTestCase()
{
    // The transfer time-out becomes a fraction of a second, but never less
    // than two seconds: a server starved on a busy machine is not silent.
    wait_service::set_time_scale(0.02);
    wait_service::set_io_timeout_floor_ms(2000);
}

void tst_update_check::init()
{
    m_server = new loopback_http_server(this);
    QVERIFY(m_server->listen());
}

void tst_update_check::cleanup()
{
    delete m_server;
    m_server = nullptr;
}

void tst_update_check::names_invalid_domain_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("invalid");

    QTest::newRow("update service") << QStringLiteral("https://updates.tessaline.invalid/v.txt") << true;
    QTest::newRow("bare, upper case") << QStringLiteral("http://INVALID/v.txt") << true;
    QTest::newRow("trailing dot") << QStringLiteral("http://a.invalid./v.txt") << true;
    QTest::newRow("invalid as a label") << QStringLiteral("http://invalid.example/v.txt") << false;
    QTest::newRow("suffix of a label") << QStringLiteral("http://notinvalid/v.txt") << false;
    QTest::newRow("loopback") << QStringLiteral("http://127.0.0.1:8080/v.txt") << false;
}

void tst_update_check::names_invalid_domain()
{
    QFETCH(QString, address);
    QFETCH(bool, invalid);
    QCOMPARE(::names_invalid_domain(QUrl(address)), invalid);
}

void tst_update_check::one_server_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("newer build") << 200 << description(210301) << 1 << QStringLiteral("new v210301");
    QTest::newRow("same build") << 200 << description(210208) << 2 << QStringLiteral("up to date");
    QTest::newRow("no build") << 200 << QByteArray("PLATFORM=WINDOWS\nVERSION=2\n") << 3
                              << QStringLiteral("unreachable");
    QTest::newRow("other platform") << 200 << QByteArray("PLATFORM=LINUX\nBUILD=210301\n") << 3
                                    << QStringLiteral("unreachable");
    QTest::newRow("not found") << 404 << description(210301) << 3 << QStringLiteral("unreachable");
    QTest::newRow("server error") << 500 << description(210301) << 3 << QStringLiteral("unreachable");
}

void tst_update_check::one_server()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, kind);
    QFETCH(QString, message);

    m_server->answer(QStringLiteral("/v.txt"), body, status);
    checkForSoftwareUpdates checker;
    const completion done = run(checker, test_info({m_server->url(QStringLiteral("/v.txt"))}));
    QCOMPARE(done.count, 1);
    QCOMPARE(done.kind, kind);
    QCOMPARE(done.message, message);
    QCOMPARE(m_server->request_count(), 1);
}

void tst_update_check::user_agent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("plain") << QStringLiteral("Windows 10") << QByteArray("Mozilla/5.0 (Windows 10)");
    QTest::newRow("quotes removed, trimmed") << QStringLiteral(" \"Windows\" 10\" ")
                                             << QByteArray("Mozilla/5.0 (Windows 10)");
    QTest::newRow("the program's own")
        << make_update_init_info().user_agent
        << QByteArray("Mozilla/5.0 (" + make_update_init_info().user_agent.toLocal8Bit() + ")");
}

void tst_update_check::user_agent()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, header);

    m_server->answer(QStringLiteral("/v.txt"), description(210208));
    update_init_info info = test_info({m_server->url(QStringLiteral("/v.txt"))});
    info.user_agent = text;
    checkForSoftwareUpdates checker;
    QCOMPARE(run(checker, info).kind, 2);
    QCOMPARE(m_server->request_header(0, "User-Agent"), header);
    if (text == make_update_init_info().user_agent)
        QVERIFY(header.contains(version_text().toLocal8Bit()));
}

void tst_update_check::later_address_answers_data()
{
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("backup");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    // "refused": nothing listens; "invalid": the update service's reserved name.
    QTest::newRow("primary refused, backup newer") << "refused" << "/new" << 1 << "new v210301";
    QTest::newRow("primary invalid, backup newer") << "invalid" << "/new" << 1 << "new v210301";
    QTest::newRow("primary not found, backup same") << "/missing" << "/same" << 2 << "up to date";
    QTest::newRow("primary without build, backup same") << "/empty" << "/same" << 2 << "up to date";
    QTest::newRow("both answer, higher build wins") << "/new" << "/newer" << 1 << "new v210400";
    QTest::newRow("both answer, higher build first") << "/newer" << "/new" << 1 << "new v210400";
}

void tst_update_check::later_address_answers()
{
    QFETCH(QString, primary);
    QFETCH(QString, backup);
    QFETCH(int, kind);
    QFETCH(QString, message);

    m_server->answer(QStringLiteral("/new"), description(210301));
    m_server->answer(QStringLiteral("/newer"), description(210400));
    m_server->answer(QStringLiteral("/same"), description(210208));
    m_server->answer(QStringLiteral("/empty"), QByteArray());
    const auto address = [this](const QString &name) {
        if (name == QLatin1String("refused"))
            return loopback_http_server::refusing_url(QStringLiteral("/v.txt"));
        if (name == QLatin1String("invalid"))
            return QUrl(QStringLiteral("http://updates.tessaline.invalid/v.txt"));
        return m_server->url(name);
    };

    checkForSoftwareUpdates checker;
    const completion done = run(checker, test_info({address(primary), address(backup)}));
    QCOMPARE(done.count, 1);
    QCOMPARE(done.kind, kind);
    QCOMPARE(done.message, message);
}

void tst_update_check::every_address_failing_completes_once_data()
{
    QTest::addColumn<QStringList>("addresses");

    QTest::newRow("no address") << QStringList();
    QTest::newRow("two invalid") << QStringList{QStringLiteral("https://updates.tessaline.invalid/v.txt"),
                                                QStringLiteral("https://updates-backup.tessaline.invalid/v.txt")};
    QTest::newRow("refused") << QStringList{loopback_http_server::refusing_url(QStringLiteral("/v")).toString()};
    QTest::newRow("not an address") << QStringList{QStringLiteral("::")};
    QTest::newRow("no build anywhere") << QStringList{QStringLiteral("/empty"), QStringLiteral("/other")};
}

void tst_update_check::every_address_failing_completes_once()
{
    QFETCH(QStringList, addresses);

    m_server->answer(QStringLiteral("/empty"), QByteArray("PLATFORM=WINDOWS\n"));
    m_server->answer(QStringLiteral("/other"), QByteArray("PLATFORM=MAC\nBUILD=210301\n"));
    update_init_info info = test_info({});
    for (const QString &address : addresses)
        info.addresses.append(address.startsWith(QLatin1Char('/')) ? m_server->url(address).toString() : address);

    checkForSoftwareUpdates checker;
    const completion done = run(checker, info);
    QCOMPARE(done.count, 1);
    QCOMPARE(done.kind, 3);
    QCOMPARE(done.message, QStringLiteral("unreachable"));
}

void tst_update_check::description_size_limit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("with_backup");
    QTest::addColumn<int>("kind");

    const int limit = int(checkForSoftwareUpdates::kMaxDescriptionBytes);
    QTest::newRow("at the limit") << limit << false << 1;
    QTest::newRow("one byte over") << limit + 1 << false << 3;
    QTest::newRow("a megabyte") << 1024 * 1024 << false << 3;
    QTest::newRow("oversized primary, backup answering") << 1024 * 1024 << true << 2;
}

void tst_update_check::description_size_limit()
{
    QFETCH(int, size);
    QFETCH(bool, with_backup);
    QFETCH(int, kind);

    m_server->answer(QStringLiteral("/big"), padded_description(size));
    m_server->answer(QStringLiteral("/same"), description(210208));
    QList<QUrl> addresses{m_server->url(QStringLiteral("/big"))};
    if (with_backup)
        addresses.append(m_server->url(QStringLiteral("/same")));

    checkForSoftwareUpdates checker;
    const completion done = run(checker, test_info(addresses));
    QCOMPARE(done.count, 1);
    QCOMPARE(done.kind, kind);
}

void tst_update_check::silent_server_times_out()
{
    m_server->stay_silent(QStringLiteral("/silent"));
    m_server->answer(QStringLiteral("/new"), description(210301));
    checkForSoftwareUpdates checker;

    const completion alone = run(checker, test_info({m_server->url(QStringLiteral("/silent"))}));
    QCOMPARE(alone.count, 1);
    QCOMPARE(alone.kind, 3);
    QCOMPARE(alone.message, QStringLiteral("unreachable"));

    const completion with_backup = run(
        checker, test_info({m_server->url(QStringLiteral("/silent")), m_server->url(QStringLiteral("/new"))}));
    QCOMPARE(with_backup.count, 1);
    QCOMPARE(with_backup.kind, 1);

    // The window may go while a server keeps it waiting.
    auto *abandoned = new checkForSoftwareUpdates;
    abandoned->execute(test_info({m_server->url(QStringLiteral("/silent"))}));
    QTRY_COMPARE(m_server->request_count(), 3);
    delete abandoned;
    QTest::qWait(50);
}

void tst_update_check::batches_in_a_row()
{
    m_server->answer(QStringLiteral("/same"), description(210208));
    m_server->answer(QStringLiteral("/new"), description(210301));
    checkForSoftwareUpdates checker;

    // One object serves check after check.
    QCOMPARE(run(checker, test_info({m_server->url(QStringLiteral("/same"))})).kind, 2);
    QCOMPARE(run(checker, test_info({m_server->url(QStringLiteral("/new"))})).kind, 1);

    // A check started while one runs joins it: one message for both.
    QSignalSpy spy(&checker, &checkForSoftwareUpdates::completion_message);
    checker.execute(test_info({m_server->url(QStringLiteral("/same"))}));
    checker.execute(test_info({m_server->url(QStringLiteral("/new"))}));
    QVERIFY(spy.wait(10000));
    QTest::qWait(50);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(1).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_update_check)
#include "tst_update_check.moc"
