#include "jobs/ui/run_job_set.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

QList<job_list_item> run_job_set(const job_set &set)
{
    const layout_manager *layout = g_master ? g_master->getLayoutManager() : nullptr;
    if (!layout || set.positions.isEmpty())
        return {};
    KQ_multithreaded_operation_progress_dialog dialog;
    for (const auto &addition : job_set_additions(set, *layout))
        dialog.add_job(addition.first, addition.second, set.text);
    // Without a job the dialog would wait for one forever.
    if (dialog.start_jobs() != 0)
        return {};
    dialog.exec();
    return dialog.get_job_results();
}
