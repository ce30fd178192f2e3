#include "jobs/engine_sensor_tasks.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/string_resource.h"
#include "colour/CMonitorTracker.h"
#include "colour/CornerUniformityEntry.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/active_sensor.h"
#include "jobs/display_changes.h"
#include "jobs/display_task_inputs.h"
#include "jobs/engine_procedure.h"
#include "jobs/job_task_type.h"
#include "jobs/patch_generator.h"
#include "jobs/sensor_measurement.h"
#include "jobs/task_result_codes.h"
#include "sensors/CSensor.h"

namespace {

constexpr int kSensorTextBytes = 16;
constexpr int kSensorTextKept = 13;
constexpr int kSensorDisplayType = 3;
constexpr uint kEngineVersionForUpdate = 1;     // update calibration needs more
constexpr int kPositionPromptMs = 5000;
constexpr int kMeasurementStage = 2;
constexpr int kMeasurementStages = 3;
constexpr int kUniformityOn = 1;

const char *const kUpdateStageTexts[] = {
    QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Calculating"),
    QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Measuring"),
    QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Saving"),
    QT_TRANSLATE_NOOP("CPDLANConnectionObject", "Completed"),
};

QString tr(const char *text)
{
    return CPDLANConnectionObject::tr(text);
}

// The last |kSensorTextKept| characters of |text| as ASCII in a zero-filled
// field of |kSensorTextBytes|.
QByteArray sensor_text_field(const QString &text)
{
    QByteArray field(kSensorTextBytes, '\0');
    const QString kept = text.right(kSensorTextKept);
    for (int i = 0; i < kept.size(); ++i) {
        const ushort code = kept.at(i).unicode();
        field[i] = code < 0x80 ? static_cast<char>(code) : '?';
    }
    return field;
}

// One run of an engine procedure with the sensor, from the preparation to
// the finish.
class engine_sensor_task
{
public:
    engine_sensor_task(CPDLANConnectionObject &worker, int procedure)
        : m_worker(worker), m_link(worker.link()), m_procedure(procedure), m_engine(worker)
    {
    }

    int run()
    {
        if (const int status = prepare())
            return status;
        int status = run_procedure();
        // An update that did not end as finished is run once more.
        if (status != 0 && m_finish_failed && updating())
            status = run_procedure();
        if (status != 0)
            return status;
        status = m_engine.leave(true);
        const int stages = m_engine.last().stage_count;
        m_worker.report_sub_step(stages, stages, tr("Completed"));
        if (!updating())
            m_worker.play_audio_message(kSpokenPrompt, string_resource(sensor_text::kCompleted));
        return status;
    }

private:
    bool updating() const { return m_procedure == engine_procedure::kUpdateCalibration; }

    int prepare()
    {
        if (updating()) {
            m_worker.report_step(tr("Updating Calibration"));
        } else if (const int status = m_worker.ensure_display_identified()) {
            return status;
        }
        quint8 power = 0;
        if (const int status = m_link.get_power_state(power))
            return status;
        if (power != job_power_request::kOn)
            return task_result::kDisplayNotOn;
        if (updating()) {
            uint version = 0;
            if (const int status = m_link.get_vcp(control_code::kEngineSwitch, version))
                return status;
            if (version <= kEngineVersionForUpdate)
                return task_result::kEngineTooOld;
        }
        if (!m_sensor)
            return task_result::kNoSensor;
        m_sensor->SetDisplayType(1, kSensorDisplayType);
        if (const int status = m_link.write_sensor_info(sensor_text_field(m_sensor->GetShortName()),
                                                        sensor_text_field(m_sensor->GetSerialNumber())))
            return status;
        if (const int status = switch_pattern_off())
            return status;
        if (!updating() && m_link.supports_corner_uniformity())
            neutral_uniformity();
        return 0;
    }

    // The procedure needs the display's test pattern off; it comes back on
    // at the end, however the task ends.
    int switch_pattern_off()
    {
        const bool engine = engine_patch_generator_on(m_link);
        int pattern = 0;
        if (m_link.get_vcp_2c8_or_2c3(pattern, engine) != 0 || pattern != kPatternOn)
            return 0;
        if (const int status = m_link.set_vcp_2c8_or_2c3(kPatternOff, engine))
            return status;
        m_changes.remember([this, engine] { return m_link.set_vcp_2c8_or_2c3(kPatternOn, engine); });
        return 0;
    }

    // Corners back to the middle of their spans, uniformity on; the record
    // follows, and the store is marked modified only when it changed.
    void neutral_uniformity()
    {
        monitor_tracker_item record;
        if (!load_display_record(m_worker.job(), record, false))
            return;
        CMonitorTracker *store = g_master ? g_master->getMonitorTracker() : nullptr;
        bool changed = store && store->IsModified();
        for (int corner = 0; corner < CAdjustValue::kCornerCount; ++corner)
            changed = neutral_corner(record, corner) || changed;
        if (record.visual_trim_flags & CAdjustValue::kTrimCorners) {
            record.visual_trim_flags &= ~CAdjustValue::kTrimCorners;
            changed = true;
        }
        int level = 0, max = 0;
        uint on = kUniformityOn;
        if (m_link.get_vcp_with_max(control_code::kUniformityLevel, level, max) == 0 && level == 0
            && m_link.set_vcp(control_code::kUniformityLevel, on) == 0) {
            record.visual_trim_flags &= CAdjustValue::kTrimUniformityLevel;
            record.SetCapabilityWordK(kUniformityOn);
            changed = true;
        }
        store_display_record(record);
        if (store)
            store->SetModified(changed);
    }

