#include "app/services/process_finder.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Starts throw-away programs under chosen names and finds and stops them.
class tst_process_finder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void finds_and_terminates_by_program_name_data();
    void finds_and_terminates_by_program_name();
    void finds_a_long_program_file_name();
    void unknown_name_is_not_found();

private:
    // Starts |program| with |arguments| and waits until |name| is seen.
    void start(const QString &program, const QStringList &arguments, const QString &name);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_sleep;
};

void tst_process_finder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    QVERIFY(!m_sleep.isEmpty());
}

void tst_process_finder::cleanup()
{
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished(5000);
        m_process.reset();
    }
}

void tst_process_finder::start(const QString &program, const QStringList &arguments, const QString &name)
{
    m_process = std::make_unique<QProcess>();
    m_process->start(program, arguments);
    QVERIFY(m_process->waitForStarted(5000));
    // The shell renames the program when it executes it.
    QTRY_VERIFY_WITH_TIMEOUT(find_process_by_image_name(name, false), 5000);
}

void tst_process_finder::finds_and_terminates_by_program_name_data()
{
    QTest::addColumn<QString>("commandLineName");
    QTest::addColumn<QString>("searchedName");
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QTest::newRow("case differs") << QStringLiteral("Colormunki-%1.exe").arg(pid)
                                  << QStringLiteral("COLORMUNKI-%1.EXE").arg(pid);
    QTest::newRow("path before the name") << QStringLiteral("/opt/x-rite/i1ProfilerTray-%1.exe").arg(pid)
                                          << QStringLiteral("i1profilertray-%1.exe").arg(pid);
    QTest::newRow("Windows path") << QStringLiteral("C:\\Program Files\\Datacolor\\SpyderUtility-%1.exe").arg(pid)
                                  << QStringLiteral("SpyderUtility-%1.exe").arg(pid);
}

void tst_process_finder::finds_and_terminates_by_program_name()
{
    QFETCH(QString, commandLineName);
    QFETCH(QString, searchedName);
    start(QStringLiteral("/bin/bash"),
          {QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" %1 30").arg(m_sleep), commandLineName},
          searchedName);
    QVERIFY(find_process_by_image_name(searchedName, false));
    QCOMPARE(m_process->state(), QProcess::Running);

    QVERIFY(find_process_by_image_name(searchedName, true));
    QVERIFY(m_process->waitForFinished(5000));
    QCOMPARE(m_process->exitStatus(), QProcess::CrashExit);
    QVERIFY(!find_process_by_image_name(searchedName, false));
}

void tst_process_finder::finds_a_long_program_file_name()
{
    // Longer than the kernel's 15-character short name.
    const QString name = QStringLiteral("TessalineFinderProbe%1").arg(QCoreApplication::applicationPid());
    const QString copy = m_dir.filePath(name);
    QVERIFY(QFile::copy(m_sleep, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));
    start(copy, {QStringLiteral("30")}, name.toLower());
    QVERIFY(find_process_by_image_name(name.toUpper(), true));
    QVERIFY(m_process->waitForFinished(5000));
    QVERIFY(!find_process_by_image_name(name, false));
}

void tst_process_finder::unknown_name_is_not_found()
{
    QVERIFY(!find_process_by_image_name(QStringLiteral("tessaline-no-such-program-%1.exe")
                                            .arg(QCoreApplication::applicationPid()),
                                        false));
    QVERIFY(!find_process_by_image_name(QString(), false));
}

QTEST_GUILESS_MAIN(tst_process_finder)
#include "tst_process_finder.moc"
