#include "dialogs/display_job_run.h"

#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

void run_display_jobs(const job_list_item &job, const QList<int> &positions, const QString &title)
{
    if (positions.isEmpty())
        return;
    KQ_multithreaded_operation_progress_dialog dialog;
    dialog.add_job(job, positions, title);
    if (dialog.start_jobs() == 0)
        dialog.exec();
}
