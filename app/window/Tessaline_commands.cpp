// The main window's commands that act on displays or open the dialogs of
// other parts of the program. Each comes with the dialog or job it runs.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "dialogs/set_calibration_order_dialog.h"
#include "layout_setup/layout_wizard_command.h"
#include "ui_Tessaline.h"

#include <QDialog>

void Tessaline::on_actionGenerate_ICC_Display_Profile_triggered()
{
}

void Tessaline::on_actionPreferences_triggered()
{
    KQ_Preferences_Dialog dialog;
    if (dialog.exec() != QDialog::Accepted)
        return;
    updateControlsStatus();
    emit updateTargetInfo();
    if (const CPreferences *prefs = preferences())
        m_ui->actionZoom_main_view->setChecked(prefs->GetExpandMainView());
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
}

void Tessaline::on_actionTile_Matrix_Wizard_triggered()
{
}

void Tessaline::on_actionTarget_triggered()
{
    if (!g_master)
        return;
    KQ_edit_target_dialog dialog(g_master->getTarget(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    g_master->setTarget(dialog.target());
    CalculateNewTargetWhitePoint(true);
    emit out_updateControlsStatus();
}

void Tessaline::on_actionCalibration_Target_Offset_triggered()
{
}

void Tessaline::on_actionDisplay_Settings_triggered()
{
    kq_monitor_control_panel_dialog dialog(selected_display_index(), this);
    dialog.exec();
}

void Tessaline::on_actionUpdate_Factory_Color_Calibration_triggered()
{
}

void Tessaline::on_actionAbout_triggered()
{
}

void Tessaline::on_actionCheck_for_updates_triggered()
{
}

void Tessaline::on_actionUser_s_Guide_triggered()
{
}

void Tessaline::verify_Monitor_Firmware()
{
}

void Tessaline::verify_RS232_COM_Port()
{
}

void Tessaline::identify_display(int)
{
}

void Tessaline::power_on_display(int, int)
{
}

void Tessaline::set_osd_orientation(int, int)
{
}

void Tessaline::CalculateNewTargetWhitePoint(bool)
{
}

// The information dialog arrives with the adjustment and report dialogs.
void Tessaline::show_information_dialog()
{
}

void Tessaline::itemMenuAboutToShow()
{
}
