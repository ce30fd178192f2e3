#pragma once

#include "app/controller/calibration_record_reset.h"
#include "jobs/job_set.h"

#include <QList>

class CMonitorTracker;
class layout_manager;

// The Reset/Restore dock without widgets.

struct status_operations_enabling
{
    bool restore_calibration = false;
    bool reset_calibration = false;
    bool reset_measurements = false;
};

// Counts the enabled, verified displays without an ID conflict that have a
// record: calibrated ones enable Restore and Reset Calibration, measured
// ones Reset Measurement.
status_operations_enabling status_operations_enabling_for(const layout_manager &layout,
                                                          const CMonitorTracker &records, int current,
                                                          bool apply_to_all);

// One of the dock's two resets: the question that asks for it, and what
// it clears where once the operator says Yes. The displays are fixed before
// the question, so the answer covers exactly the displays it was asked for.
struct record_reset_plan
{
    int question_id = 0;
    // Every display of the layout (whether enabled, verified or in conflict)
    // or the selected one.
    QList<int> positions;
    calibration_reset variant;
};

// Reset Calibration Data: the selected display also loses its gains.
record_reset_plan calibration_reset_plan(const layout_manager &layout, int current, bool apply_to_all);
record_reset_plan measurement_reset_plan(const layout_manager &layout, int current, bool apply_to_all);

// The calibrated displays' stored settings written back, each display with
// its own menu orientation.
job_set restore_calibration_job_set(layout_manager &layout, int current, bool apply_to_all);
