#include "control_panel/core/power_page_rules.h"

#include "jobs/job_task_type.h"

#include <QCoreApplication>

namespace power_page_rules {
namespace {

constexpr int kStaggerSteps = 3;   // 6, 4 and 2 displays per second

QString tr(const char *text)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text);
}

} // namespace

job_list_item power_job(int mode, bool read_back)
{
    job_list_item job;
    job.task_list = {JOB_TASK_POWER_STATE};
    job.power.mode = mode;
    job.power.set = 1;
    job.power.read_back = read_back ? 1 : 0;
    return job;
}

power_outcome first_job_outcome(const QList<job_list_item> &results)
{
    if (results.isEmpty())
        return {};
    const job_list_item &first = results.first();
    const int status = first.effective_result() != 0 ? first.effective_result() : first.job_parameters.power.result;
    if (!first.job_parameters.power.done || status != 0)
        return {status != 0 ? status : JOB_RESULT_CANCELLED, 0};
    return {0, first.job_parameters.power.mode};
}

QString delay_text(int value, int target_count)
{
    if (target_count <= 1)
        return (value == 1 ? tr("%L1 second") : tr("%L1 seconds")).arg(value);
    if (value <= 0)
        return tr("Disabled");
    if (value <= kStaggerSteps)
        return tr("%L1 displays per second").arg((kStaggerSteps + 1 - value) * 2);
    if (value == kStaggerSteps + 1)
        return tr("Displays staggered by %L1 second").arg(1);
    return tr("Displays staggered by %L1 seconds").arg(value - kStaggerSteps);
}

int slider_maximum(int display_maximum, int target_count)
{
    if (target_count <= 1)
        return display_maximum;
    if (target_count > display_maximum + 1)
        return kStaggerSteps;
    return kStaggerSteps + display_maximum / (target_count - 1);
}

int staggered_delay(int value, int position)
{
    switch (value) {
    case 1:
        return position / 6;
    case 2:
        return position / 4;
    case 3:
        return position / 2;
    default:
        return value > kStaggerSteps ? position * (value - kStaggerSteps) : 0;
    }
}

} // namespace power_page_rules