    bool neutral_corner(monitor_tracker_item &record, int corner)
    {
        CornerUniformityEntry entry;
        if (m_link.get_corner_uniformity(corner, entry) != 0)
            return false;
        entry.first_offset = static_cast<qint32>(static_cast<quint32>(entry.first_span) >> 1);
        entry.second_offset = static_cast<qint32>(static_cast<quint32>(entry.second_span) >> 1);
        entry.size_level = 0;
        if (m_link.set_corner_uniformity(corner, entry) != 0)
            return false;
        CornerUniformityEntry stored;
        record.GetChannelEntry(corner, stored);
        record.SetChannelEntry(corner, entry);
        return entry.first_offset != stored.first_offset || entry.second_offset != stored.second_offset;
    }

    int run_procedure()
    {
        m_finish_failed = false;
        if (const int status = m_engine.select(m_procedure))
            return status;
        if (const int status = m_engine.start())
            return status;
        const QString display_number = QString::number(m_worker.job().position + 1);
        if (updating()) {
            m_worker.SetInstructionMessageString(string_resource(sensor_text::kPositionSensor).arg(display_number));
            m_worker.play_audio_message(kSpokenPrompt,
                                        string_resource(sensor_text::kPositionSensorSpoken).arg(display_number));
            m_worker.sleep_with_status(kPositionPromptMs);
        }
        if (const int status = m_engine.follow(hooks()))
            return status;
        if (const int status = m_engine.wait_finished()) {
            m_finish_failed = true;
            return status;
        }
        return 0;
    }

    engine_procedure::hooks hooks()
    {
        engine_procedure::hooks h;
        h.report = [this](const engine_procedure::progress &now) { report(now); };
        h.measurement_wanted = [this](const engine_procedure::progress &now) { return measurement_wanted(now); };
        // The update asks once per measurement and waits to be resumed.
        h.one_measurement_per_request = updating();
        h.measuring_finished = [this](const engine_procedure::progress &now) {
            m_worker.SetInstructionMessageString(string_resource(sensor_text::kRemoveSensor));
            m_worker.report_sub_step(now.stage_count, now.stage_count, tr("Saving"));
            m_worker.play_audio_message(kSpokenPrompt, string_resource(sensor_text::kRemoveSensorSpoken));
        };
        return h;
    }

    void report(const engine_procedure::progress &now)
    {
        if (updating()) {
            const int index = qBound(0, now.stage - 1, int(std::size(kUpdateStageTexts)) - 1);
            m_worker.report_sub_step(now.stage - 1, now.stage_count, tr(kUpdateStageTexts[index]));
            return;
        }
        if (now.stage == 1)
            m_worker.report_task_progress(0, now.stage_count, tr("Preparing display..."));
        if (now.stage != kMeasurementStage || now.stage_count != kMeasurementStages)
            return;
        if (now.position == m_position || now.position == 0)
            return;
        m_position = now.position;
        m_worker.report_task_progress(now.stage - 1, now.stage_count, tr("Measurement"));
        m_worker.report_sub_step(now.position - 1, now.position_count,
                                 tr("%1 of %2").arg(now.position).arg(now.position_count));
        if (now.position == 1) {
            const QString display_number = QString::number(m_worker.job().position + 1);
            m_worker.SetInstructionMessageString(string_resource(sensor_text::kPositionSensor).arg(display_number));
            m_worker.report_task_progress(now.stage - 1, now.stage_count, tr("Position Color Sensor"));
            m_worker.play_audio_message(kSpokenPrompt,
                                        string_resource(sensor_text::kPositionSensorSpoken).arg(display_number));
        } else {
            m_worker.SetInstructionMessageString(
                string_resource(sensor_text::kMoveToPosition).arg(now.position).arg(now.position_count));
            m_worker.play_audio_message(kSpokenPrompt, string_resource(sensor_text::kNextPosition));
        }
    }

    int measurement_wanted(const engine_procedure::progress &now)
    {
        if (updating())
            m_worker.report_sub_step(now.stage - 1, now.stage_count, tr("Measuring"));
        CCIEXYZ reading;
        if (const int status = measure_once(*m_sensor.get(), reading))
            return status;
        quint8 accepted = 0;
        std::array<quint8, 12> reply{};
        if (const int status = m_link.engine_command_c258(engine_measurement_counts(reading), accepted, reply))
            return status;
        return updating() ? m_engine.resume() : 0;
    }

    CPDLANConnectionObject &m_worker;
    basic_monitor &m_link;
    const int m_procedure;
    engine_procedure m_engine;
    active_sensor m_sensor;
    display_changes m_changes;
    int m_position = 0;
    bool m_finish_failed = false;
};

} // namespace

int update_calibration(CPDLANConnectionObject &worker)
{
    return engine_sensor_task(worker, engine_procedure::kUpdateCalibration).run();
}

int measure(CPDLANConnectionObject &worker)
{
    return engine_sensor_task(worker, engine_procedure::kMeasurement).run();
}
