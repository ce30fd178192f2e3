#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/version_text.h"
#include "app/update/checkForSoftwareUpdates.h"
#include "app/update/update_init_info.h"
#include "app/update/update_schedule.h"

#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 3, 15), QTime(12, 0));

} // namespace

class tst_update_schedule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void automatic_check_due_data();
    void automatic_check_due();
    void finished_check_stores_time_and_shows_data();
    void finished_check_stores_time_and_shows();
    void program_request_names_build_messages_and_system();
    void environment_replaces_addresses_data();
    void environment_replaces_addresses();

private:
    QTemporaryDir m_home;
};

void tst_update_schedule::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
}

void tst_update_schedule::cleanup()
{
    qunsetenv(kUpdateAddressesVariable);
}

void tst_update_schedule::automatic_check_due_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QDateTime>("last");
    QTest::addColumn<bool>("due");

    QTest::newRow("never checked") << true << QDateTime() << true;
    QTest::newRow("13 days ago") << true << kNow.addDays(-13) << false;
    QTest::newRow("14 days ago") << true << kNow.addDays(-14) << true;
    QTest::newRow("a year ago") << true << kNow.addYears(-1) << true;
    QTest::newRow("today") << true << kNow.addSecs(-60) << false;
    QTest::newRow("clock set back") << true << kNow.addDays(20) << false;
    QTest::newRow("off, never checked") << false << QDateTime() << false;
    QTest::newRow("off, 14 days ago") << false << kNow.addDays(-14) << false;
}

void tst_update_schedule::automatic_check_due()
{
    QFETCH(bool, automatic);
    QFETCH(QDateTime, last);
    QFETCH(bool, due);

    CPreferences preferences;
    preferences.SetAutoCheckForUpdates(automatic);
    preferences.SetLastUpdateCheck(last);
    QCOMPARE(automatic_update_check_due(preferences, kNow), due);
}

void tst_update_schedule::finished_check_stores_time_and_shows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("shown");

    QTest::newRow("newer, operator") << 1 << false << true << true;
    QTest::newRow("newer, automatic") << 1 << true << true << true;
    QTest::newRow("up to date, operator") << 2 << false << true << true;
    QTest::newRow("up to date, automatic") << 2 << true << true << false;
    QTest::newRow("unreachable, operator") << 3 << false << false << true;
    QTest::newRow("unreachable, automatic") << 3 << true << false << false;
}

void tst_update_schedule::finished_check_stores_time_and_shows()
{
    QFETCH(int, kind);
    QFETCH(bool, automatic);
    QFETCH(bool, stored);
    QFETCH(bool, shown);

    CPreferences preferences;
    const QDateTime before = kNow.addDays(-30);
    preferences.SetLastUpdateCheck(before);
    QCOMPARE(record_update_check(preferences, kind, automatic, kNow), shown);
    QCOMPARE(preferences.GetLastUpdateCheck(), stored ? kNow : before);
}

void tst_update_schedule::program_request_names_build_messages_and_system()
{
    const update_init_info info = make_update_init_info();
    QCOMPARE(info.current_build, kProgramBuildNumber);
    QVERIFY(version_text().contains(QString::number(info.current_build)));
    QCOMPARE(info.up_to_date_message, string_resource(157));
    QCOMPARE(info.error_message, string_resource(156));
    QCOMPARE(info.update_message, string_resource(159));
    QCOMPARE(info.change_section, string_resource(174));
    QCOMPARE(info.user_agent, QStringLiteral("'%1' %2 '%3'")
                                  .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), version_text()));
}

void tst_update_schedule::environment_replaces_addresses_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QStringList>("addresses");

    const QStringList table{string_resource(158), string_resource(186)};
    QTest::newRow("unset") << QByteArray() << table;
    QTest::newRow("blank") << QByteArray(" \t ") << table;
    QTest::newRow("one") << QByteArray("http://127.0.0.1:8000/v.txt")
                         << QStringList{QStringLiteral("http://127.0.0.1:8000/v.txt")};
    QTest::newRow("two, any white space")
        << QByteArray("  http://127.0.0.1:8000/a.txt \n\thttp://127.0.0.2:8000/b.txt ")
        << QStringList{QStringLiteral("http://127.0.0.1:8000/a.txt"), QStringLiteral("http://127.0.0.2:8000/b.txt")};
}

void tst_update_schedule::environment_replaces_addresses()
{
    QFETCH(QByteArray, variable);
    QFETCH(QStringList, addresses);

    if (!variable.isNull())
        qputenv(kUpdateAddressesVariable, variable);
    QCOMPARE(make_update_init_info().addresses, addresses);
    // The built-in addresses lie under ".invalid": a fresh start asks nobody.
    if (variable.trimmed().isEmpty()) {
        for (const QString &address : addresses)
            QVERIFY2(names_invalid_domain(QUrl(address)), qPrintable(address));
    }
}

QTEST_GUILESS_MAIN(tst_update_schedule)
#include "tst_update_schedule.moc"
