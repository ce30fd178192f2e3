#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char kLockFileName[] = "tessaline-7D5119B5-4E7F-4c32-92A3-6676BFF24954.lock";
constexpr int kWaitMs = 30000;

} // namespace

// The real program, started as a user would start it twice, in folders of
// the test's own.
class tst_single_instance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;

    QString path(const char *relative) const { return m_root.path() + QLatin1Char('/') + QLatin1String(relative); }
    QString lockFile() const { return path("runtime/") + QLatin1String(kLockFileName); }
    QString preferencesFile() const { return path("home/Documents/Varkel/Tessaline/preferences.dat"); }
    // The settings store, which holds the unclean-shutdown mark.
    QString settingsFile() const { return path("home/.config/VARKEL/Tessaline.conf"); }
    static QByteArray fileBytes(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // With |runtime| as the user's runtime folder; its error output is kept
    // for reading when asked.
    std::unique_ptr<QProcess> startProgram(const char *runtime = "runtime", bool keepErrors = false)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), path("home"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("home/.config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(runtime));
        environment.insert(QStringLiteral("TESSALINE_SENSOR_LIBRARY_DIR"), path("no-instruments"));
        environment.insert(QStringLiteral("TESSALINE_TIME_SCALE"), QStringLiteral("0.01"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(keepErrors ? QProcess::ForwardedOutputChannel : QProcess::ForwardedChannels);
        process->start(QStringLiteral(TESSALINE_PROGRAM), QStringList());
        return process;
    }

    // True while some process holds the program's lock.
    bool lockHeld() const
    {
        const int fd = ::open(QFile::encodeName(lockFile()).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        return held;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QDir root(m_root.path());
        QVERIFY(root.mkpath(QStringLiteral("home/.config")));
        QVERIFY(root.mkpath(QStringLiteral("no-instruments")));
        QVERIFY(root.mkdir(QStringLiteral("runtime")));
        QVERIFY(QFile::setPermissions(path("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                          | QFileDevice::ExeOwner));
    }

    void second_instance_exits_and_a_crash_frees_the_lock()
    {
        std::unique_ptr<QProcess> first = startProgram();
        QVERIFY(first->waitForStarted(kWaitMs));
        QVERIFY(QTest::qWaitFor([&] { return lockHeld(); }, kWaitMs));

        std::unique_ptr<QProcess> second = startProgram();
        QVERIFY(second->waitForFinished(kWaitMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        // Only a program that ends writes its preferences; the second never got that far.
        QVERIFY(!QFile::exists(preferencesFile()));
        QCOMPARE(first->state(), QProcess::Running);

        first->kill();
        QVERIFY(first->waitForFinished(kWaitMs));
        QVERIFY(!lockHeld());

        std::unique_ptr<QProcess> third = startProgram();
        QVERIFY(third->waitForStarted(kWaitMs));
        QVERIFY(QTest::qWaitFor([&] { return lockHeld(); }, kWaitMs));
        QVERIFY(!third->waitForFinished(500));
        QCOMPARE(third->state(), QProcess::Running);
        third->kill();
        QVERIFY(third->waitForFinished(kWaitMs));
    }

    void lock_that_cannot_be_taken_stops_the_program_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a folder at the lock file's path") << "folder";
        QTest::newRow("a runtime folder the user cannot write") << "read-only";
    }

    // Not knowing whether another copy runs, the program says why and ends
    // before it touches the preferences, the backups or the settings store.
    void lock_that_cannot_be_taken_stops_the_program()
    {
        QFETCH(QString, damage);
        const QString runtime = path("blocked-runtime");
        QVERIFY(QDir().mkpath(runtime));
        if (damage == QLatin1String("folder")) {
            QVERIFY(QDir(runtime).mkdir(QLatin1String(kLockFileName)));
            QVERIFY(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                       | QFileDevice::ExeOwner));
        } else {
            // The superuser writes anywhere.
            if (::geteuid() == 0)
                QSKIP("running as root");
            QVERIFY(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }

        const QByteArray settingsBefore = fileBytes(settingsFile());
        std::unique_ptr<QProcess> blocked = startProgram("blocked-runtime", true);
        QVERIFY(blocked->waitForFinished(kWaitMs));
        QCOMPARE(blocked->exitStatus(), QProcess::NormalExit);
        QCOMPARE(blocked->exitCode(), 1);
        const QString errors = QString::fromLocal8Bit(blocked->readAllStandardError());
        QVERIFY2(errors.contains(QStringLiteral("cannot make sure that it is the only copy running")),
                 qPrintable(errors));
        QVERIFY2(errors.contains(runtime + QLatin1Char('/') + QLatin1String(kLockFileName)), qPrintable(errors));
        QVERIFY(!QFile::exists(preferencesFile()));
        QCOMPARE(fileBytes(settingsFile()), settingsBefore);

        QVERIFY(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ExeOwner));
        QVERIFY(QDir(runtime).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(tst_single_instance)
#include "tst_single_instance.moc"
