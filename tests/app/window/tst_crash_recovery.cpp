#include "app/window/shutdown_marker.h"
#include "main_window_fixture.h"
#include "project_parts.h"
#include "tests/support/named_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

// The real program as a child process in the test's folders, with the main
// window's diagnostics on its error output. Killed when the object goes.
class program_run
{
public:
    explicit program_run(const headless_controller &wall)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), wall.home_folder());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), wall.home_folder() + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), wall.home_folder() + QStringLiteral("/runtime"));
        environment.insert(QStringLiteral("TESSALINE_SENSOR_LIBRARY_DIR"),
                           headless_controller::simulated_instrument_folder());
        environment.insert(QStringLiteral("TESSALINE_TIME_SCALE"), QStringLiteral("0.01"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tessaline.mainwindow.info=true"));
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(TESSALINE_PROGRAM), QStringList());
    }
    ~program_run() { kill(); }
    program_run(const program_run &) = delete;
    program_run &operator=(const program_run &) = delete;

    bool started() { return m_process.waitForStarted(kWaitMs); }
    // Waits until the diagnostics hold |text|.
    bool says(const QString &text)
    {
        return QTest::qWaitFor(
            [&] {
                m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
                return m_log.contains(text) || m_process.state() == QProcess::NotRunning;
            },
            kWaitMs)
               && m_log.contains(text);
    }
    QString log() const { return m_log; }
    bool running() const { return m_process.state() == QProcess::Running; }
    // SIGKILL: the program gets no chance to clean up.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(kWaitMs);
    }

private:
    QProcess m_process;
    QString m_log;
};

bool marker_on_disk()
{
    QFile settings(shutdown_marker::settings_file_path());
    return settings.open(QIODevice::ReadOnly) && settings.readAll().contains("shutdown_error=true");
}

} // namespace

// A run of the real program killed in the middle: the next start opens the
// newest backup copy; after a clean close the next start restores nothing.
class tst_crash_recovery : public QObject
{
    Q_OBJECT

private slots:
    void killed_run_is_recovered_at_the_next_start();
    void unreadable_newest_copy_does_not_stop_every_start();

private:
    // Folders, settings and preferences for a child of this test.
    static bool prepare(main_window_fixture &fixture);
};

bool tst_crash_recovery::prepare(main_window_fixture &fixture)
{
    const QString runtime = fixture.wall().home_folder() + QStringLiteral("/runtime");
    // No update check reaches out from the children.
    return QDir().mkpath(runtime)
           && QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
           && fixture.preferences().Save() == 0 && QDir().mkpath(fixture.backups_folder());
}

void tst_crash_recovery::killed_run_is_recovered_at_the_next_start()
{
    // The program asks about utilities that another test run may have started.
    const utility_names_lock namesLock;
    QVERIFY(namesLock.held());
    main_window_fixture fixture;
    const headless_controller &wall = fixture.wall();
    QVERIFY(prepare(fixture));

    // Copies of two projects; the newest is beta's.
    const QString alpha = fixture.backups_folder() + QStringLiteral("~tslw_backup_alpha_2024-05-01T101010.tslw");
    const QString beta = fixture.backups_folder() + QStringLiteral("~tslw_backup_beta_2024-04-01T101010.tslw");
    for (const auto &copy : {qMakePair(alpha, 3), qMakePair(beta, 5)}) {
        project_parts project;
        project.create_wall(copy.second, 1);
        QCOMPARE(project.write(copy.first), 0);
    }
    {
        QFile older(alpha);
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }

    // A first start after a clean past restores nothing, then dies.
    {
        program_run first(wall);
        QVERIFY(first.started());
        QVERIFY2(first.says(QStringLiteral("start-up: introduction")), qPrintable(first.log()));
        QVERIFY(QTest::qWaitFor(marker_on_disk, kWaitMs));
        first.kill();
        QVERIFY(!first.log().contains(QStringLiteral("restored backup")));
    }
    QVERIFY(marker_on_disk());

    // The next start opens the newest copy as an untitled, modified project and says so.
    {
        program_run second(wall);
        QVERIFY(second.started());
        QVERIFY2(second.says(QStringLiteral("message for status -1506")), qPrintable(second.log()));
        const QString log = second.log();
        QVERIFY2(log.contains(QStringLiteral("restored backup \"%1\"").arg(beta)), qPrintable(log));
        QVERIFY2(log.contains(QStringLiteral("title \"Tessaline - untitled.tslw[*]\" modified true")),
                 qPrintable(log));
    }

    // A window that closes cleanly clears the mark ...
    fixture.window();
    QVERIFY(fixture.window().previous_run_unclean());
    fixture.close_window();
    QVERIFY(!marker_on_disk());

    // ... and the start after it restores nothing.
    program_run third(wall);
    QVERIFY(third.started());
    QVERIFY2(third.says(QStringLiteral("start-up: introduction")), qPrintable(third.log()));
    QVERIFY(!third.log().contains(QStringLiteral("restored backup")));
}

// A copy that cannot be read (here a wall of -5 x -7 without displays, which
// once brought the program down as it opened) after a crash: the start
// reports it and goes on, and the start after the next crash restores the
// copy before it.
void tst_crash_recovery::unreadable_newest_copy_does_not_stop_every_start()
{
    const utility_names_lock namesLock;
    QVERIFY(namesLock.held());
    main_window_fixture fixture;
    const headless_controller &wall = fixture.wall();
    QVERIFY(prepare(fixture));

    const QString sound = fixture.backups_folder() + QStringLiteral("~tslw_backup_alpha_2024-05-01T101010.tslw");
    const QString hostile = fixture.backups_folder() + QStringLiteral("~tslw_backup_beta_2024-05-01T101010.tslw");
    {
        project_parts project;
        project.create_wall(3, 1);
        QCOMPARE(project.write(sound), 0);
        QFile older(sound);
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    {
        QCOMPARE(project_parts().write(hostile), 0);
        QFile file(hostile);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QDataStream patch(&file);
        QVERIFY(file.seek(8));
        patch << qint32(-5) << qint32(-7);
    }
    shutdown_marker::write(true);

    {
        program_run first(wall);
        QVERIFY(first.started());
        QVERIFY2(first.says(QStringLiteral("unreadable backup \"%1\"").arg(hostile)), qPrintable(first.log()));
        // Still running, the report in front of the operator.
        QTest::qWait(200);
        QVERIFY(first.running());
        QVERIFY(!first.log().contains(QStringLiteral("restored backup")));
        first.kill();
    }
    QVERIFY(marker_on_disk());
    QVERIFY(!QFile::exists(hostile));

    program_run second(wall);
    QVERIFY(second.started());
    QVERIFY2(second.says(QStringLiteral("message for status -1506")), qPrintable(second.log()));
    QVERIFY2(second.log().contains(QStringLiteral("restored backup \"%1\"").arg(sound)), qPrintable(second.log()));
}

QTEST_MAIN(tst_crash_recovery)
#include "tst_crash_recovery.moc"
