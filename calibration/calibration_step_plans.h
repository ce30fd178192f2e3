#pragma once

#include "jobs/job_set.h"

#include <QList>

class CMonitorTracker;
class CTargetValue;
class layout_manager;

// What each calibration step of the Actions dock does, decided without a
// widget: the jobs it runs, the questions it asks and what follows the run.
// The dock asks, runs the job sets and carries out the after-run work.

// Question string ids.
enum step_question : int {
    kNoQuestion = 0,
    kResetAllCalibrations = 708,
    kResetSelectedCalibration = 709,
    kInputWhiteSignal = 717,
    kUnsupportedGainGamma = 718,
    kSkipCalibrated = 722,
    kSkipMeasured = 723,
    kConfirmTarget = 725,
    kMeasureNotNeeded = 727,
    kSaveProjectFirst = 728,
};

constexpr int kTargetConfirmationMessage = 4; // the preferences' "don't show again" number

job_set verify_plan(const QList<int> &displays);

// 709 for one display, 708 for more, when any of |displays| is among
// |calibrated|; no question otherwise.
int initialize_question(const QList<int> &displays, const QList<int> &calibrated);
// Per display, with its orientation; the display clock too when asked.
job_set initialize_plan(const QList<int> &displays, bool set_clock);

// Measuring a Maximum Possible target only informs: ask first.
int measure_question(int intensity_mode);
job_set measure_plan(const QList<int> &displays);

// Remaining / All / Cancel: asked when some but not all displays are done.
enum class step_scope { all, remaining, cancel };
bool asks_for_scope(const QList<int> &all, const QList<int> &remaining);
QList<int> displays_for_scope(step_scope scope, const QList<int> &all, const QList<int> &remaining);

// The target confirmation before the first calibration of the wall,
// decided on the All list for either Calibrate button.
bool confirms_first_calibration(const QList<int> &all, const QList<int> &uncalibrated, bool suppressed);

// A gain calibration can follow only a native curve or gamma 2.2 or 2.4.
bool gain_calibration_accepts_gamma(int calibration_method, const CTargetValue &target);

job_set calibrate_plan(const QList<int> &displays, bool evaluate_calibration);
job_set engine_calibrate_plan(const QList<int> &displays, bool evaluate_calibration);
job_set evaluation_pattern_plan(const QList<int> &displays, bool on);

// Maximum Matching without a sensor: the lowest luminance the displays
// reached (their records' white, scaled when the record says so), or
// kNoLowestLuminance. Values that are not finite or not an int are passed over.
constexpr int kNoLowestLuminance = 99999;
int lowest_engine_luminance(const layout_manager &layout, const CMonitorTracker &records, const QList<int> &displays);
// Only a luminance above 20 is set for the wall.
bool sets_matching_luminance(int lowest);
job_set matching_luminance_plan(const QList<int> &displays);
// The target while the wall is set to |lowest|, and the Maximum Matching
// target stored afterwards (its specified luminance keeps |lowest| too).
CTargetValue specified_luminance_target(const CTargetValue &target, int lowest);
CTargetValue matching_luminance_target(const CTargetValue &target, int lowest);
