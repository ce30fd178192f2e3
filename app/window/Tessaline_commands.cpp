// The main window's commands that act on displays or open the dialogs of
// other parts of the program. Each comes with the dialog or job it runs.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/display_commands.h"
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/file_dialogs.h"
#include "app/services/ui/message_boxes.h"
#include "app/window/KQ_About_Dialog.h"
#include "app/window/icc_profile_command.h"
#include "app/window/url_opener.h"
#include "colour/CAdjustValue.h"
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/KQ_update_factory_color_calibration_dialog.h"
#include "dialogs/kq_calibration_offset_dialog.h"
#include "dialogs/set_calibration_order_dialog.h"
#include "icc/write_icc_display_profile.h"
#include "jobs/job_list_item.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "jobs/ui/run_job_set.h"
#include "layout_setup/KQ_tile_matrix_wizard.h"
#include "layout_setup/layout_wizard_command.h"
#include "ui_Tessaline.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDialog>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr int kIccProfileFilterId = 23;
constexpr int kSaveIccProfileCaptionId = 24;

void show_status(QWidget *parent, int status)
{
    if (status != 0)
        show_error_message(parent, status, false, false, false);
}

} // namespace

void Tessaline::on_actionGenerate_ICC_Display_Profile_triggered()
{
    display_layout_item item;
    CAdjustValue record;
    if (layout().get_item(m_selectedIndex, item) != 0 || !look_up_display_record(records(), item, record))
        return;
    // The dialog opens in the proposed folder only when it exists.
    QDir().mkpath(common_documents_folder());
    const QString chosen = get_save_file_name(this, string_resource(kSaveIccProfileCaptionId),
                                              proposed_icc_profile_path(common_documents_folder(), item),
                                              string_resource(kIccProfileFilterId));
    if (chosen.isEmpty())
        return;
    CIccProfile profile;
    const bool adobe_cmm = true;
    show_status(this, write_icc_display_profile(
                          profile, icc_profile_request(icc_profile_path(chosen), item, record, g_master->getTarget()),
                          adobe_cmm));
}

void Tessaline::on_actionPreferences_triggered()
{
    KQ_Preferences_Dialog dialog;
    if (dialog.exec() != QDialog::Accepted)
        return;
    updateControlsStatus();
    emit updateTargetInfo();
    refresh_information_dialog();
    if (const CPreferences *prefs = preferences()) {
        // setChecked does not trigger the action: the view follows by hand.
        const bool expand = prefs->GetExpandMainView();
        m_ui->actionZoom_main_view->setChecked(expand);
        zoom_main_view(expand);
    }
}

void Tessaline::on_actionLayout_triggered()
{
    // The records of the displays stay: a display keeps its record when it
    // reappears in the new layout.
    if (run_layout_wizard(layout()) != QDialog::Accepted)
        return;
    create_central_widget();
    reshowDocks();
}

void Tessaline::on_actionSet_Calibration_Order_triggered()
{
    set_calibration_order_dialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    create_central_widget();
    reshowDocks();
    updateControlsStatus();
    emit updateTargetInfo();
    refresh_information_dialog();
}

void Tessaline::on_actionTile_Matrix_Wizard_triggered()
{
    KQ_tile_matrix_wizard wizard(layout(), this);
    wizard.exec();
}

void Tessaline::on_actionCalibration_Target_Offset_triggered()
{
    kq_calibration_offset_dialog dialog(selected_display_index(), this);
    dialog.exec();
}

void Tessaline::on_actionDisplay_Settings_triggered()
{
    kq_monitor_control_panel_dialog dialog(selected_display_index(), this);
    dialog.exec();
    emit select_first_position();
}

void Tessaline::on_actionUpdate_Factory_Color_Calibration_triggered()
{
    KQ_update_factory_color_calibration_dialog dialog(this);
    dialog.exec();
}

void Tessaline::on_actionAbout_triggered()
{
    KQ_About_Dialog dialog(this);
    dialog.exec();
}

void Tessaline::on_actionCheck_for_updates_triggered()
{
    m_automaticUpdateCheck = false;
    check_for_updates();
}

void Tessaline::on_actionUser_s_Guide_triggered()
{
    // The desktop reports success for a file that is not there; look first.
    const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/Users Guide.pdf");
    if (QFileInfo(guide).isFile() && open_url(QUrl::fromLocalFile(guide)))
        return;
    show_notice_box(this,
                    tr("Unable to open the User's Guide file.<br><br>Unable to find the file, or the system does not "
                       "recognize the .pdf file extension."),
                    nullptr, QMessageBox::Information, false, false);
}

void Tessaline::runJobOnEveryDisplay(int task, const QString &title)
{
    job_set set;
    set.job_template.task_list = {task};
    set.positions = layout().get_display_indexes(false, true);
    set.text = title;
    run_job_set(set);
    emit out_updateControlsStatus();
}

void Tessaline::verify_Monitor_Firmware()
{
    runJobOnEveryDisplay(JOB_TASK_CHECK_CAPABILITIES_FULL, tr("Verifying Monitor Firmware"));
}

void Tessaline::verify_RS232_COM_Port()
{
    runJobOnEveryDisplay(JOB_TASK_LUT_READ_TEST, tr("Verifying RS232 COM Port"));
}

void Tessaline::runDisplayCommand(int index, display_command command, int value)
{
    display_layout_item item;
    basic_monitor *monitor = g_master->getMonitor();
    if (!monitor || layout().get_item(index, item) != 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int status = run_display_command(*monitor, item, command, value);
    QApplication::restoreOverrideCursor();
    show_status(this, status);
}

void Tessaline::identify_display(int index)
{
    runDisplayCommand(index, display_command::identify, 0);
}

void Tessaline::power_on_display(int index, int state)
{
    runDisplayCommand(index, display_command::power, state);
}

void Tessaline::set_osd_orientation(int index, int value)
{
    runDisplayCommand(index, display_command::osd_orientation, value);
}

void Tessaline::show_information_dialog()
{
    KQ_Information_Dialog *dialog = g_information_dialog;
    if (!dialog)
        return;
    CPreferences *prefs = preferences();
    if (dialog->isVisible()) {
        if (prefs)
            prefs->SetInformationDialogGeometry(dialog->saveGeometry());
        dialog->close();
        return;
    }
    const bool placed = prefs && !prefs->GetInformationDialogGeometry().isEmpty();
    if (placed)
        dialog->restoreGeometry(prefs->GetInformationDialogGeometry());
    dialog->show();
    // Until the operator gives it a place, it shows as much of the wall as fits.
    if (!placed)
        dialog->fit_to_screen();
    dialog->activateWindow();
}

void Tessaline::refresh_information_dialog()
{
    if (g_information_dialog)
        g_information_dialog->update_info();
}

void Tessaline::itemMenuAboutToShow()
{
    m_ui->action_Information_Window->setChecked(g_information_dialog && g_information_dialog->isVisible());
}
