#include "dialogs/trim_operation_rules.h"

#include "colour/CAdjustValue.h"
#include "jobs/job_task_type.h"

namespace {

constexpr int kCalibratedWhiteWithTrim = 3;

bool colour_trim_on(const CAdjustValue &record)
{
    return (record.visual_trim_flags & CAdjustValue::kTrimGains) != 0;
}

} // namespace

bool trims_through_engine(const CAdjustValue &record)
{
    return record.engine_calibrated_word != 0;
}

bool colour_trim_changed(const CAdjustValue &before, const CAdjustValue &after)
{
    if (colour_trim_on(before) != colour_trim_on(after))
        return true;
    if (!colour_trim_on(before))
        return false;
    for (size_t c = 0; c < before.visual_trim_multiplier.size(); ++c) {
        // Not-equal also holds for a value that is not a number.
        if (!(before.visual_trim_multiplier[c] == after.visual_trim_multiplier[c]))
            return true;
    }
    return false;
}

bool trim_needs_table_rewrite(const CAdjustValue &before, const CAdjustValue &after, bool accepted)
{
    return accepted && before.calibration_mode == CAdjustValue::kModeLookupTable
           && colour_trim_changed(before, after);
}

job_list_item table_rewrite_job(bool evaluate)
{
    job_list_item job;
    job.task_list = {JOB_TASK_RESTORE_CALIBRATION_SETTINGS};
    if (evaluate) {
        job.task_list << JOB_TASK_TEST_PATTERNS;
        job.test_pattern_mode = kCalibratedWhiteWithTrim;
    }
    return job;
}
