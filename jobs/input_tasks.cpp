#include "jobs/input_tasks.h"

#include "app/services/string_resource.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_control_lists.h"
#include "jobs/display_task_steps.h"
#include "jobs/job_task_type.h"

namespace lists = display_control_lists;

namespace {

constexpr int kInputNameBase = 1200;
constexpr int kInputSettleMs = 5000;
constexpr int kLastFixedColorMode = 13;

QString input_name(qint32 input)
{
    return string_resource(kInputNameBase + input);
}

void note_unsupported_input(CPDLANConnectionObject &worker, qint32 input)
{
    worker.job().job_parameters.error_text +=
        CPDLANConnectionObject::tr("Input \"%1\" not supported. ").arg(input_name(input));
}

// Writes |input| and reads it back: whether the display shows it now.
bool switch_input(basic_monitor &link, qint32 input)
{
    uint written = static_cast<uint>(input);
    const int written_status = link.set_input_source(written);
    uint shown = 0;
    return link.get_input_source(shown) == 0 && written_status == 0 && shown == static_cast<uint>(input);
}

// The picture settings of one input that was just selected.
int apply_input_settings(CPDLANConnectionObject &worker, qint32 input, control_list_inputs &inputs)
{
    basic_monitor &link = worker.link();
    const QString name = input_name(input);
    if (inputs.record.engine_calibrated_word != 0) {
        worker.report_step(CPDLANConnectionObject::tr("Selecting Picture Modes for Input \"%1\"").arg(name));
        if (const int status = run_control_rows(worker, lists::engine_picture_mode(), inputs, true))
            return status;
        return link.save_current_settings();
    }
    worker.report_step(CPDLANConnectionObject::tr("Applying settings for Input \"%1\"").arg(name));
    if (const int status = run_control_rows(worker, lists::sensor_settings_from_record(), inputs, true))
        return status;
    if (inputs.record.calibration_mode == CAdjustValue::kModeGains) {
        if (const int status = run_control_rows(worker, lists::gains_from_record(), inputs, false))
            return status;
        worker.report_step(QString());
    } else {
        worker.report_step(QString());
        // A display that shows one of its further tables is kept on the one
        // the preferences name.
        int mode = 0, max = 0;
        const int gamma_table = inputs.preferences.programmable_gamma_number;
        if (link.get_vcp_268(mode, max) == 0 && mode > kLastFixedColorMode && gamma_table > 1) {
            if (const int status = link.set_vcp_268(basic_monitor::color_mode_for_gamma_table(gamma_table)))
                return status;
        }
    }
    return link.save_current_settings();
}

// Each input of the job in turn; the first error or a stop ends the loop.
int apply_to_each_input(CPDLANConnectionObject &worker, control_list_inputs &inputs)
{
    for (const qint32 input : worker.job().input_list) {
        if (worker.stop_requested())
            return JOB_RESULT_STOPPED;
        worker.report_step(CPDLANConnectionObject::tr("Selecting Input \"%1\"").arg(input_name(input)));
        if (!switch_input(worker.link(), input)) {
            note_unsupported_input(worker, input);
            continue;
        }
        if (const int status = worker.sleep_with_status(kInputSettleMs))
            return status;
        if (const int status = apply_input_settings(worker, input, inputs))
            return status;
    }
    return 0;
}

// Reads or writes each row on its own, past a stop and past a failure
// (power management is put back however the job ends): no result counts.
void run_rows_regardless(basic_monitor &link, const control_list_rows &rows, control_list_inputs &inputs)
{
    for (vcp_list_item item : build_vcp_list(rows, inputs)) {
        if (item.action == vcp_list_item::kRead) {
            item.result = link.get_vcp_with_max(item.code, item.value, item.max);
        } else {
            uint value = static_cast<uint>(item.value);
            item.result = link.set_vcp(item.code, value);
        }
        inputs.remember({item});
    }
}

} // namespace

int select_input(CPDLANConnectionObject &worker)
{
    const QList<qint32> &inputs = worker.job().input_list;
    if (inputs.size() != 1)
        return 0;
    const qint32 input = inputs.first();
    worker.report_step(CPDLANConnectionObject::tr("Selecting Input \"%1\"").arg(input_name(input)));
    uint written = static_cast<uint>(input);
    if (const int status = worker.link().set_input_source(written))
        return status;
    uint shown = 0;
    const int status = worker.link().get_input_source(shown);
    if (status != 0 || shown != static_cast<uint>(input))
        note_unsupported_input(worker, input);
    return status;
}

int set_input_picture_settings(CPDLANConnectionObject &worker)
{
    if (const int status = identify_when_needed(worker))
        return status;
    control_list_inputs inputs;
    monitor_tracker_item record;
    if (!load_display_record(worker.job(), record, false) || record.GetCalibrationDateTime().isNull()
        || record.gain[0] == 0.0)
        return 0;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    inputs.preferences = display_task_preferences::current();
    inputs.target = current_target();
    inputs.record = record;

    basic_monitor &link = worker.link();
    worker.report_step(CPDLANConnectionObject::tr("Disabling Power Management"));
    if (const int status = switch_display_on(worker, refused_power_on::goes_on))
        return status;
    run_rows_regardless(link, lists::power_management_reads(), inputs);
    run_rows_regardless(link, lists::power_management_off(), inputs);

    int result = 0;
    uint original_input = 0;
    bool input_known = false;
    if (worker.stop_requested()) {
        result = JOB_RESULT_STOPPED;
    } else if ((result = link.get_input_source(original_input)) == 0) {
        input_known = true;
        result = apply_to_each_input(worker, inputs);
    }

    worker.report_step(CPDLANConnectionObject::tr("Restoring Power Management"));
    if (input_known)
        link.set_input_source(original_input);
    run_rows_regardless(link, lists::power_management_restore(), inputs);
    const int saved = link.save_current_settings();
    return result != 0 ? result : saved;
}
