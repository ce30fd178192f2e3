#include "views/docks/test_pattern_rules.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "jobs/job_task_type.h"
#include "views/docks/apply_to_scope.h"

#include <QCoreApplication>

namespace {

constexpr bool kEnabledOnly = true;

} // namespace

test_pattern_enabling test_pattern_enabling_for(const layout_manager &layout, const CMonitorTracker &records,
                                                int current, bool apply_to_all)
{
    scope_flags display;
    scope_flags lookup_table;
    scope_flags trimmed;
    for (int index = 0; index < layout.item_count(); ++index) {
        display_layout_item item;
        if (layout.get_item(index, item) != 0 || !item.enabled || item.verify_status == display_layout_item::kNotVerified)
            continue;
        const bool is_current = index == current;
        display.note(is_current);
        CAdjustValue record;
        if (!look_up_display_record(records, item, record) || record.GetCalibrationDateTime().isNull()
            || record.calibration_mode != CAdjustValue::kModeLookupTable)
            continue;
        lookup_table.note(is_current);
        if (record.visual_trim_flags != 0)
            trimmed.note(is_current);
    }
    test_pattern_enabling enabling;
    enabling.off = display.holds(apply_to_all);
    enabling.full_white = display.holds(apply_to_all);
    enabling.calibrated = lookup_table.holds(apply_to_all);
    enabling.calibrated_with_trim = trimmed.holds(apply_to_all);
    return enabling;
}

job_set test_pattern_job_set(layout_manager &layout, int current, int pattern, bool apply_to_all)
{
    constexpr bool kWholeWall = false;
    job_set set;
    const bool calibrated = pattern == kPatternCalibrated || pattern == kPatternCalibratedTrim;
    set.positions = in_scope(calibrated ? layout.get_calibrated_display_indexes_by_mode(
                                              CAdjustValue::kModeLookupTable, kWholeWall, kEnabledOnly)
                                        : layout.get_display_indexes(kWholeWall, kEnabledOnly),
                             current, apply_to_all);
    set.job_template.task_list = {JOB_TASK_TEST_PATTERNS};
    set.job_template.test_pattern_mode = pattern;
    set.text = QCoreApplication::translate("KQ_display_test_pattern_widget", "Setting Test Patterns");
    return set;
}

bool shows_evaluation_pattern(int pattern)
{
    return pattern == kPatternCalibratedTrim;
}
