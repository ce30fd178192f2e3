#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/update/checkForSoftwareUpdates.h"
#include "app/update/update_description.h"
#include "app/update/update_init_info.h"
#include "app/window/introduction_choices.h"
#include "app/window/introduction_dialog.h"
#include "main_window_fixture.h"
#include "tests/app/update/loopback_http_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextDocument>
#include <QTimer>
#include <QWizard>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int kOwnBuild = 210208;

QByteArray description(int build)
{
    return "PLATFORM=" + QByteArray(kUpdatePlatformToken) + "\nVERSION=v" + QByteArray::number(build)
           + "\nBUILD=" + QByteArray::number(build) + "\n";
}

enum server_answer { kNewer, kSame, kDown };

// Acts on the next modal dialog of type T once it runs, for as long as the
// returned watch lives.
template <typename T>
std::unique_ptr<QTimer> on_next(std::function<void(T &)> act)
{
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(5);
    QTimer *watch = timer.get();
    QObject::connect(watch, &QTimer::timeout, [watch, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            watch->stop();
            act(*dialog);
        }
    });
    watch->start();
    return timer;
}

std::unique_ptr<QTimer> on_introduction(std::function<void(introduction_dialog &)> act)
{
    return on_next<introduction_dialog>(std::move(act));
}

void follow_link(introduction_dialog &dialog, const QString &link)
{
    QMetaObject::invokeMethod(&dialog, "on_main_label_linkActivated", Q_ARG(QString, link));
}

// Resident memory of this process in kB; with |peak|, the most it held
// since reset_peak_memory (or the start).
qint64 resident_kb(bool peak)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = peak ? "VmHWM:" : "VmRSS:";
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// False where the kernel does not let the peak be reset.
bool reset_peak_memory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

class tst_update_and_introduction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void update_check_data();
    void update_check();
    void hostile_answers_show_as_text_data();
    void hostile_answers_show_as_text();
    void automatic_check_schedule_data();
    void automatic_check_schedule();

    void introduction_results_data();
    void introduction_results();
    void introduction_suppressed_is_not_shown();

private:
    std::unique_ptr<main_window_fixture> m_fixture;
    std::unique_ptr<loopback_http_server> m_server;
};

void tst_update_and_introduction::init()
{
    m_fixture = std::make_unique<main_window_fixture>(headless_controller::no_instruments,
                                                     main_window_fixture::with_introduction);
    m_server = std::make_unique<loopback_http_server>();
    QVERIFY(m_server->listen());
}

void tst_update_and_introduction::cleanup()
{
    qunsetenv(kUpdateAddressesVariable);
    m_fixture.reset();
    m_server.reset();
}

void tst_update_and_introduction::update_check_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("message_id");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("stored");

    QTest::newRow("operator, newer build") << false << int(kNewer) << 159 << true << true;
    QTest::newRow("operator, up to date") << false << int(kSame) << 157 << true << true;
    QTest::newRow("operator, server down") << false << int(kDown) << 156 << true << false;
    QTest::newRow("automatic, newer build") << true << int(kNewer) << 159 << true << true;
    QTest::newRow("automatic, up to date") << true << int(kSame) << 157 << false << true;
    QTest::newRow("automatic, server down") << true << int(kDown) << 156 << false << false;
}

void tst_update_and_introduction::update_check()
{
    QFETCH(bool, automatic);
    QFETCH(int, answer);
    QFETCH(int, message_id);
    QFETCH(bool, shown);
    QFETCH(bool, stored);

    m_server->answer(QStringLiteral("/update.txt"), description(answer == kNewer ? kOwnBuild + 1 : kOwnBuild));
    const QUrl address = answer == kDown ? loopback_http_server::refusing_url(QStringLiteral("/update.txt"))
                                         : m_server->url(QStringLiteral("/update.txt"));
    qputenv(kUpdateAddressesVariable, address.toString().toUtf8());
    CPreferences &prefs = m_fixture->preferences();
    prefs.SetAutoCheckForUpdates(true);
    const QDateTime long_ago = QDateTime::currentDateTime().addDays(-30);
    prefs.SetLastUpdateCheck(long_ago);
    Tessaline &window = m_fixture->window();

    modal_box_answerer boxes({QMessageBox::Ok});
    if (automatic)
        window.auto_check_for_updates();
    else
        window.on_actionCheck_for_updates_triggered();
    auto *checker = window.findChild<checkForSoftwareUpdates *>();
    QVERIFY(checker);
    QSignalSpy done(checker, &checkForSoftwareUpdates::completion_message);
    QVERIFY(done.wait(10000));
    QCOMPARE(done.at(0).at(1).toInt(), answer == kNewer ? 1 : answer == kSame ? 2 : 3);

    QCOMPARE(boxes.seen().size(), shown ? 1 : 0);
    if (shown) {
        const QString prefix = string_resource(message_id).section(QLatin1Char('%'), 0, 0);
        QVERIFY2(boxes.seen().first().text.startsWith(prefix), qPrintable(boxes.seen().first().text));
    }
    QCOMPARE(prefs.GetLastUpdateCheck() != long_ago, stored);
    if (stored)
        QVERIFY(prefs.GetLastUpdateCheck().secsTo(QDateTime::currentDateTime()) < 60);
    QCOMPARE(m_server->request_count(), answer == kDown ? 0 : 1);
}

