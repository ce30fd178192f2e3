#include "app/services/frame_pacer.h"

#include <limits>

frame_pacer::frame_pacer(std::function<void(int key)> deliver, QObject *parent)
    : QObject(parent), m_deliver(std::move(deliver))
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &frame_pacer::deliver_due);
}

void frame_pacer::request(int key)
{
    const auto last = m_last_ms.constFind(key);
    if (last == m_last_ms.cend() || m_clock.elapsed() - last.value() >= kFrameMs) {
        m_held.remove(key);
        deliver(key);
        return;
    }
    m_held.insert(key);
    schedule();
}

void frame_pacer::flush(int key)
{
    if (m_held.remove(key))
        deliver(key);
    schedule();
}

void frame_pacer::deliver(int key)
{
    m_last_ms.insert(key, m_clock.elapsed());
    m_deliver(key);
}

// One pass over every key whose frame has ended.
void frame_pacer::deliver_due()
{
    const qint64 now = m_clock.elapsed();
    QList<int> due;
    for (int key : qAsConst(m_held)) {
        if (now - m_last_ms.value(key) >= kFrameMs)
            due << key;
    }
    for (int key : due) {
        m_held.remove(key);
        deliver(key);
    }
    schedule();
}

void frame_pacer::schedule()
{
    if (m_held.isEmpty()) {
        m_timer.stop();
        return;
    }
    qint64 next = std::numeric_limits<qint64>::max();
    for (int key : qAsConst(m_held))
        next = qMin(next, m_last_ms.value(key) + kFrameMs);
    const int wait = int(qMax<qint64>(0, next - m_clock.elapsed()));
    if (!m_timer.isActive() || m_timer.remainingTime() > wait)
        m_timer.start(wait);
}
