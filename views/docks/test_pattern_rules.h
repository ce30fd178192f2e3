#pragma once

#include "jobs/job_set.h"

class CMonitorTracker;
class layout_manager;

// The Test Pattern dock without widgets: which patterns can be sent and to
// which displays.

// Values of the job's test pattern.
enum test_pattern_value { kPatternOff = 0, kPatternFullWhite = 1, kPatternCalibrated = 2, kPatternCalibratedTrim = 3 };

struct test_pattern_enabling
{
    bool off = false;
    bool full_white = false;
    bool calibrated = false;
    bool calibrated_with_trim = false;
};

// Counts the enabled displays that were verified (any verification result,
// failures included); the calibrated patterns need a display calibrated with
// lookup tables, the trimmed one such a display with a visual trim.
test_pattern_enabling test_pattern_enabling_for(const layout_manager &layout, const CMonitorTracker &records,
                                                int current, bool apply_to_all);

// The jobs that send |pattern|: the calibrated patterns only to displays
// calibrated with lookup tables. Positions come from the layout's queries, so
// displays in an ID conflict or not enabled are left out.
job_set test_pattern_job_set(layout_manager &layout, int current, int pattern, bool apply_to_all);

// Whether the dock reports the calibrated white with trim as shown.
bool shows_evaluation_pattern(int pattern);