void tst_update_and_introduction::hostile_answers_show_as_text_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("shown"); // a text the operator reads in the box

    const QByteArray zero = "<img src=\"/dev/zero\">";
    QTest::newRow("pictures of a device as changes") << QByteArray(8, '\0').replace('\0', "CHANGES=999999=" + zero + "\n")
                                                      << QString::fromLatin1(zero);
    QTest::newRow("picture of a device as version") << "VERSION=" + zero + "\n" << QString::fromLatin1(zero);
    QTest::newRow("file links") << QByteArray("VERSION=<a href=\"file:///etc/passwd\">2.0</a>\n"
                                              "URL=file:///etc/passwd\nREADME=file:///dev/zero\n")
                                << QStringLiteral("<a href=\"file:///etc/passwd\">2.0</a>");
    QTest::newRow("quote in the download address")
        << QByteArray("URL=http://updates.example/\"><img src=\"/dev/zero\">\nVERSION=2.0\n") << QStringLiteral("2.0");
    QTest::newRow("huge values") << "VERSION=" + QByteArray(20000, 'v') + "\nCHANGES=999999=" + QByteArray(20000, '<')
                                        + "\nURL=https://updates.example/" + QByteArray(20000, 'u') + "\n"
                                 << QString(20000, QLatin1Char('v'));
}

// What the update service answers is untrusted: whatever it holds, the
// message box shows it as text, links only to http and https addresses, and
// loads nothing.
void tst_update_and_introduction::hostile_answers_show_as_text()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, shown);
    m_server->answer(QStringLiteral("/update.txt"), "PLATFORM=" + QByteArray(kUpdatePlatformToken)
                                                        + "\nBUILD=999999\n" + lines);
    qputenv(kUpdateAddressesVariable, m_server->url(QStringLiteral("/update.txt")).toString().toUtf8());
    Tessaline &window = m_fixture->window();
    const bool peak = reset_peak_memory();
    const qint64 before = resident_kb(peak);
    QVERIFY(before > 0);

    modal_box_answerer boxes({QMessageBox::Ok});
    window.on_actionCheck_for_updates_triggered();
    auto *checker = window.findChild<checkForSoftwareUpdates *>();
    QVERIFY(checker);
    QSignalSpy done(checker, &checkForSoftwareUpdates::completion_message);
    QVERIFY(done.wait(10000));
    QCOMPARE(done.at(0).at(1).toInt(), 1);
    QCOMPARE(boxes.seen().size(), 1);

    // AddressSanitizer keeps freed blocks resident for a while; an answer that
    // reads a device still grows by gigabytes.
#if defined(__SANITIZE_ADDRESS__)
    constexpr qint64 kBoundKb = 512 * 1024;
#else
    constexpr qint64 kBoundKb = 64 * 1024;
#endif
    const qint64 grown = resident_kb(peak) - before;
    QVERIFY2(grown < kBoundKb, qPrintable(QStringLiteral("%1 kB more resident memory").arg(grown)));
    const QString text = boxes.seen().first().text;
    QVERIFY(!text.contains(QStringLiteral("<img"), Qt::CaseInsensitive));
    const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    for (auto match = link.globalMatch(text); match.hasNext();) {
        const QUrl target(match.next().captured(1));
        QVERIFY2(target.scheme() == QLatin1String("https") || target.scheme() == QLatin1String("http"),
                 qPrintable(target.toString()));
    }
    QTextDocument document;
    document.setHtml(text);
    QVERIFY(document.toPlainText().contains(shown));
}

void tst_update_and_introduction::automatic_check_schedule_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("days_ago"); // -1: never checked
    QTest::addColumn<bool>("checks");
    QTest::newRow("never checked") << true << -1 << true;
    QTest::newRow("13 days ago") << true << 13 << false;
    QTest::newRow("14 days ago") << true << 14 << true;
    QTest::newRow("automatic checks off") << false << -1 << false;
}

