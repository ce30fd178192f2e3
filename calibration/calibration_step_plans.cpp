#include "calibration/calibration_step_plans.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "jobs/job_task_type.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace {

constexpr int kCalibratedWhiteWithTrim = 3;
constexpr int kPatternOff = 0;
// Within 0.01 of 2.2 or 2.4, compared in millionths: 2.21 is 0.01 away
// although its double lies a hair closer.
constexpr double kGammaToleranceMillionths = 10000.0;
constexpr int kLowestSettableLuminance = 20;

QString text(const char *source) { return QCoreApplication::translate("KQ_main_controller_dock_widget", source); }

job_set plan(const QList<int> &displays, QList<qint32> tasks, const QString &operation)
{
    job_set set;
    set.job_template.task_list = std::move(tasks);
    set.positions = displays;
    set.text = operation;
    return set;
}

// Evaluate Calibration keeps the calibrated white with trim on the displays.
void add_evaluation_pattern(job_set &set, bool evaluate_calibration)
{
    if (!evaluate_calibration)
        return;
    set.job_template.task_list.append(JOB_TASK_TEST_PATTERNS);
    set.job_template.test_pattern_mode = kCalibratedWhiteWithTrim;
}

} // namespace

job_set verify_plan(const QList<int> &displays)
{
    return plan(displays, {JOB_TASK_CHECK_CAPABILITIES}, text("Verifying displays"));
}

int initialize_question(const QList<int> &displays, const QList<int> &calibrated)
{
    for (int display : displays) {
        if (calibrated.contains(display))
            return displays.size() < 2 ? kResetSelectedCalibration : kResetAllCalibrations;
    }
    return kNoQuestion;
}

job_set initialize_plan(const QList<int> &displays, bool set_clock)
{
    job_set set = plan(displays, {JOB_TASK_INITIALIZE_DISPLAY}, text("Initializing displays"));
    set.per_display = true;
    if (set_clock) {
        set.job_template.clock.set = 1;
        set.job_template.clock.read = 0;
        set.job_template.task_list.append(JOB_TASK_SET_CLOCK);
    }
    return set;
}

int measure_question(int intensity_mode)
{
    return intensity_mode == CTargetValue::kIntensityMaximumPossible ? kMeasureNotNeeded : kNoQuestion;
}

job_set measure_plan(const QList<int> &displays) { return plan(displays, {JOB_TASK_MEASURE_PRIMARIES}, QString()); }

bool asks_for_scope(const QList<int> &all, const QList<int> &remaining)
{
    return !remaining.isEmpty() && remaining.size() < all.size();
}

QList<int> displays_for_scope(step_scope scope, const QList<int> &all, const QList<int> &remaining)
{
    switch (scope) {
    case step_scope::all:
        return all;
    case step_scope::remaining:
        return remaining;
    case step_scope::cancel:
        break;
    }
    return {};
}

bool confirms_first_calibration(const QList<int> &all, const QList<int> &uncalibrated, bool suppressed)
{
    return all.size() == uncalibrated.size() && !suppressed;
}

bool gain_calibration_accepts_gamma(int calibration_method, const CTargetValue &target)
{
    if (calibration_method != 1)
        return true;
    if (target.GetGammaType() == CTargetValue::kGammaNative)
        return true;
    if (target.GetGammaType() != CTargetValue::kGammaPower)
        return false;
    const double gamma = target.GetGamma();
    const auto near = [gamma](double standard) {
        return std::round(std::fabs(gamma - standard) * 1e6) < kGammaToleranceMillionths;
    };
    return near(2.2) || near(2.4);
}

job_set calibrate_plan(const QList<int> &displays, bool evaluate_calibration)
{
    job_set set = plan(displays, {JOB_TASK_CALIBRATE}, QString());
    add_evaluation_pattern(set, evaluate_calibration);
    return set;
}

job_set engine_calibrate_plan(const QList<int> &displays, bool evaluate_calibration)
{
    job_set set = plan(displays, {JOB_TASK_INITIALIZE_DISPLAY_ENGINE}, text("Adjusting KQE settings"));
    set.per_display = true;
    add_evaluation_pattern(set, evaluate_calibration);
    return set;
}

job_set evaluation_pattern_plan(const QList<int> &displays, bool on)
{
    job_set set = plan(displays, {JOB_TASK_TEST_PATTERNS}, text("Setting Test Patterns"));
    set.job_template.test_pattern_mode = on ? kCalibratedWhiteWithTrim : kPatternOff;
    return set;
}

int lowest_engine_luminance(const layout_manager &layout, const CMonitorTracker &records, const QList<int> &displays)
{
    int lowest = kNoLowestLuminance;
    for (int display : displays) {
        display_layout_item item;
        CAdjustValue record;
        if (layout.get_item(display, item) != 0 || !look_up_display_record(records, item, record))
            continue;
        double luminance = record.measurements.corrected.white.Y;
        if (record.luminance_scale_switch != 0 && record.luminance_scale_value > 0.0)
            luminance /= record.luminance_scale_value;
        // Converting a value outside the int range is undefined: pass it over.
        if (!std::isfinite(luminance) || luminance >= double(std::numeric_limits<int>::max()) + 1.0
            || luminance <= double(std::numeric_limits<int>::min()) - 1.0)
            continue;
        lowest = std::min(lowest, static_cast<int>(luminance));
    }
    return lowest;
}

bool sets_matching_luminance(int lowest)
{
    return lowest != kNoLowestLuminance && lowest > kLowestSettableLuminance;
}

job_set matching_luminance_plan(const QList<int> &displays)
{
    return plan(displays, {JOB_TASK_INITIALIZE_DISPLAY_ENGINE}, text("Setting Maximum Matching Luminance"));
}

CTargetValue specified_luminance_target(const CTargetValue &target, int lowest)
{
    CTargetValue specified = target;
    specified.SetIntensityMode(CTargetValue::kIntensitySpecified);
    specified.SetIntensity(lowest);
    return specified;
}

CTargetValue matching_luminance_target(const CTargetValue &target, int lowest)
{
    CTargetValue matching = specified_luminance_target(target, lowest);
    matching.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
    matching.SetIntensity(lowest);
    return matching;
}
