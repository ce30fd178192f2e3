#include "calibration/calibration_task.h"

#include "app/services/backlight_type.h"
#include "app/services/string_resource.h"
#include "calibration/CCalibrationObject.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/active_sensor.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/display_setting_rules.h"
#include "jobs/display_task_inputs.h"
#include "jobs/job_task_type.h"
#include "jobs/sensor_placement_check.h"
#include "jobs/sensor_measurement.h"
#include "jobs/task_result_codes.h"
#include "jobs/worker_task_table.h"
#include "sensors/CSensor.h"

namespace {

constexpr int kProceedingText = 1106;
constexpr int kEmissiveDisplay = 1;
constexpr int kCalibrationInTable = 0;
constexpr double kNothingMeasured = -1.0;

// The worker's slot of the same signature receives each of these.
const char *const kForwardedSignals[][2] = {
    {SIGNAL(calibration_task_progress(QString)), SLOT(calibration_task_progress(QString))},
    {SIGNAL(calibration_sub_task_progress(int,int,QString)), SLOT(calibration_sub_task_progress(int,int,QString))},
    {SIGNAL(StartingDefinedTask(int)), SLOT(StartingDefinedTask(int))},
    {SIGNAL(SetWhitePointMeasuredValue(double,double,double)), SLOT(SetWhitePointMeasuredValue(double,double,double))},
    {SIGNAL(SetWhitePointTargetxy(double,double)), SLOT(SetWhitePointTargetxy(double,double))},
    {SIGNAL(SetWhiteLevelTarget(double)), SLOT(SetWhiteLevelTarget(double))},
    {SIGNAL(ShowWhiteLevelTarget(bool)), SLOT(ShowWhiteLevelTarget(bool))},
    {SIGNAL(play_audio_message(int,QString)), SLOT(play_audio_message(int,QString))},
    {SIGNAL(SetInstructionMessageString(QString)), SLOT(SetInstructionMessageString(QString))},
    {SIGNAL(SetWhiteLevelTargetMinMax(double,double)), SLOT(SetWhiteLevelTargetMinMax(double,double))},
    {SIGNAL(SetBlackLevelTargetMinMax(double,double)), SLOT(SetBlackLevelTargetMinMax(double,double))},
    {SIGNAL(SetBlackLevelMeasuredValue(double)), SLOT(SetBlackLevelMeasuredValue(double))},
    {SIGNAL(sleepTime(int)), SLOT(sleepTime(int))},
    {SIGNAL(misc_status(int)), SLOT(misc_status(int))},
};

// Whether the run goes through the display's engine; switches the engine on
// or off where the display has one, and writes nothing where it has none.
bool choose_engine(basic_monitor &link, const calibration_preferences &preferences)
{
    if (!link.supports_vcp_1147_and_1192())
        return false;
    if (preferences.display.use_engine && preferences.display.calibration_method == kCalibrationInTable)
        return link.set_vcp_1147_and_wait(true) == 0;
    link.set_vcp_1147_and_wait(false);
    return false;
}

} // namespace

int calibrate_display(CPDLANConnectionObject &worker)
{
    worker.SetBlackLevelMeasuredValue(kNothingMeasured);
    worker.report_status(CAL_STATUS_WHITE_POINT_MEASURED, 0, kNothingMeasured, kNothingMeasured, kNothingMeasured);
    active_sensor sensor;
    if (!sensor)
        return task_result::kNoSensor;
    job_list_item &job = worker.job();
    if (!worker.display_identified()) {
        if (const int status = worker.identify_display()) {
            job.job_parameters.verify_status = 2;
            return status;
        }
    }
    const calibration_preferences preferences = calibration_preferences::current();
    if (const int status = wait_for_sensor_on_display(worker, *sensor.get(), false))
        return status;
    worker.play_audio_message(kSpokenPrompt, string_resource(kProceedingText));

    monitor_tracker_item record;
    load_display_record(job, record, true);
    sensor->SetDisplayType(kEmissiveDisplay, backlight_type_for_model(job.job_parameters.model_name));
    basic_monitor &link = worker.link();
    const bool engine = choose_engine(link, preferences);

    CCalibrationObject calibration(preferences);
    const CPDLANConnectionObject::stoppable_scope stoppable(worker, [&calibration] { calibration.stop_job(); });
    calibration.SetCalibrationSteps(preferences.grey_steps);
    calibration.SetSensor(sensor.get());
    calibration.SetMonitor(&link);
    calibration.SetAdjustValue(record);
    calibration.SetUseQuillonEngine(engine);
    calibration.SetTargetValue(
        target_with_offset(current_target(), record, offset_intensity_modes::matching_and_specified));
    calibration.SetBrightnessControlMode(preferences.display.brightness_control_mode);
    for (const auto &forwarded : kForwardedSignals)
        QObject::connect(&calibration, forwarded[0], &worker, forwarded[1]);

    const int result = calibration.RunCalibration();
    if (result == 0) {
        static_cast<CAdjustValue &>(record) = calibration.GetAdjustValue();
        store_display_record(record);
        job.job_parameters.follow_up_lut_update = calibration.GetResultFlag();
        worker.report_step(QString());
    }
    return result;
}

void install_calibration_task()
{
    install_worker_task(JOB_TASK_CALIBRATE, &calibrate_display);
}
