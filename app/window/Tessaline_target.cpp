// The Calibration Target command and the maximum-matching recomputation:
// what a new target means for the displays already calibrated to the old one.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/calibration_record_reset.h"
#include "app/controller/color_calc_utils.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/controller/target_change_plan.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "jobs/job_list_item.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/run_job_set.h"

namespace {

constexpr int kRestoreQuestionId = 724;
constexpr int kRecalibrateQuestionId = 707;
constexpr int kMaxMatchingChangedQuestionId = 606;

int ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton default_button, QMessageBox::Icon icon)
{
    return show_message_box(parent, text, nullptr, buttons, default_button, icon, false, false);
}

} // namespace

void Tessaline::on_actionTarget_triggered()
{
    KQ_edit_target_dialog dialog(g_master->getTarget(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    apply_edited_target(dialog.target());
}

void Tessaline::apply_edited_target(const CTargetValue &edited)
{
    const CTargetValue old_target = g_master->getTarget();
    target_change_plan plan;
    if (layout().get_calibrated_display_indexes(false, true).isEmpty())
        g_master->setTarget(edited);
    else if (edited != old_target)
        plan = plan_target_change(old_target, edited, layout());

    if (!plan.restore.isEmpty()) {
        const int answer = ask(this, string_resource(kRestoreQuestionId),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton,
                               QMessageBox::Warning);
        if (answer == QMessageBox::Yes || answer == QMessageBox::No)
            g_master->setTarget(edited);
        if (answer != QMessageBox::Yes)
            plan.restore.clear();
        if (!plan.restore.isEmpty())
            records().SetModified(true);
    }
    if (!plan.recalibrate.isEmpty()) {
        const int answer = ask(this, string_resource(kRecalibrateQuestionId), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::NoButton, QMessageBox::Warning);
        if (answer == QMessageBox::Yes) {
            g_master->setTarget(edited);
            reset_calibration_records(plan.recalibrate);
        }
    }

    CalculateNewTargetWhitePoint(true);
    emit out_updateControlsStatus();
    if (!plan.restore.isEmpty())
        runRestoreJobs(plan.restore);
}

void Tessaline::runRestoreJobs(const QList<int> &positions)
{
    job_set restore;
    restore.job_template.task_list = {JOB_TASK_RESTORE_CALIBRATION_SETTINGS};
    restore.positions = positions;
    restore.text = tr("Updating and restoring previous calibration");
    run_job_set(restore);
}

void Tessaline::reset_calibration_records(const QList<int> &indexes)
{
    ::reset_calibration_records(layout(), records(), indexes, kRecordReset);
}

void Tessaline::CalculateNewTargetWhitePoint(bool ask_if_changed)
{
    CTargetValue target = g_master->getTarget();
    if (target.GetIntensityMode() != CTargetValue::kIntensityMaximumMatching) {
        emit updateTargetInfo();
        return;
    }
    const double stored = target.GetMaxMatchingLuminance();
    double computed = -1.0;
    if (color_calc_utils().calculate_max_matching_luminance(target, computed) != 0)
        computed = -1.0;

    const QList<int> calibrated = layout().get_calibrated_display_indexes(false, true);
    switch (decide_max_matching_update(stored, computed, ask_if_changed, !calibrated.isEmpty())) {
    case max_matching_update::keep:
        break;
    case max_matching_update::store:
        target.SetMaxMatchingLuminance(computed);
        g_master->setTarget(target);
        break;
    case max_matching_update::ask: {
        const QString question = string_resource(kMaxMatchingChangedQuestionId)
                                     .arg(to_display_luminance_text(stored, 1, true),
                                          to_display_luminance_text(computed, 1, true));
        if (ask(this, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Question)
            == QMessageBox::Yes) {
            target.SetMaxMatchingLuminance(computed);
            g_master->setTarget(target);
            reset_calibration_records(calibrated);
        }
        break;
    }
    }
    emit updateTargetInfo();
}
