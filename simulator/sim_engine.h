#pragma once

#include "simulator/sim_panel.h"

#include <QList>
#include <QVector>
#include <QtGlobal>

#include <array>

// The internal calibration engine of a simulated display as a state
// machine. A procedure is selected (control 0x1017), started, resumed or
// stopped (writes to 0x1018) and observed through its state (0x1018), its
// run status (0x2AA) and its progress (0x11C5). Time passes in polls: every
// read of the state or the run status is one poll, so tests run as fast as
// the controller asks and never depend on wall-clock time.
class sim_engine
{
public:
    enum procedure : quint16 { kNoProcedure = 0, kUpdateCalibration = 10, kMeasurement = 12, kResetSettings = 13 };
    enum state : quint16 {
        kIdle = 0, kBusy = 1, kStopped = 3, kWaitingForResume = 4, kMeasurementWanted = 6, kMeasuringFinished = 7,
    };
    enum run_status : quint16 { kNeverRun = 0, kFinished = 1, kRunning = 2, kAborted = 3 };
    enum command : quint16 { kStartOrResume = 1, kStop = 2 };

    struct settings
    {
        int busy_polls = 2;         // polls each busy stretch lasts (at least 1)
        int start_polls = 1;        // polls before the run status reads "running"
        int positions = 3;          // measurements a procedure asks for
        bool never_finishes = false; // stays busy for ever once started
    };

    settings config;
    // The display's panel as it is now: its primaries are the native gamut
    // the display reports, and an update calibration takes it in. nullptr
    // leaves the engine with the design panel.
    const sim_panel *panel = nullptr;

    // False when |value| names no procedure or one is running: the display
    // refuses the selection.
    bool select(quint16 value);
    // A write to the state control.
    void command_written(quint16 value);
    // One poll (a read of the state or run status).
    void poll();
    // A measurement sent by the controller (X, Y, Z); false when none was wanted.
    bool measurement(const std::array<quint32, 3> &xyz);

    quint16 selected() const { return m_procedure; }
    quint16 state_value() const { return m_state; }
    quint16 run_value() const { return m_run; }
    quint16 progress_current() const;
    quint16 progress_max() const;
    bool running() const { return m_run == kRunning || m_starting; }

    QList<std::array<quint32, 3>> measurements;   // every measurement received
    int finished_runs = 0;
    // Set when a procedure completes; the display turns it into its own effects.
    quint16 last_finished = kNoProcedure;
    const sim_panel &known_panel() const { return m_known; }

private:
    enum advance : int { kOnPoll, kOnResume, kOnMeasurement };
    struct step
    {
        quint16 state;
        quint8 stage;
        quint8 position;
        advance until;
    };

    void build_steps();
    void enter(int index);
    void finish();

    quint16 m_procedure = kNoProcedure;
    quint16 m_state = kIdle;
    quint16 m_run = kNeverRun;
    bool m_starting = false;
    int m_start_polls_left = 0;
    QVector<step> m_steps;
    int m_step = -1;
    quint8 m_stage_count = 0;
    sim_panel m_known = sim_panel::nominal();
};
