#include "jobs/operation_progress_rules.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/services/error_code_table.h"
#include "jobs/job_task_type.h"

#include <QCoreApplication>

namespace {

constexpr int kProgressScale = 1000;
constexpr qint32 kTrimmedWhitePattern = 3;

} // namespace

bool uses_colour_sensor(const job_list_item &job)
{
    return job.has_task(JOB_TASK_MEASURE_PRIMARIES) || job.has_task(JOB_TASK_CALIBRATE)
           || job.has_task(JOB_TASK_UPDATE_CALIBRATION);
}

QList<job_list_item> expand_job_template(const job_list_item &job_template, const QList<int> &positions,
                                         const layout_manager &layout, const std::function<int()> &next_id)
{
    const bool sensor = uses_colour_sensor(job_template);
    QList<job_list_item> jobs;
    for (int position : positions) {
        display_layout_item display;
        if (layout.get_item(position, display) != 0)
            continue;
        job_list_item job = job_template;
        job.connection_key = display.connection_address;
        job.monitor_id = display.monitor_id;
        job.connection_type = display.connection_type;
        job.position = position;
        job.job_id = next_id();
        if (sensor)
            job.exclusive = 1;
        jobs << job;
    }
    return jobs;
}

bool job_failed(const job_list_item &job)
{
    return job.result != 0 || job.job_parameters.error_code != 0 || !job.job_parameters.error_text.isEmpty();
}

bool is_stopped_or_cancelled(qint32 code)
{
    return code == JOB_RESULT_STOPPED || code == JOB_RESULT_CANCELLED;
}

QString job_error_message(const job_list_item &job)
{
    if (!job.job_parameters.error_text.isEmpty())
        return job.job_parameters.error_text;
    return error_code_text(job.effective_result());
}

bool can_retry(const job_list_item &job)
{
    return job.job_parameters.error_code != 0 || job.result == JOB_RESULT_CANCELLED;
}

job_list_item retry_job(const job_list_item &job, int job_id)
{
    job_list_item again = job;
    again.job_id = job_id;
    again.job_parameters = job_parameters_block();
    again.result = 0;
    return again;
}

bool make_follow_up_lut_job(const job_list_item &finished, int job_id, job_list_item &follow_up)
{
    if (job_failed(finished) || !finished.has_task(JOB_TASK_CALIBRATE)
        || finished.job_parameters.follow_up_lut_update == 0)
        return false;
    follow_up = retry_job(finished, job_id);
    follow_up.exclusive = 0;
    follow_up.task_list = {JOB_TASK_UPDATE_LUTS};
    if (finished.has_task(JOB_TASK_TEST_PATTERNS) && finished.test_pattern_mode == kTrimmedWhitePattern)
        follow_up.task_list << JOB_TASK_TEST_PATTERNS;
    return true;
}

QString completed_count_text(int results, int errors, int running, int pending)
{
    return QCoreApplication::translate("KQ_multithreaded_operation_progress_dialog", "%1 of %2 completed")
        .arg(results - errors)
        .arg(running + pending + results);
}

QString display_status_text(const display_job_status_info_item &status)
{
    if (status.sub_task_text.isEmpty())
        return status.task_text;
    return status.task_text + QStringLiteral(" : ") + status.sub_task_text;
}

progress_bar_value display_progress(const display_job_status_info_item &status)
{
    progress_bar_value bar;
    if (status.task_total == 0) {
        bar.value = status.last_result == 0 ? 1 : 0;
        return bar;
    }
    bar.maximum = status.task_total * kProgressScale;
    bar.value = status.task_step * kProgressScale;
    if (status.sub_task_total != 0)
        bar.value += status.sub_task_step * kProgressScale / status.sub_task_total;
    // A bar ignores a value beyond its range; a report past the end shows full.
    bar.value = qBound(0, bar.value, bar.maximum);
    return bar;
}
