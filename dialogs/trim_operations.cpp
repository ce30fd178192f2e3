#include "dialogs/trim_operations.h"

#include "app/controller/MasterControl.h"
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/ui/message_boxes.h"
#include "colour/CAdjustValue.h"
#include "dialogs/KQ_update_uniformity_correction_dialog.h"
#include "dialogs/kq_visual_trim_dialog.h"
#include "dialogs/kq_visual_trim_kqe_dialog.h"
#include "dialogs/trim_operation_rules.h"

#include <QCoreApplication>

namespace {

bool display_record(int position, CAdjustValue &record)
{
    display_layout_item item;
    return g_master->getLayoutManager()->get_item(position, item) == 0
           && look_up_display_record(*g_master->getMonitorTracker(), item, record);
}

// Loads |dialog| for |position| and runs it; the dialog's result, or
// QDialog::Rejected when it could not load (the code is shown).
template <class Dialog>
int load_and_run(Dialog &dialog, QWidget *dock, int position)
{
    const int status = dialog.setCurrent_layoutArrayPosition(position);
    if (status != 0) {
        show_error_message(dock, status, false, false, false);
        return QDialog::Rejected;
    }
    return dialog.exec();
}

} // namespace

void run_visual_trim(QWidget *dock, int position, bool evaluate_calibration, const display_jobs_runner &run_jobs)
{
    CAdjustValue before;
    if (!display_record(position, before))
        return;
    if (trims_through_engine(before)) {
        kq_visual_trim_kqe_dialog dialog;
        load_and_run(dialog, dock, position);
        return;
    }
    kq_visual_trim_dialog dialog;
    const bool accepted = load_and_run(dialog, dock, position) == QDialog::Accepted;
    CAdjustValue after;
    if (!display_record(position, after) || !trim_needs_table_rewrite(before, after, accepted))
        return;
    run_jobs(table_rewrite_job(evaluate_calibration), {position},
             QCoreApplication::translate("KQ_main_controller_dock_widget", "Updating display calibration LUTs"));
}

void run_uniformity_update(QWidget *dock, int position)
{
    KQ_update_uniformity_correction_dialog dialog;
    const int status = dialog.set_display(position);
    if (status != 0) {
        show_error_message(dock, status, false, false, false);
        return;
    }
    dialog.exec();
}
