#pragma once

#include <QList>

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
