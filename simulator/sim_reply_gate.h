#pragma once

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

// Holds a reply back until a test opens the gate, so that the controller
// stays in a known wait however slowly the test's own thread runs. A gate
// nobody opens gives way after |kLimitMs|, so that a failed test cannot hang.
class sim_reply_gate
{
public:
    static constexpr int kLimitMs = 60000;

    void wait()
    {
        QMutexLocker lock(&m_mutex);
        const QDeadlineTimer limit(kLimitMs);
        while (!m_open && m_opened.wait(&m_mutex, limit)) {
        }
    }

    void open()
    {
        QMutexLocker lock(&m_mutex);
        m_open = true;
        m_opened.wakeAll();
    }

private:
    QMutex m_mutex;
    QWaitCondition m_opened;
    bool m_open = false;
};
