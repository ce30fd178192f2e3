#pragma once

#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"

class CPDLANConnectionObject;
struct display_task_preferences;

// Steps that several display tasks take in the same way.

// Identifies the display unless the job did already; on failure the job's
// verify_status becomes 2 and the read error is returned.
int identify_when_needed(CPDLANConnectionObject &worker);

// What switch_display_on does when the display refuses to be switched on.
enum class refused_power_on { fails, goes_on };
// Reads the power state (a read error is returned) and, when the display is
// not on, switches it on and gives it ten seconds (reporting the time left;
// JOB_RESULT_STOPPED when the job is stopped meanwhile). A refused switch
// is returned, or passed over without the wait.
int switch_display_on(CPDLANConnectionObject &worker, refused_power_on refused = refused_power_on::fails);
// The same for a display whose power state |state| was just read.
int switch_on_from(CPDLANConnectionObject &worker, quint8 state,
                   refused_power_on refused = refused_power_on::fails);

// Where the display has the internal calibration engine, switches it on
// when the preferences calibrate through it (lookup-table method with the
// engine allowed), else off; |in_use| tells whether it is on. A failed
// switch is returned. Without the engine nothing is written.
int switch_engine_as_preferred(CPDLANConnectionObject &worker, const display_task_preferences &preferences,
                               bool &in_use);
// Switches the engine off where the display has one; a failure is returned.
int switch_engine_off_where_present(CPDLANConnectionObject &worker);

// Gives the engine the target's tone curve (engine_tone_curve) as its
// short table.
int upload_engine_tone_curve(CPDLANConnectionObject &worker, const CTargetValue &target, const CAdjustValue &record);
// The same, only when the engine's setting for the target asks for the
// table (engine_tone_for_target); 0 when it does not.
int upload_engine_tone_curve_when_asked(CPDLANConnectionObject &worker, const CTargetValue &target,
                                        const CAdjustValue &record);

// Rebuilds the record's target and correction curves for |target| (unless
// its tone curve is native), builds the lookup table from record and target
// and uploads it into the programmable gamma table |gamma_table_number|.
// Curve and link errors are returned.
int upload_calibration_table(CPDLANConnectionObject &worker, CAdjustValue &record, const CTargetValue &target,
                             int gamma_table_number);
// Switches the test pattern off, so that the display shows its input
// through the new settings; nothing once the job is stopped.
int pattern_off_unless_stopped(CPDLANConnectionObject &worker);
