#include "jobs/pattern_and_clock_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_setting_rules.h"
#include "jobs/display_task_inputs.h"
#include "jobs/display_task_steps.h"

#include <QDateTime>

#include <array>

namespace {

enum pattern_mode : qint32 { kPatternOff = 0, kFullWhite = 1, kCalibratedWhite = 2, kTrimmedWhite = 3 };
constexpr int kPatternControlOff = 1;
constexpr int kPatternControlOn = 2;
constexpr int kOffSubSteps = 2;
constexpr int kOnSubSteps = 4;
constexpr int kVerified = 1;

int pattern_off(CPDLANConnectionObject &worker)
{
    worker.report_step(CPDLANConnectionObject::tr("Setting Test Patterns"));
    worker.report_sub_step(0, kOffSubSteps, QString());
    const int status = worker.link().set_vcp_2c8_or_2c3(kPatternControlOff, false);
    worker.report_sub_step(1, kOffSubSteps, QString());
    return status;
}

// The record of a display whose calibrated white can be shown; false for
// one never calibrated or calibrated in its gains.
bool shows_calibrated_white(const job_list_item &job, monitor_tracker_item &record)
{
    return load_display_record(job, record, false)
           && !record.GetCalibrationDateTime().isNull() && record.gain[0] != 0.0
           && record.calibration_mode != CAdjustValue::kModeGains;
}

} // namespace

int set_test_patterns(CPDLANConnectionObject &worker)
{
    const qint32 mode = worker.job().test_pattern_mode;
    if (mode == kPatternOff)
        return pattern_off(worker);
    if (mode != kFullWhite && mode != kCalibratedWhite && mode != kTrimmedWhite)
        return 0;

    monitor_tracker_item record;
    bool engine = false;
    if (mode != kFullWhite) {
        if (const int status = identify_when_needed(worker))
            return status;
        worker.job().job_parameters.verify_status = kVerified;
        if (!shows_calibrated_white(worker.job(), record))
            return 0;
        engine = record.engine_calibrated_word != 0;
    }

    basic_monitor &link = worker.link();
    worker.report_step(CPDLANConnectionObject::tr("Setting Test Patterns"));
    std::array<int, 3> levels{};
    std::array<int, 3> maxima{};
    if (const int status =
            link.get_rgb_levels(levels[0], levels[1], levels[2], maxima[0], maxima[1], maxima[2], engine))
        return status;
    worker.report_sub_step(0, kOnSubSteps, QString());
    for (int c = 0; c < 3; ++c) {
        const std::size_t i = static_cast<std::size_t>(c);
        levels[i] = mode == kFullWhite || engine
                        ? maxima[i]
                        : channel_level_from_record(record, c, maxima[i], mode == kTrimmedWhite);
    }
    if (const int status = link.set_vcp_2c8_or_2c3(kPatternControlOn, engine))
        return status;
    worker.report_sub_step(1, kOnSubSteps, QString());
    const int status = link.set_rgb_levels(levels[0], levels[1], levels[2], engine);
    if (status == 0)
        worker.report_sub_step(2, kOnSubSteps, QString());
    return status;
}

int set_display_clock(CPDLANConnectionObject &worker)
{
    worker.report_step(QString());
    const job_clock_request &request = worker.job().clock;
    job_clock_result &out = worker.job().job_parameters.clock;
    basic_monitor &link = worker.link();
    QDateTime shown;
    quint8 daylight_saving = 0;
    int status = 0;
    if (request.set) {
        if (const int read = link.get_date_time(shown, daylight_saving))
            return read;
        const QDateTime wanted = request.date_time.isValid() ? request.date_time : QDateTime::currentDateTime();
        status = link.set_date_time(wanted, daylight_saving);
        if (status == 0)
            status = link.get_date_time(shown, daylight_saving);
    } else if (request.read) {
        status = link.get_date_time(shown, daylight_saving);
    } else {
        return 0;
    }
    out.date_time = shown;
    out.daylight_saving = daylight_saving;
    out.done = 1;
    out.result = status;
    return status;
}
