#include "jobs/initialization_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_control_lists.h"
#include "jobs/display_setting_rules.h"
#include "jobs/display_task_steps.h"
#include "jobs/job_task_type.h"

#include <QDateTime>

namespace lists = display_control_lists;

namespace {

constexpr int kOpeningSteps = 19;
constexpr int kNoEngine = -1022;
constexpr qint32 kSoftwareBuild = 210208;

// The inputs every list of a task starts from.
control_list_inputs task_inputs(CPDLANConnectionObject &worker)
{
    control_list_inputs inputs;
    inputs.preferences = display_task_preferences::current();
    inputs.target = current_target();
    inputs.osd_preset = worker.job().osd_orientation;
    return inputs;
}

enum class opening_kind { sensor_or_engine, engine_only };

// The start both initialisations share: the display on, the engine switched
// as the task needs it.
int open_initialization(CPDLANConnectionObject &worker, opening_kind kind, control_list_inputs &inputs)
{
    if (kind == opening_kind::engine_only) {
        if (const int status = identify_when_needed(worker))
            return status;
    }
    worker.report_step(CPDLANConnectionObject::tr("Initializing display"));
    worker.report_sub_step(0, kOpeningSteps, CPDLANConnectionObject::tr("Setting Power State..."));
    basic_monitor &link = worker.link();
    quint8 state = 0;
    if (const int status = link.get_power_state(state))
        return status;
    worker.report_sub_step(1, kOpeningSteps, QString());
    if (const int status = switch_on_from(worker, state))
        return status;
    worker.report_sub_step(2, kOpeningSteps, CPDLANConnectionObject::tr("Configuring settings..."));
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    if (kind == opening_kind::engine_only) {
        if (!link.supports_vcp_1147_and_1192() || link.set_vcp_1147_and_wait(true) != 0)
            return kNoEngine;
        inputs.engine = true;
    } else if (const int status = switch_engine_as_preferred(worker, inputs.preferences, inputs.engine)) {
        return status;
    }
    worker.report_sub_step(3, kOpeningSteps, QString());
    return worker.stop_requested() ? JOB_RESULT_STOPPED : 0;
}

int save_and_finish(CPDLANConnectionObject &worker)
{
    if (const int status = worker.link().save_current_settings())
        return status;
    worker.report_step(QStringLiteral(" "));
    return 0;
}

int initialize_through_engine(CPDLANConnectionObject &worker, control_list_inputs &inputs)
{
    if (const int status = run_control_rows(worker, lists::engine_for_sensor_calibration(), inputs, true))
        return status;
    worker.report_step(QString());
    if (const int status = run_control_rows(worker, lists::panel_reads(), inputs, false))
        return status;
    worker.report_step(QString());
    if (const int status = run_control_rows(worker, lists::engine_to_panel_white(), inputs, false))
        return status;
    return save_and_finish(worker);
}

int initialize_for_sensor(CPDLANConnectionObject &worker, control_list_inputs &inputs)
{
    worker.report_step(QString());
    worker.report_step(QString());
    if (const int status = run_control_rows(worker, lists::sensor_calibration_start(), inputs, true))
        return status;
    return save_and_finish(worker);
}

// What the engine was given and what it made of it, kept in the record so
// that a restore can give it back.
void keep_engine_result(const control_list_inputs &inputs, const QList<vcp_list_item> &white_list,
                        CAdjustValue &record)
{
    using namespace control_code;
    for (const vcp_list_item &step : white_list) {
        if (step.result != 0)
            continue;
        if (step.code == kEngineWhiteX)
            record.engine_white_x = static_cast<quint16>(step.value);
        else if (step.code == kEngineWhiteY)
            record.engine_white_y = static_cast<quint16>(step.value);
        else if (step.code == kUniformityLevel)
            record.SetCapabilityWordK(static_cast<qint16>(step.value));
    }
    if (const std::optional<qint32> kept = inputs.read_value(kUniformityLevel); kept && !inputs.wrote(kUniformityLevel))
        record.SetCapabilityWordK(static_cast<qint16>(*kept));
    if (inputs.wrote(kEngineBlackLevel))
        record.black_level_value = static_cast<qint16>(engine_black_level(inputs.target));
    bool gamut_read = true;
    for (int i = 0; i < kNativeGamutCount; ++i) {
        const std::optional<qint32> value = inputs.read_value(kNativeGamutFirst + i);
        gamut_read = gamut_read && value.has_value();
        if (value)
            record.native_gamut[static_cast<std::size_t>(i)] = static_cast<qint16>(*value);
    }
    record.native_gamut_valid = gamut_read ? 1 : 0;
    if (const std::optional<qint32> luminance = inputs.read_value(kEngineLuminance)) {
        record.backlight_setting = static_cast<quint16>(*luminance);
        record.backlight_maximum = static_cast<quint16>(*inputs.read_maximum(kEngineLuminance));
    }
    if (const std::optional<qint32> minimum = inputs.read_value(kEngineLuminanceMinimum))
        record.backlight_minimum = static_cast<qint16>(*minimum);
    if (const std::optional<qint32> held = inputs.read_value(kEngineHeldLuminance)) {
        // A native target is the panel's own white, as the engine was given it.
        const CColorTemperature target_white = inputs.target.GetWhitePoint();
        const CIExy white = target_white.IsNative()
                                ? CIExy {record.engine_white_x / 1000.0, record.engine_white_y / 1000.0}
                                : target_white.GetCIExy();
        record.measurements.corrected.white = CCIEYxy(*held, white.x, white.y).ToXYZ();
    }
}

void record_engine_calibration(CPDLANConnectionObject &worker, CAdjustValue &record)
{
    basic_monitor &link = worker.link();
    double hours = 0.0;
    if (link.get_usage_hours_a(hours) == 0)
        record.SetCalibrationOperatingHours(hours);
    record.SetSensorSerialNumber(QString());
    record.SetSensorName(QStringLiteral("KQE"));
    record.SetCalibrationFlagA(true);
    record.SetCalibrationFlagB(1);
    record.SetCalibrated(true);
    record.SetCalibrationDateTime(QDateTime::currentDateTime());
    record.SetCalibrationSoftwareBuild(kSoftwareBuild);
    record.measurements.corrected_greyscale.clear();
    record.SetCalibrationMode(CAdjustValue::kModeLookupTable);
    uint input = 0;
    if (link.get_input_source(input) == 0)
        record.SetVideoInput(static_cast<qint16>(input));
}

} // namespace

