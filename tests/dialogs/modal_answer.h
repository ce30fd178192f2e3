#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// The answers still waiting for their modal window.
inline QList<QPointer<QTimer>> &pending_modal_answers()
{
    static QList<QPointer<QTimer>> pending;
    return pending;
}

// For cleanup: an answer whose window never came must not act on the next test's.
inline void cancel_pending_modal_answers()
{
    for (const QPointer<QTimer> &poll : pending_modal_answers())
        delete poll.data();
    pending_modal_answers().clear();
}

// Acts on the next modal window of type |Modal| once it is shown, from the
// event loop that runs it: answers a message box, drives a nested dialog.
// Give up after |patience| polls so that a test whose modal never opens
// fails instead of hanging.
template <class Modal = QWidget>
void when_modal_shows(std::function<void(Modal *)> act, int patience = 2000)
{
    auto *poll = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, polls, patience] {
        auto *modal = qobject_cast<Modal *>(QApplication::activeModalWidget());
        if ((!modal || !modal->isVisible()) && ++*polls < patience)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal && modal->isVisible())
            act(modal);
    });
    pending_modal_answers().append(poll);
    poll->start(2);
}

// Presses |button| of the next message box; its text lands in |text| when given.
inline void answer_message_box(QMessageBox::StandardButton button, QString *text = nullptr)
{
    when_modal_shows<QMessageBox>([button, text](QMessageBox *box) {
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}
