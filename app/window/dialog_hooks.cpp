#include "app/window/dialog_hooks.h"

#include "calibration/ui/main_controller_fifth_step.h"
#include "dialogs/kq_calibration_offset_dialog.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"
#include "dialogs/trim_operations.h"
#include "jobs/ui/run_job_set.h"
#include "layout_setup/CProjectorBrowseDlg.h"
#include "views/docks/network_search_opener.h"
#include "views/wall/target_offset_opener.h"

namespace {

void edit_target_offset(int layout_index, QWidget *parent)
{
    kq_calibration_offset_dialog dialog(layout_index, parent);
    dialog.exec();
}

void run_jobs(const job_list_item &job, const QList<int> &positions, const QString &text)
{
    run_job_set({job, positions, text});
}

void visual_trim(QWidget *dock, int position, bool evaluate_calibration)
{
    run_visual_trim(dock, position, evaluate_calibration, run_jobs);
}

bool search_network(QWidget *parent, const network_search_request &request, QString &chosen)
{
    CProjectorBrowseDlg dialog(parent, request.mode);
    dialog.SetUsedIPAddresses(request.used_addresses);
    dialog.SetExistingDisplays(request.existing_displays);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // An accepted dialog without a selected row must not blank the address.
    const QString address = dialog.GetSelectedIPAddress();
    if (address.isEmpty())
        return false;
    chosen = address;
    return true;
}

} // namespace

void install_dialog_hooks()
{
    install_color_sensor_setup_dialog();
    set_target_offset_opener(edit_target_offset);
    set_fifth_step_operations({visual_trim, run_uniformity_update});
    set_network_search_opener(search_network);
}
