#include "wait_service.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wait_service {
namespace {

double scale_from_environment()
{
    const char *text = std::getenv("TESSALINE_TIME_SCALE");
    if (!text || !*text)
        return 1.0;
    char *end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value < 0.0)
        return 1.0;
    return value;
}

std::atomic<double> &scale_value()
{
    static std::atomic<double> value(scale_from_environment());
    return value;
}

constexpr qint64 kCeilingMs = 24 * 60 * 60 * 1000;
// A simulated display thread starved for a while on a machine whose every
// core is busy usually still answers within this.
constexpr qint64 kDefaultFloorMs = 100;
std::atomic<qint64> g_floorMs{kDefaultFloorMs};
std::atomic<qint64> g_nominalWaitedMs{0};
// A stop is seen within this much of a stoppable wait (nominal).
constexpr qint64 kStopCheckSliceMs = 100;

} // namespace

void set_time_scale(double scale)
{
    if (std::isfinite(scale) && scale >= 0.0)
        scale_value().store(scale);
}

double time_scale()
{
    return scale_value().load();
}

qint64 scaled_ms(qint64 ms)
{
    if (ms <= 0)
        return 0;
    const double scaled = std::ceil(static_cast<double>(ms) * time_scale());
    if (scaled >= 9.0e15)
        return static_cast<qint64>(9.0e15);
    return static_cast<qint64>(scaled);
}

int io_timeout_ms(qint64 ms)
{
    return static_cast<int>(std::clamp(scaled_ms(ms), g_floorMs.load(), kCeilingMs));
}

void set_io_timeout_floor_ms(qint64 ms)
{
    if (ms >= 1 && ms <= kCeilingMs)
        g_floorMs.store(ms);
}

int timer_interval_ms(qint64 ms)
{
    return static_cast<int>(std::clamp<qint64>(scaled_ms(ms), 1, kCeilingMs));
}

qint64 nominal_ms_waited()
{
    return g_nominalWaitedMs.load();
}

void count_wait(qint64 ms)
{
    if (ms > 0)
        g_nominalWaitedMs.fetch_add(ms);
}

void sleep_ms(qint64 ms)
{
    count_wait(ms);
    const qint64 real = scaled_ms(ms);
    if (real > 0)
        QThread::msleep(static_cast<unsigned long>(real));
}

bool sleep_ms_unless(qint64 ms, const std::atomic<bool> &stop)
{
    for (qint64 left = ms; left > 0; left -= kStopCheckSliceMs) {
        if (stop.load())
            return false;
        sleep_ms(qMin(left, kStopCheckSliceMs));
    }
    return !stop.load();
}

void wait_processing_events(qint64 ms)
{
    count_wait(ms);
    QDeadlineTimer deadline(scaled_ms(ms));
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents,
                                        static_cast<int>(qMin<qint64>(deadline.remainingTime(), 10)));
        if (!deadline.hasExpired())
            QThread::msleep(static_cast<unsigned long>(qMin<qint64>(deadline.remainingTime(), 1)));
    } while (!deadline.hasExpired());
}

} // namespace wait_service
