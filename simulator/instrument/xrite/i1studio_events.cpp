#include "simulator/instrument/xrite/i1studio_events.h"

#include "simulator/instrument/family_instrument.h"

i1studio_events::~i1studio_events()
{
    stop();
}

void i1studio_events::start(i1studio_event_callback callback, void *context)
{
    stop();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_callback = callback;
    m_context = context;
    m_stopping = false;
    m_thread = std::thread(&i1studio_events::run, this);
}

void i1studio_events::stop()
{
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
        m_callback = nullptr;
        m_context = nullptr;
        finished = std::move(m_thread);
    }
    m_wake.notify_all();
    if (finished.joinable())
        finished.join();
}

void i1studio_events::post(int event, int value)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_callback)
            return;
        m_queue.emplace_back(event, value);
    }
    m_wake.notify_all();
}

void i1studio_events::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::pair<int, int> event = m_queue.front();
        m_queue.pop_front();
        const i1studio_event_callback callback = m_callback;
        void *const context = m_context;
        lock.unlock();
        // stop() waits for this call to return before it does.
        callback(context, event.first, event.second);
        family_instrument().log_call(QStringLiteral("event callback"), QJsonArray{event.first, event.second}, 0);
        lock.lock();
    }
}
