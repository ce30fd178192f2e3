#include "app/controller/target_change_plan.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"

namespace {

constexpr bool kAllDisplays = false; // not just the selected one
constexpr bool kEnabledOnly = true;

} // namespace

target_change_plan plan_target_change(const CTargetValue &old_target, const CTargetValue &new_target,
                                      layout_manager &layout)
{
    target_change_plan plan;
    const QList<int> table_calibrated =
        layout.get_calibrated_display_indexes_by_mode(CAdjustValue::kModeLookupTable, kAllDisplays, kEnabledOnly);
    plan.recalibrate =
        layout.get_calibrated_display_indexes_by_mode(CAdjustValue::kModeGains, kAllDisplays, kEnabledOnly);
    const QList<int> engine_calibrated =
        layout.get_display_indexes_by_calibration_state(kAllDisplays, kEnabledOnly, false, true);

    const bool curve_only = new_target.MatchesExceptCurve(old_target);
    const bool contrast_kept = new_target.GetGammaType() == CTargetValue::kGammaNative
                               || new_target.GetContrastRatio() == old_target.GetContrastRatio();
    for (int index : table_calibrated) {
        const bool restorable = curve_only && (!engine_calibrated.contains(index) || contrast_kept);
        (restorable ? plan.restore : plan.recalibrate).append(index);
    }
    return plan;
}

max_matching_update decide_max_matching_update(double stored, double computed, bool ask_if_changed,
                                               bool any_calibrated)
{
    if (!ask_if_changed)
        return max_matching_update::store;
    if (stored > 0.0 && computed > 0.0 && computed != stored)
        return any_calibrated ? max_matching_update::ask : max_matching_update::store;
    if (stored < 0.0 && computed > 0.0)
        return max_matching_update::store;
    return max_matching_update::keep;
}