void tst_update_and_introduction::automatic_check_schedule()
{
    QFETCH(bool, on);
    QFETCH(int, days_ago);
    QFETCH(bool, checks);
    m_server->answer(QStringLiteral("/update.txt"), description(kOwnBuild));
    qputenv(kUpdateAddressesVariable, m_server->url(QStringLiteral("/update.txt")).toString().toUtf8());
    CPreferences &prefs = m_fixture->preferences();
    prefs.SetAutoCheckForUpdates(on);
    prefs.SetLastUpdateCheck(days_ago < 0 ? QDateTime() : QDateTime::currentDateTime().addDays(-days_ago));
    Tessaline &window = m_fixture->window();

    modal_box_answerer boxes;
    window.auto_check_for_updates();
    auto *checker = window.findChild<checkForSoftwareUpdates *>();
    QCOMPARE(checker != nullptr, checks);
    if (checker) {
        QSignalSpy done(checker, &checkForSoftwareUpdates::completion_message);
        QVERIFY(done.wait(10000));
    }
    QCOMPARE(m_server->request_count(), checks ? 1 : 0);
    QVERIFY(boxes.seen().isEmpty());
}

void tst_update_and_introduction::introduction_results_data()
{
    QTest::addColumn<QString>("link"); // empty: Close
    QTest::addColumn<bool>("dont_show");
    QTest::addColumn<bool>("suppressed");
    QTest::addColumn<int>("open_dialogs");
    QTest::addColumn<bool>("opened_recent");
    QTest::addColumn<bool>("wizard");

    QTest::newRow("close") << QString() << false << false << 0 << false << false;
    QTest::newRow("close, don't show again") << QString() << true << true << 0 << false << false;
    QTest::newRow("open from another location") << "open" << false << false << 1 << false << false;
    QTest::newRow("layout wizard, don't show again") << "wizard" << true << true << 0 << false << true;
    QTest::newRow("recent project") << "0" << false << false << 0 << true << false;
    QTest::newRow("a recent project beyond the list does nothing") << "3" << false << false << 0 << false << false;
}

void tst_update_and_introduction::introduction_results()
{
    QFETCH(QString, link);
    QFETCH(bool, dont_show);
    QFETCH(bool, suppressed);
    QFETCH(int, open_dialogs);
    QFETCH(bool, opened_recent);
    QFETCH(bool, wizard);

    Tessaline &window = m_fixture->window();
    const QString project = m_fixture->projects_folder() + QStringLiteral("wall.tslw");
    QVERIFY(QDir().mkpath(m_fixture->projects_folder()));
    QCOMPARE(window.save_project_file(project, true), 0);
    window.set_current_file(QString());
    m_fixture->preferences().SetRecentFiles({project});

    bool seen = false;
    const auto watch = on_introduction([&](introduction_dialog &dialog) {
        seen = true;
        dialog.findChild<QCheckBox *>(QStringLiteral("dont_show_again_checkBox"))->setChecked(dont_show);
        if (!link.isEmpty())
            follow_link(dialog, link);
        // A link that ends nothing leaves the dialog open: Close ends it.
        if (dialog.isVisible())
            dialog.findChild<QPushButton *>(QStringLiteral("cancel_pushButton"))->click();
    });
    bool wizard_seen = false;
    const auto wizard_watch = on_next<QWizard>([&](QWizard &shown) {
        wizard_seen = true;
        shown.reject();
    });
    window.show_introduction_dialog();

    QVERIFY(seen);
    QCOMPARE(wizard_seen, wizard);
    QCOMPARE(m_fixture->preferences().IsMessageSuppressed(kIntroductionMessageId), suppressed);
    QCOMPARE(m_fixture->file_dialogs().size(), open_dialogs);
    if (open_dialogs)
        QCOMPARE(m_fixture->file_dialogs().first().kind, file_dialog_request::open_file);
    QCOMPARE(window.project_file_path(), opened_recent ? project : QString());
}

void tst_update_and_introduction::introduction_suppressed_is_not_shown()
{
    Tessaline &window = m_fixture->window();
    m_fixture->preferences().SuppressMessage(kIntroductionMessageId);
    bool seen = false;
    const auto watch = on_introduction([&](introduction_dialog &dialog) {
        seen = true;
        dialog.reject();
    });
    window.show_introduction_dialog();
    QTest::qWait(20);
    QVERIFY(!seen);
}

QTEST_MAIN(tst_update_and_introduction)
#include "tst_update_and_introduction.moc"
