#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <functional>

// Passes rapid changes on to the screen at most once per key (a display, or
// one key for a whole view) per frame interval. A change whose key was last
// passed on a frame or more ago is passed on at once, so a single change
// shows without delay; changes that follow within the frame are gathered and
// passed on once, together with every other key then due, at the frame's end.
// The receiver reads the latest state itself: the pacer only says when.
// Lives on the thread of its receiver.
class frame_pacer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kFrameMs = 33;

    explicit frame_pacer(std::function<void(int key)> deliver, QObject *parent = nullptr);

    // |key| changed.
    void request(int key);
    // Passes a held change of |key| on now (the end of a job must not wait).
    void flush(int key);

private:
    void deliver(int key);
    void deliver_due();
    void schedule();

    std::function<void(int)> m_deliver;
    QElapsedTimer m_clock;
    QHash<int, qint64> m_last_ms;   // key -> when it was last passed on
    QSet<int> m_held;               // keys with a change not yet passed on
    QTimer m_timer;
};