int initialize_display(CPDLANConnectionObject &worker)
{
    control_list_inputs inputs = task_inputs(worker);
    if (const int status = open_initialization(worker, opening_kind::sensor_or_engine, inputs))
        return status;
    return inputs.engine ? initialize_through_engine(worker, inputs) : initialize_for_sensor(worker, inputs);
}

int initialize_display_engine(CPDLANConnectionObject &worker)
{
    control_list_inputs inputs = task_inputs(worker);
    if (const int status = open_initialization(worker, opening_kind::engine_only, inputs))
        return status;
    monitor_tracker_item record;
    load_display_record(worker.job(), record, true);
    inputs.target = target_with_offset(inputs.target, record, offset_intensity_modes::specified_only);
    inputs.record = record;

    if (const int status = run_control_rows(worker, lists::engine_to_target(), inputs, false))
        return status;
    worker.report_step(QString());
    if (const int status = run_control_rows(worker, lists::panel_reads(), inputs, false))
        return status;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    worker.report_step(QString());
    QList<vcp_list_item> white_list;
    if (const int status = run_control_rows(worker, lists::engine_to_target_white(), inputs, false, &white_list))
        return status;
    if (const int status = run_control_rows(worker, lists::engine_result_reads(), inputs, false))
        return status;
    keep_engine_result(inputs, white_list, record);
    // The luminance is written again only with the held luminance read, the
    // engine's sign that it has taken the target in.
    const std::optional<qint32> luminance = inputs.read_value(control_code::kEngineLuminance);
    if (luminance && inputs.read_value(control_code::kEngineHeldLuminance)) {
        uint again = static_cast<uint>(*luminance);
        if (const int status = worker.link().set_vcp(control_code::kEngineLuminance, again))
            return status;
    }
    if (const int status = upload_engine_tone_curve_when_asked(worker, inputs.target, record))
        return status;

    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    worker.report_step(QString());
    if (const int status = worker.link().save_current_settings())
        return status;
    record_engine_calibration(worker, record);
    store_display_record(record);
    worker.report_step(QStringLiteral(" "));
    return 0;
}

int restore_calibration_settings(CPDLANConnectionObject &worker)
{
    if (const int status = identify_when_needed(worker))
        return status;
    worker.report_step(CPDLANConnectionObject::tr("Restoring calibration settings"));
    control_list_inputs inputs = task_inputs(worker);
    monitor_tracker_item record;
    load_display_record(worker.job(), record, true);
    inputs.record = record;
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    if (const int status = switch_display_on(worker))
        return status;

    basic_monitor &link = worker.link();
    const bool engine_record = record.engine_calibrated_word != 0;
    if (link.supports_vcp_1147_and_1192()) {
        if (const int status = link.set_vcp_1147_and_wait(engine_record))
            return status;
    }
    if (engine_record) {
        if (const int status = run_control_rows(worker, lists::engine_from_record(), inputs, true))
            return status;
        if (const int status = upload_engine_tone_curve_when_asked(worker, inputs.target, record))
            return status;
        worker.report_step(QString());
        if (const int status = run_control_rows(worker, lists::engine_back_to_work(), inputs, false))
            return status;
        if (const int status = link.save_current_settings())
            return status;
    } else {
        const control_list_rows settings =
            joined({lists::sensor_settings_from_record(), reading_first(lists::osd_preset())});
        if (const int status = run_control_rows(worker, settings, inputs, true))
            return status;
        if (const int status = run_control_rows(worker, lists::gains_from_record(), inputs, false))
            return status;
        // A calibration held in the gains has no table.
        if (record.calibration_mode != CAdjustValue::kModeGains) {
            if (const int status = upload_calibration_table(worker, record, inputs.target,
                                                            inputs.preferences.programmable_gamma_number))
                return status;
        }
        if (const int status = pattern_off_unless_stopped(worker))
            return status;
        if (!worker.stop_requested()) {
            if (const int status = link.save_current_settings())
                return status;
        }
    }
    if (worker.stop_requested())
        return JOB_RESULT_STOPPED;
    store_display_record(record);
    return 0;
}
