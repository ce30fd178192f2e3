#include "views/docks/status_operations_rules.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "jobs/job_task_type.h"
#include "views/docks/apply_to_scope.h"

#include <QCoreApplication>

namespace {

constexpr bool kEnabledOnly = true;
constexpr int kAskResetAllCalibrationId = 708;
constexpr int kAskResetSelectedCalibrationId = 709;
constexpr int kAskResetAllMeasurementsId = 710;
constexpr int kAskResetSelectedMeasurementsId = 711;

QList<int> reset_positions(const layout_manager &layout, int current, bool apply_to_all)
{
    if (!apply_to_all)
        return {current};
    QList<int> all;
    for (int index = 0; index < layout.item_count(); ++index)
        all.append(index);
    return all;
}

} // namespace

status_operations_enabling status_operations_enabling_for(const layout_manager &layout,
                                                          const CMonitorTracker &records, int current,
                                                          bool apply_to_all)
{
    scope_flags calibrated;
    scope_flags measured;
    for (int index = 0; index < layout.item_count(); ++index) {
        display_layout_item item;
        CAdjustValue record;
        if (layout.get_item(index, item) != 0 || item.verify_status == display_layout_item::kNotVerified
            || !item.enabled || item.id_conflict || !look_up_display_record(records, item, record))
            continue;
        if (!record.GetCalibrationDateTime().isNull())
            calibrated.note(index == current);
        if (!record.measurements.measurement_date_time.isNull())
            measured.note(index == current);
    }
    status_operations_enabling enabling;
    enabling.restore_calibration = calibrated.holds(apply_to_all);
    enabling.reset_calibration = calibrated.holds(apply_to_all);
    enabling.reset_measurements = measured.holds(apply_to_all);
    return enabling;
}

record_reset_plan calibration_reset_plan(const layout_manager &layout, int current, bool apply_to_all)
{
    record_reset_plan plan;
    plan.question_id = apply_to_all ? kAskResetAllCalibrationId : kAskResetSelectedCalibrationId;
    plan.positions = reset_positions(layout, current, apply_to_all);
    plan.variant = apply_to_all ? kRecordReset : kSelectedRecordReset;
    return plan;
}

record_reset_plan measurement_reset_plan(const layout_manager &layout, int current, bool apply_to_all)
{
    record_reset_plan plan;
    plan.question_id = apply_to_all ? kAskResetAllMeasurementsId : kAskResetSelectedMeasurementsId;
    plan.positions = reset_positions(layout, current, apply_to_all);
    plan.variant = kMeasurementReset;
    return plan;
}

job_set restore_calibration_job_set(layout_manager &layout, int current, bool apply_to_all)
{
    constexpr bool kWholeWall = false;
    job_set set;
    set.positions = in_scope(layout.get_calibrated_display_indexes(kWholeWall, kEnabledOnly), current, apply_to_all);
    set.job_template.task_list = {JOB_TASK_RESTORE_CALIBRATION_SETTINGS};
    set.per_display = true;
    set.text = QCoreApplication::translate("KQ_status_operations_widget", "Restoring calibration settings");
    return set;
}
