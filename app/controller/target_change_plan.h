#pragma once

#include <QList>

class CAdjustValue;
class CMonitorTracker;
class CTargetValue;
class layout_manager;

// What replacing the calibration target means for the displays calibrated to
// the old one: those whose lookup-table calibration can be restored and then
// follows the new curve, and those that must be calibrated again. Enabled
// displays only, in layout order.
struct target_change_plan
{
    QList<int> restore;
    QList<int> recalibrate;
};

// Gain calibrations always need recalibrating. A lookup-table calibration is
// restored when only the tone curve changes, except on an internal-engine
// display whose contrast is built in: there the new curve must be native or
// keep the old contrast ratio.
target_change_plan plan_target_change(const CTargetValue &old_target, const CTargetValue &new_target,
                                      layout_manager &layout);

// Forgets the last calibration's results in |record|: its date-time (so the
// display counts as uncalibrated), the measurements taken after correcting,
// the time and operating hours it took, the calibrated flag and the sensor
// that did it. The settings it chose and the measurements before correction
// stay.
void clear_calibration_results(CAdjustValue &record);

// clear_calibration_results on the record of each display at |indexes|;
// indexes without an item or a record are passed over.
void reset_calibration_records(const layout_manager &layout, CMonitorTracker &records, const QList<int> &indexes);

// What the maximum-matching luminance recomputation does with a computed
// value (-1 when the computation failed).
enum class max_matching_update {
    keep,  // nothing is stored
    store, // stored without a question
    ask,   // stored only when the operator agrees; then the calibrations go
};

// |stored| is the target's value (below 0: never computed). Without
// |ask_if_changed| the computed value is always stored, even a failure.
max_matching_update decide_max_matching_update(double stored, double computed, bool ask_if_changed,
                                               bool any_calibrated);
