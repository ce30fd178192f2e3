#pragma once

#include "colour/colour_values.h"

#include <QtGlobal>

#include <array>
#include <functional>

class CPDLANConnectionObject;
class basic_monitor;

// A procedure of the display's internal calibration engine (update
// calibration, measurement, reset settings), which the display leads while
// the worker follows: the worker selects it (control 0x1017), starts it
// (0x1018), polls the engine's state and progress, resumes it where it
// waits, and leaves it again (0 to 0x1017). Every way out of a started
// procedure tells the engine to stop first (2 to 0x1018), except the normal
// end; a stop of the job also leaves the procedure, so that the display is
// never left in one.
class engine_procedure
{
public:
    enum procedure_code : int { kUpdateCalibration = 10, kMeasurement = 12, kResetSettings = 13 };
    enum state : int {
        kBusy = 1,
        kWaitingForResume = 4,
        kMeasurementWanted = 6,
        kMeasuringFinished = 7,
    };

    // One poll of the engine.
    struct progress
    {
        int state = 0;
        int stage = 0;
        int position = 0;
        int stage_count = 0;
        int position_count = 0;
    };

    // What a task adds to the polling loop.
    struct hooks
    {
        // After each poll.
        std::function<void(const progress &)> report;
        // State "measurement wanted": 0 or the error that ends the task.
        // Without it the state ends the loop.
        std::function<int(const progress &)> measurement_wanted;
        // One measurement per request: a request still standing at the next
        // poll was already answered, and is waited out like a busy engine.
        bool one_measurement_per_request = false;
        // State "measuring finished", after the engine was resumed.
        std::function<void(const progress &)> measuring_finished;
    };

    explicit engine_procedure(CPDLANConnectionObject &worker);

    // Selects the procedure; -1039 when the display refuses it.
    int select(int procedure);
    // Waits until the engine is ready, starts the procedure and waits until
    // it runs.
    int start();
    // Polls until the engine leaves its running states: 0 to go on with
    // finish, or the task's result: JOB_RESULT_STOPPED after a stop (the
    // procedure left), -1038 when it stays busy beyond 20 polls (the engine
    // told to stop first), or an
    // error of the display or of a hook.
    int follow(const hooks &task_hooks);
    // Waits until the engine reports the procedure finished; when it does
    // not, the engine is told to stop and the wait's error returned.
    int wait_finished();
    // Leaves the finished procedure: the error of the write, else the final
    // ready wait's result (0, or -1 when the engine never became ready).
    // With |wait_first| the engine must be ready before it is left.
    int leave(bool wait_first);
    // Resumes a procedure that waits.
    int resume();
    // Tells the engine to stop; returns |status|.
    int stop_with(int status);

    // The engine's last poll.
    const progress &last() const { return m_last; }

private:
    int poll(progress &now);
    // Pauses one poll, or gives up with -1038 after too many |busy_polls|
    // (polls that found the engine as the poll before).
    int wait_while_busy(int busy_polls);
    int abandon();

    CPDLANConnectionObject &m_worker;
    basic_monitor &m_link;
    progress m_last;
};

// The C258 form of a reading: X, Y and Z each an unsigned 32-bit count of
// thousandths of cd/m², rounded; negative or non-finite values are 0, larger
// ones capped.
std::array<quint32, 3> engine_measurement_counts(const CCIEXYZ &reading);
