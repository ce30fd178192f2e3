#include "jobs/measure_primaries_task.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/backlight_type.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/active_sensor.h"
#include "jobs/display_changes.h"
#include "jobs/display_task_inputs.h"
#include "jobs/job_task_type.h"
#include "jobs/patch_generator.h"
#include "jobs/defined_task.h"
#include "jobs/sensor_measurement.h"
#include "jobs/sensor_placement_check.h"
#include "jobs/task_result_codes.h"
#include "sensors/CSensor.h"

#include <QDateTime>

namespace {

constexpr int kSubSteps = 13;
constexpr int kEnginePresetForMeasuring = 2;
constexpr int kFullBrightnessNotWanted = 2;     // brightness-control preference: leave it alone
constexpr int kLookupTableMethod = 0;           // calibration-method preference
constexpr int kSettleMs = 10000;
constexpr int kEnginePatternSettleMs = 4000;
constexpr uint kPatchSettleMs = 200;
constexpr int kMiscSensorFree = 1;

struct primary_patch
{
    const char *text;
    int defined_task;
    bool red, green, blue;      // channels at their maximum
    int expected_colour;
    int rejected;               // the task's result when the sensor rejects the patch
    CCIEXYZ CColorValue::Patches::*reading;
};

const primary_patch kPatches[] = {
    {QT_TRANSLATE_NOOP("CPDLANConnectionObject", "White"), kDefinedTaskWhite, true, true, true, kPatchBright,
     task_result::kLevelPatchRejected, &CColorValue::Patches::white},
    {QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Red"), kDefinedTaskRed, true, false, false, kPatchRed,
     task_result::kColourPatchRejected, &CColorValue::Patches::red},
    {QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Green"), kDefinedTaskGreen, false, true, false, kPatchGreen,
     task_result::kColourPatchRejected, &CColorValue::Patches::green},
    {QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Blue"), kDefinedTaskBlue, false, false, true, kPatchBlue,
     task_result::kColourPatchRejected, &CColorValue::Patches::blue},
    {QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Black"), kDefinedTaskBlack, false, false, false, kPatchDark,
     task_result::kLevelPatchRejected, &CColorValue::Patches::black},
};
constexpr int kPatchCount = int(sizeof(kPatches) / sizeof(kPatches[0]));

bool engine_wanted()
{
    const CPreferences *preferences = g_master ? g_master->getPreferences() : nullptr;
    return preferences && preferences->GetUseQuillonEngine()
           && preferences->GetCalibrationMethod() == kLookupTableMethod;
}

quint8 brightness_control_mode()
{
    const CPreferences *preferences = g_master ? g_master->getPreferences() : nullptr;
    return preferences ? preferences->GetBrightnessControlMode() : 0;
}

// One measurement of the primaries, from the placement check on.
class primaries_run
{
public:
    primaries_run(CPDLANConnectionObject &worker, CSensor &sensor, monitor_tracker_item &record)
        : m_worker(worker), m_link(worker.link()), m_sensor(sensor), m_record(record)
    {
    }

    // Every exit after the placement check (which leaves the patch
    // generator on) switches the generators off, after the display's
    // settings are back.
    ~primaries_run()
    {
        m_changes.restore();
        if (!m_placed)
            return;
        m_link.set_vcp_2c8_or_2c3(kPatternOff, m_engine);
        if (m_engine != m_engine_before)
            m_link.set_vcp_2c8_or_2c3(kPatternOff, m_engine_before);
    }

    int run()
    {
        m_engine_before = engine_patch_generator_on(m_link);
        m_engine = m_engine_before;
        if (const int status = wait_for_sensor_on_display(m_worker, m_sensor, false))
            return status;
        m_placed = true;
        m_worker.play_audio_message(kSpokenPrompt, string_resource(sensor_text::kProceeding));
        if (const int status = prepare_display())
            return status;
        if (m_worker.stop_requested())
            return JOB_RESULT_STOPPED;
        if (const int status = show_patches())
            return status;
        for (int i = 0; i < kPatchCount; ++i) {
            if (const int status = measure(i))
                return status;
        }
        return finish();
    }

private:
    // Full brightness (with the engine: its luminance and colour preset 2)
    // for the measurement, time to settle when anything changed.
    int prepare_display()
    {
        const bool engine_supported = m_link.supports_vcp_1147_and_1192();
        if (engine_supported && engine_wanted()) {
            if (const int status = m_link.set_vcp_1147_and_wait(true))
                return status;
            m_engine = true;
            if (const int status = raise_to_maximum(control_code::kEngineLuminance))
                return status;
            if (const int status = set_engine_preset())
                return status;
        } else {
            if (engine_supported)
                m_link.set_vcp_1147_and_wait(false);
            m_engine = false;
            if (brightness_control_mode() != kFullBrightnessNotWanted) {
                if (const int status = raise_to_maximum(control_code::kBrightness))
                    return status;
            }
        }
        if (!m_changes.any())
            return 0;
        m_worker.report_step(CPDLANConnectionObject::tr("Waiting"));
        m_worker.StartingDefinedTask(kDefinedTaskSettling);
        if (m_engine)
            return 0;
        m_worker.StartingDefinedTask(kDefinedTaskSettling);
        return m_worker.sleep_with_status(kSettleMs);
    }

