#include "jobs/engine_procedure.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/link_status.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/job_task_type.h"
#include "jobs/task_result_codes.h"

#include <cmath>
#include <limits>

namespace {

enum engine_command : int { kStartOrResume = 1, kStop = 2 };
enum run_status : int { kRunFinished = 1, kRunRunning = 2, kRunAborted = 3 };
constexpr int kLeaveProcedure = 0;
constexpr int kBusyPollsAllowed = 20;
constexpr uint kBusyPauseMs = 1000;

quint32 thousandths(double value)
{
    constexpr double kMaximum = double(std::numeric_limits<quint32>::max());
    if (!std::isfinite(value) || value <= 0.0)
        return 0;
    const double counts = std::round(value * 1000.0);
    return counts >= kMaximum ? std::numeric_limits<quint32>::max() : static_cast<quint32>(counts);
}

} // namespace

std::array<quint32, 3> engine_measurement_counts(const CCIEXYZ &reading)
{
    return {{thousandths(reading.X), thousandths(reading.Y), thousandths(reading.Z)}};
}

engine_procedure::engine_procedure(CPDLANConnectionObject &worker) : m_worker(worker), m_link(worker.link()) {}

int engine_procedure::select(int procedure)
{
    const int status = m_link.set_vcp_1017(procedure);
    return status == link_status::kRefused ? task_result::kProcedureRefused : status;
}

int engine_procedure::start()
{
    m_worker.wait_until_ready();
    if (const int status = m_link.set_vcp_1018(kStartOrResume))
        return status;
    uint run = 0;
    if (const int status = m_link.wait_for_vcp_2aa(run, kRunRunning))
        return stop_with(status);
    return 0;
}

int engine_procedure::stop_with(int status)
{
    m_link.set_vcp_1018(kStop);
    return status;
}

// The state first: the progress read after it belongs to it.
int engine_procedure::poll(progress &now)
{
    int state = 0, max = 0;
    if (const int status = m_link.get_vcp_1018(state, max))
        return status;
    quint8 stage = 0, position = 0, stage_count = 0, position_count = 0;
    if (const int status = m_link.get_vcp_11c5(stage, position, stage_count, position_count))
        return status;
    now = progress{state, stage, position, stage_count, position_count};
    return 0;
}

int engine_procedure::follow(const hooks &task_hooks)
{
    int previous_state = -1;
    int busy_polls = 0;
    for (;;) {
        if (m_worker.stop_requested())
            return abandon();
        progress now;
        if (const int status = poll(now))
            return stop_with(status);
        m_last = now;
        if (task_hooks.report)
            task_hooks.report(now);
        const int before = previous_state;
        previous_state = now.state;
        if (now.state != before)
            busy_polls = 0;
        switch (now.state) {
        case kBusy:
            if (before == kBusy)
                ++busy_polls;
            if (const int status = wait_while_busy(busy_polls))
                return status;
            break;
        case kWaitingForResume:
            if (const int status = resume())
                return stop_with(status);
            break;
        case kMeasurementWanted:
            if (!task_hooks.measurement_wanted)
                return 0;
            if (task_hooks.one_measurement_per_request && before == kMeasurementWanted) {
                if (const int status = wait_while_busy(++busy_polls))
                    return status;
                break;
            }
            if (const int status = task_hooks.measurement_wanted(now))
                return stop_with(status);
            break;
        case kMeasuringFinished:
            if (const int status = resume())
                return stop_with(status);
            if (task_hooks.measuring_finished)
                task_hooks.measuring_finished(now);
            return 0;
        default:
            return 0;
        }
    }
}

int engine_procedure::wait_while_busy(int busy_polls)
{
    // A stop that came while the engine was polled wins over giving up.
    if (busy_polls > kBusyPollsAllowed)
        return m_worker.stop_requested() ? abandon() : stop_with(task_result::kEngineBusyTooLong);
    m_link.pause(kBusyPauseMs);
    return 0;
}

// A stop of the job: the engine stops and the procedure is left.
int engine_procedure::abandon()
{
    stop_with(0);
    m_worker.wait_until_ready();
    uint run = 0;
    m_link.wait_for_vcp_2aa(run, kRunAborted);
    if (m_link.set_vcp_1017(kLeaveProcedure) == 0)
        m_worker.wait_until_ready();
    return JOB_RESULT_STOPPED;
}

int engine_procedure::resume()
{
    return m_link.set_vcp_1018(kStartOrResume);
}

int engine_procedure::wait_finished()
{
    uint run = 0;
    if (const int status = m_link.wait_for_vcp_2aa(run, kRunFinished))
        return stop_with(status);
    return 0;
}

int engine_procedure::leave(bool wait_first)
{
    if (wait_first)
        m_worker.wait_until_ready();
    if (const int status = m_link.set_vcp_1017(kLeaveProcedure))
        return status;
    return m_worker.wait_until_ready();
}
