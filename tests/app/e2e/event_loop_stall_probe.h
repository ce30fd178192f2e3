#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

// How late a fast timer of the calling thread's event loop runs: each tick's
// delay beyond its interval is one stall. A figure to print, never to assert.
class event_loop_stall_probe
{
public:
    static constexpr int kTickMs = 5;

    event_loop_stall_probe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_lateness_ms.push_back(double(now - m_last) / 1e6 - kTickMs);
            m_last = now;
        });
    }
    void start()
    {
        m_lateness_ms.clear();
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    // The lateness below which a fraction |p| of the ticks stayed (1.0: the longest stall).
    double percentile(double p) const
    {
        if (m_lateness_ms.empty())
            return 0.0;
        std::vector<double> sorted = m_lateness_ms;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t rank = std::size_t(std::ceil(p * double(sorted.size())));
        const std::size_t index = std::min(sorted.size() - 1, rank > 0 ? rank - 1 : 0);
        return std::max(0.0, sorted[index]);
    }
    double longest() const { return percentile(1.0); }
    std::size_t ticks() const { return m_lateness_ms.size(); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<double> m_lateness_ms;
};
