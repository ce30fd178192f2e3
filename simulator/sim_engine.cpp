#include "simulator/sim_engine.h"

namespace {

// The stage numbers and stage counts each procedure reports in its progress.
struct procedure_shape
{
    quint16 procedure;
    quint8 stage_count;
    quint8 first_busy_stage, measure_stage, last_busy_stage;
    bool waits_for_resume_first;    // reset: waits to be resumed after preparing
    bool resume_after_measurement;  // update: each measurement is followed by a resume
};

const procedure_shape kShapes[] = {
    {sim_engine::kUpdateCalibration, 4, 1, 2, 3, false, true},
    {sim_engine::kMeasurement, 3, 1, 2, 2, false, false},
    {sim_engine::kResetSettings, 2, 1, 0, 2, true, false},
};

const procedure_shape *shape_of(quint16 procedure)
{
    for (const procedure_shape &s : kShapes) {
        if (s.procedure == procedure)
            return &s;
    }
    return nullptr;
}

} // namespace

bool sim_engine::select(quint16 value)
{
    if (running())
        return false;
    if (value != kNoProcedure && !shape_of(value))
        return false;
    m_procedure = value;
    if (value == kNoProcedure) {
        m_state = kIdle;
        m_steps.clear();
        m_step = -1;
    }
    return true;
}

void sim_engine::build_steps()
{
    m_steps.clear();
    const procedure_shape *shape = shape_of(m_procedure);
    if (!shape)
        return;
    m_stage_count = shape->stage_count;
    const int busy = qMax(1, config.busy_polls);
    for (int i = 0; i < busy; ++i)
        m_steps.append({kBusy, shape->first_busy_stage, 0, kOnPoll});
    if (shape->waits_for_resume_first)
        m_steps.append({kWaitingForResume, shape->first_busy_stage, 0, kOnResume});
    if (shape->measure_stage) {
        for (int p = 1; p <= config.positions; ++p) {
            m_steps.append({kMeasurementWanted, shape->measure_stage, static_cast<quint8>(p), kOnMeasurement});
            if (!shape->resume_after_measurement)
                continue;
            m_steps.append({kWaitingForResume, shape->measure_stage, static_cast<quint8>(p), kOnResume});
            // The update works on each reading before it asks for the next.
            for (int i = 0; p < config.positions && i < busy; ++i)
                m_steps.append({kBusy, shape->measure_stage, static_cast<quint8>(p), kOnPoll});
        }
    }
    for (int i = 0; i < busy; ++i)
        m_steps.append({kBusy, shape->last_busy_stage, 0, kOnPoll});
    m_steps.append({kMeasuringFinished, shape->last_busy_stage, 0, kOnResume});
}

void sim_engine::enter(int index)
{
    m_step = index;
    if (m_step >= m_steps.size()) {
        finish();
        return;
    }
    m_state = m_steps.at(m_step).state;
}

void sim_engine::finish()
{
    m_state = kIdle;
    m_run = kFinished;
    m_step = -1;
    m_steps.clear();
    ++finished_runs;
    last_finished = m_procedure;
    if (m_procedure == kUpdateCalibration && panel)
        m_known = *panel;
}

void sim_engine::command_written(quint16 value)
{
    if (value == kStop) {
        if (running() || m_procedure != kNoProcedure) {
            m_state = kStopped;
            m_run = kAborted;
            m_starting = false;
            m_steps.clear();
            m_step = -1;
        }
        return;
    }
    if (value != kStartOrResume || m_procedure == kNoProcedure)
        return;
    if (!running()) {
        build_steps();
        m_starting = true;
        m_start_polls_left = qMax(0, config.start_polls);
        m_run = kNeverRun;
        enter(0);
        if (m_start_polls_left == 0) {
            m_starting = false;
            m_run = kRunning;
        }
        return;
    }
    if (m_step >= 0 && m_step < m_steps.size() && m_steps.at(m_step).until == kOnResume)
        enter(m_step + 1);
}

void sim_engine::poll()
{
    if (m_starting && --m_start_polls_left <= 0) {
        m_starting = false;
        m_run = kRunning;
    }
    if (m_step < 0 || m_step >= m_steps.size() || m_steps.at(m_step).until != kOnPoll)
        return;
    if (!config.never_finishes)
        enter(m_step + 1);
}

bool sim_engine::measurement(const std::array<quint32, 3> &xyz)
{
    if (m_step < 0 || m_step >= m_steps.size() || m_steps.at(m_step).until != kOnMeasurement)
        return false;
    measurements.append(xyz);
    enter(m_step + 1);
    return true;
}

quint16 sim_engine::progress_current() const
{
    if (m_step < 0 || m_step >= m_steps.size())
        return m_run == kFinished ? static_cast<quint16>(m_stage_count << 8) : 0;
    const step &s = m_steps.at(m_step);
    return static_cast<quint16>(s.stage << 8 | s.position);
}

quint16 sim_engine::progress_max() const
{
    return static_cast<quint16>(m_stage_count << 8 | qBound(0, config.positions, 0xFF));
}
