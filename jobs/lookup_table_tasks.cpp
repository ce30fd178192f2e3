#include "jobs/lookup_table_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_control_lists.h"
#include "jobs/display_task_steps.h"
#include "jobs/job_task_type.h"

#include <QVector>

namespace {

constexpr int kUpdateSubSteps = 3;
constexpr int kReadTestEntries = 8;
constexpr int kTableReadFailed = -1021;

int update_through_engine(CPDLANConnectionObject &worker, const CTargetValue &target, monitor_tracker_item &record)
{
    if (const int status = upload_engine_tone_curve(worker, target, record))
        return status;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    worker.report_step(QString());
    control_list_inputs inputs;
    if (const int status = run_control_rows(worker, display_control_lists::engine_back_to_work(), inputs, false))
        return status;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    if (const int status = worker.link().save_current_settings())
        return status;
    store_display_record(record);
    return 0;
}

int update_table(CPDLANConnectionObject &worker, const CTargetValue &target, monitor_tracker_item &record)
{
    // A calibration held in the gains has no table.
    if (record.calibration_mode != CAdjustValue::kModeGains) {
        worker.report_step(QString());
        const int gamma_table = display_task_preferences::current().programmable_gamma_number;
        if (const int status = upload_calibration_table(worker, record, target, gamma_table))
            return status;
        if (const int status = pattern_off_unless_stopped(worker))
            return status;
    }
    if (const int status = worker.link().save_current_settings())
        return status;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    store_display_record(record);
    return 0;
}

} // namespace

int update_luts(CPDLANConnectionObject &worker)
{
    if (const int status = identify_when_needed(worker))
        return status;
    worker.report_step(CPDLANConnectionObject::tr("Updating LUTs"));
    worker.report_sub_step(0, kUpdateSubSteps, QString());
    monitor_tracker_item record;
    if (!load_display_record(worker.job(), record, false) || record.GetCalibrationDateTime().isNull())
        return 0;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    worker.report_sub_step(1, kUpdateSubSteps, QString());
    worker.report_step(QString());
    const CTargetValue target = current_target();
    return record.engine_calibrated_word != 0 ? update_through_engine(worker, target, record)
                                              : update_table(worker, target, record);
}

int initialize_and_update_luts(CPDLANConnectionObject &worker)
{
    worker.report_step(CPDLANConnectionObject::tr("Initializing display"));
    if (const int status = switch_display_on(worker))
        return status;
    if (const int status = switch_engine_off_where_present(worker))
        return status;
    worker.report_step(CPDLANConnectionObject::tr("Initializing display"));
    control_list_inputs inputs;
    if (const int status = run_control_rows(worker, display_control_lists::picture_for_test_table(), inputs, true))
        return status;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    worker.report_step(CPDLANConnectionObject::tr("Updating LUTs"));
    basic_monitor &link = worker.link();
    QVector<int> table;
    if (const int status = link.build_lut_from_calibration_ex(worker.job().lut_kind, table))
        return status;
    if (const int status = link.upload_lut(table, display_task_preferences::current().programmable_gamma_number))
        return status;
    worker.report_step(QString());
    return 0;
}

int lut_read_test(CPDLANConnectionObject &worker)
{
    if (const int status = identify_when_needed(worker))
        return status;
    worker.report_step(CPDLANConnectionObject::tr("Testing LUT Read..."));
    QVector<int> values;
    const int status = worker.link().read_lut_block(0, kReadTestEntries, values);
    worker.report_step(QString());
    return status != 0 ? kTableReadFailed : 0;
}
