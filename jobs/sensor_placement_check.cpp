#include "jobs/sensor_placement_check.h"

#include "app/services/backlight_type.h"
#include "app/services/string_resource.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/job_task_type.h"
#include "jobs/patch_generator.h"
#include "jobs/defined_task.h"
#include "jobs/sensor_measurement.h"
#include "jobs/task_result_codes.h"
#include "sensors/CSensor.h"

namespace {

constexpr int kGoodReadingsWanted = 3;

constexpr int kCounterSteps = 4;

// One patch of the check: what the display shows and what the sensor must see.
struct check_patch
{
    int defined_task;   // the step picture of the patch
    int channel;        // 0 red, 1 green
    int expected_colour;
    double minimum_luminance;
};

constexpr check_patch kRed{kDefinedTaskPlacementRed, 0, kPatchRed, 10.0};
constexpr check_patch kGreen{kDefinedTaskPlacementGreen, 1, kPatchGreen, 30.0};

struct placement_check
{
    CPDLANConnectionObject &worker;
    CSensor &sensor;
    bool engine;
    int maxima[3];
    int good_readings = 0;

    // Shows |patch| and measures it; the run of good readings grows or
    // starts again. 0, or the error of a display or sensor call.
    int measure(const check_patch &patch)
    {
        worker.StartingDefinedTask(patch.defined_task);
        int levels[3] = {0, 0, 0};
        levels[patch.channel] = maxima[patch.channel];
        basic_monitor &link = worker.link();
        if (const int status = link.set_rgb_levels(levels[0], levels[1], levels[2], engine))
            return status;
        CCIEXYZ reading;
        if (const int status = measure_once(sensor, reading))
            return status;
        const bool good = sensor.CheckPatchColor(reading, patch.expected_colour) == 0
                          && reading.Y >= patch.minimum_luminance;
        good_readings = good ? good_readings + 1 : 0;
        worker.report_sub_step(good_readings, kCounterSteps, QString());
        return 0;
    }

    int run()
    {
        for (;;) {
            if (const int status = measure(kRed))
                return status;
            if (worker.stop_requested())
                return JOB_RESULT_STOPPED;
            if (const int status = measure(kGreen))
                return status;
            if (worker.stop_requested())
                return JOB_RESULT_STOPPED;
            if (good_readings >= kGoodReadingsWanted)
                return 0;
        }
    }
};

int check(CPDLANConnectionObject &worker, CSensor &sensor, bool engine)
{
    basic_monitor &link = worker.link();
    const job_list_item &job = worker.job();
    if (const int status = link.set_vcp_2c8_or_2c3(kPatternOn, engine))
        return status;
    const QString display_number = QString::number(job.position + 1);
    worker.SetInstructionMessageString(string_resource(sensor_text::kPositionSensor).arg(display_number));
    worker.play_audio_message(kSpokenPrompt, string_resource(sensor_text::kPositionSensorFlashing).arg(display_number));
    sensor.SetDisplayType(1, backlight_type_for_model(job.job_parameters.model_name));
    placement_check placement{worker, sensor, engine, {0, 0, 0}};
    int levels[3] = {0, 0, 0};
    if (const int status = link.get_rgb_levels(levels[0], levels[1], levels[2], placement.maxima[0],
                                               placement.maxima[1], placement.maxima[2], engine))
        return status;
    worker.report_sub_step(0, kCounterSteps, QString());
    return placement.run();
}

} // namespace

int wait_for_sensor_on_display(CPDLANConnectionObject &worker, CSensor &sensor, bool restore_always)
{
    worker.report_step(CPDLANConnectionObject::tr("Detecting color sensor on display # %1")
                           .arg(worker.job().position + 1));
    basic_monitor &link = worker.link();
    quint8 power = 0;
    if (const int status = link.get_power_state(power))
        return status;
    if (power != job_power_request::kOn)
        return task_result::kDisplayNotOn;
    const bool engine = engine_patch_generator_on(link);
    const int status = check(worker, sensor, engine);
    if (restore_always || status != 0)
        link.set_vcp_2c8_or_2c3(kPatternOff, engine);
    return status;
}
