#pragma once

#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>

// Watches the operation progress dialogs a command runs modally: keeps the
// operation's title, and closes a dialog still open after |patience_ms| (a
// job failed and the dialog waits for the operator), so that the test fails
// on the job's result instead of hanging. Lives on the test's stack.
class progress_dialog_watch
{
public:
    explicit progress_dialog_watch(int patience_ms = 20000) : m_patienceMs(patience_ms)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { look(); });
        m_poll.start(5);
    }

    QString title() const { return m_title; }
    int closed_by_watch() const { return m_closed; }

private:
    void look()
    {
        auto *dialog = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            m_seen = nullptr;
            return;
        }
        if (dialog != m_seen) {
            m_seen = dialog;
            m_open.start();
        }
        if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("instruction_label")))
            m_title = label->text();
        if (m_open.elapsed() > m_patienceMs) {
            ++m_closed;
            dialog->reject(); // cancels what still runs, or closes
            m_open.start();
        }
    }

    int m_patienceMs;
    QTimer m_poll;
    QElapsedTimer m_open;
    KQ_multithreaded_operation_progress_dialog *m_seen = nullptr;
    QString m_title;
    int m_closed = 0;
};
