#pragma once

#include "sensors/i1studio_api.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

// The simulated i1Studio library's event thread: it calls the registered
// callback for every event posted, in order, and never on the poster's
// thread, as the maker's library reports from its USB thread.
class i1studio_events
{
public:
    i1studio_events() = default;
    ~i1studio_events();
    i1studio_events(const i1studio_events &) = delete;
    i1studio_events &operator=(const i1studio_events &) = delete;

    // Starts delivering to |callback| (a running delivery stops first).
    void start(i1studio_event_callback callback, void *context);
    // Once it returns, the callback is not running and is not called again;
    // undelivered events are dropped.
    void stop();
    // Queued for the thread; dropped when no callback is registered.
    void post(int event, int value);

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<int, int>> m_queue;
    std::thread m_thread;
    bool m_stopping = false;
    i1studio_event_callback m_callback = nullptr;
    void *m_context = nullptr;
};
