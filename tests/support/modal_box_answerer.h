#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <functional>

// Answers the modal message boxes that the code under test opens, one
// scripted button per box in order, and records every box it saw. A box
// beyond the script is closed through its escape button (or rejected) and
// recorded as unexpected. Lives on the test's stack while the code runs.
//
//   modal_box_answerer boxes({QMessageBox::Yes, QMessageBox::Cancel});
//   window.start_check_calibration_sensor();
//   QCOMPARE(boxes.seen().size(), 2);
class modal_box_answerer : public QObject
{
public:
    struct seen_box
    {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton default_button = QMessageBox::NoButton;
        bool expected = true;
    };

    explicit modal_box_answerer(QList<QMessageBox::StandardButton> answers = {}) : m_answers(std::move(answers))
    {
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { answerActiveBox(); });
        m_poll.start(2);
    }
    // A last resort against a test that hangs on a box nobody answers: only
    // acts on a box that has stayed open for |patience_ms|, closing it (and
    // counting it as unexpected) unless |answers| says otherwise.
    modal_box_answerer(QList<QMessageBox::StandardButton> answers, int patience_ms)
        : m_answers(std::move(answers)), m_patienceMs(patience_ms)
    {
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { answerActiveBox(); });
        m_poll.start(2);
    }

    void add_answer(QMessageBox::StandardButton answer) { m_answers.append(answer); }
    // Runs with the number of the box (0-based) before it is answered.
    void set_before_answer(std::function<void(int)> hook) { m_beforeAnswer = std::move(hook); }

    const QList<seen_box> &seen() const { return m_seen; }
    QStringList texts() const
    {
        QStringList texts;
        for (const seen_box &box : m_seen)
            texts.append(box.text);
        return texts;
    }
    int unexpected() const
    {
        int count = 0;
        for (const seen_box &box : m_seen)
            count += box.expected ? 0 : 1;
        return count;
    }

private:
    void answerActiveBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (m_patienceMs > 0) {
            if (box != m_waitingFor) {
                m_waitingFor = box;
                m_waited.start();
            }
            if (m_waited.elapsed() < m_patienceMs)
                return;
            m_waitingFor = nullptr;
            qWarning("closing a message box that nobody answered: %s", qPrintable(box->text()));
        }
        seen_box seen;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        if (box->defaultButton())
            seen.default_button = box->standardButton(box->defaultButton());
        seen.expected = m_seen.size() < m_answers.size();
        const int index = m_seen.size();
        m_seen.append(seen);
        if (m_beforeAnswer)
            m_beforeAnswer(index);
        if (!seen.expected) {
            if (box->escapeButton())
                box->escapeButton()->click();
            else
                box->reject();
            return;
        }
        if (QAbstractButton *button = box->button(m_answers.at(index)))
            button->click();
        else
            box->reject();
    }

    QList<QMessageBox::StandardButton> m_answers;
    std::function<void(int)> m_beforeAnswer;
    QList<seen_box> m_seen;
    QTimer m_poll;
    int m_patienceMs = 0;
    QMessageBox *m_waitingFor = nullptr;
    QElapsedTimer m_waited;
};
