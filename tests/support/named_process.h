#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

// A throw-away process that shows up under a chosen program name (as the
// instrument makers' utilities would), killed when the object goes.
class named_process
{
public:
    explicit named_process(const QString &name)
    {
        const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        m_process.start(QStringLiteral("/bin/bash"),
                        {QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" %1 120").arg(sleep), name});
        m_started = m_process.waitForStarted(5000);
    }
    ~named_process()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    named_process(const named_process &) = delete;
    named_process &operator=(const named_process &) = delete;

    bool started() const { return m_started; }
    bool running() { return m_process.state() == QProcess::Running && !m_process.waitForFinished(0); }
    // True once the process has ended (within |ms|).
    bool ended(int ms = 5000) { return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(ms); }

private:
    QProcess m_process;
    bool m_started = false;
};

// The utilities' program names are the same for every test run on the
// machine, and the program ends any process that carries one. Tests that
// start such processes, or run a program that looks for them, hold this
// lock so that two test runs never see each other's processes.
class utility_names_lock
{
public:
    utility_names_lock()
    {
        const QByteArray path =
            QFile::encodeName(QDir::tempPath() + QStringLiteral("/tessaline-test-utility-names.lock"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~utility_names_lock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    utility_names_lock(const utility_names_lock &) = delete;
    utility_names_lock &operator=(const utility_names_lock &) = delete;

    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