    int raise_to_maximum(int code)
    {
        int value = 0, max = 0;
        if (m_link.get_vcp_with_max(code, value, max) != 0 || value == max)
            return 0;
        uint wanted = static_cast<uint>(max);
        if (const int status = m_link.set_vcp(code, wanted))
            return status;
        m_changes.remember([this, code, value] {
            uint old = static_cast<uint>(value);
            return m_link.set_vcp(code, old);
        });
        return 0;
    }

    int set_engine_preset()
    {
        int preset = 0, max = 0;
        if (m_link.get_color_preset(preset, max) != 0 || preset == kEnginePresetForMeasuring)
            return 0;
        if (const int status = m_link.set_color_preset(kEnginePresetForMeasuring))
            return status;
        m_changes.remember([this, preset] { return m_link.set_color_preset(preset); });
        return 0;
    }

    // Step "Measuring": the patch generator in use on, its level maxima.
    int show_patches()
    {
        m_worker.report_step(CPDLANConnectionObject::tr("Measuring"));
        m_worker.report_sub_step(0, kSubSteps, QString());
        m_sensor.SetDisplayType(1, backlight_type_for_model(m_worker.job().job_parameters.model_name));
        if (m_engine || m_engine != m_engine_before) {
            if (const int status = m_link.set_vcp_2c8_or_2c3(kPatternOn, m_engine))
                return status;
        }
        if (m_engine) {
            if (const int status = m_worker.sleep_with_status(kEnginePatternSettleMs))
                return status;
        }
        int levels[3] = {0, 0, 0};
        return m_link.get_rgb_levels(levels[0], levels[1], levels[2], m_maxima[0], m_maxima[1], m_maxima[2],
                                     m_engine);
    }

    int measure(int index)
    {
        const primary_patch &patch = kPatches[index];
        m_worker.StartingDefinedTask(patch.defined_task);
        if (const int status = m_link.set_rgb_levels(patch.red ? m_maxima[0] : 0, patch.green ? m_maxima[1] : 0,
                                                     patch.blue ? m_maxima[2] : 0, m_engine))
            return status;
        m_link.pause(kPatchSettleMs);
        CCIEXYZ reading;
        if (const int status = measure_once(m_sensor, reading))
            return status;
        const bool seen = m_sensor.CheckPatchColor(reading, patch.expected_colour) == 0;
        m_record.measurements.native.*patch.reading = reading;
        m_worker.report_sub_step(index + 1, kSubSteps, CPDLANConnectionObject::tr(patch.text));
        if (!seen)
            return patch.rejected;
        return m_worker.stop_requested() ? JOB_RESULT_STOPPED : 0;
    }

    int finish()
    {
        m_record.measurements.measurement_date_time = QDateTime::currentDateTime();
        m_worker.report_step(QStringLiteral(" "));
        const int restored = m_changes.restore();
        double hours = 0.0;
        if (m_link.get_usage_hours_a(hours) == 0)
            m_record.SetMeasurementOperatingHours(hours);
        store_display_record(m_record);
        return restored;
    }

    CPDLANConnectionObject &m_worker;
    basic_monitor &m_link;
    CSensor &m_sensor;
    monitor_tracker_item &m_record;
    display_changes m_changes;
    bool m_placed = false;
    bool m_engine_before = false;
    bool m_engine = false;      // the engine's patch generator is in use
    int m_maxima[3] = {0, 0, 0};
};

} // namespace

int measure_primaries(CPDLANConnectionObject &worker)
{
    if (const int status = worker.ensure_display_identified())
        return status;
    monitor_tracker_item record;
    load_display_record(worker.job(), record, true);
    active_sensor sensor;
    if (!sensor)
        return task_result::kNoSensor;
    int status = 0;
    {
        primaries_run run(worker, *sensor.get(), record);
        status = run.run();
    }
    if (status != 0)
        return status;
    worker.report_sub_step(kPatchCount + 1, kSubSteps, QString());
    worker.report_step(QString());
    worker.misc_status(kMiscSensorFree);
    return 0;
}
