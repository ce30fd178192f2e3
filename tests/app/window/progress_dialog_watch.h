#pragma once

#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

// Watches the operation progress dialogs a command runs modally: keeps the
// operation's title, and closes a dialog still open after |patience_ms| (a
// job failed and the dialog waits for the operator), so that the test fails
// on the job's result instead of hanging. The title is taken when the dialog
// is shown, so a dialog that opens and closes within one turn of the event
// loop is still seen. Lives on the test's stack.
class progress_dialog_watch : public QObject
{
public:
    explicit progress_dialog_watch(int patience_ms = 20000) : m_patienceMs(patience_ms)
    {
        qApp->installEventFilter(this);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { enforce_patience(); });
        m_poll.start(20);
    }
    ~progress_dialog_watch() override { qApp->removeEventFilter(this); }

    QString title() const { return m_title; }
    int closed_by_watch() const { return m_closed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(watched))
                shown(dialog);
        }
        return false;
    }

private:
    void shown(KQ_multithreaded_operation_progress_dialog *dialog)
    {
        m_seen = dialog;
        m_open.start();
        if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("instruction_label")))
            m_title = label->text();
    }

    void enforce_patience()
    {
        if (!m_seen || !m_seen->isVisible() || m_open.elapsed() <= m_patienceMs)
            return;
        ++m_closed;
        m_seen->reject(); // cancels what still runs, or closes
        m_open.start();
    }

    int m_patienceMs;
    QTimer m_poll;
    QElapsedTimer m_open;
    QPointer<KQ_multithreaded_operation_progress_dialog> m_seen;
    QString m_title;
    int m_closed = 0;
};
