#include "views/docks/KQ_calibration_information_dock_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "views/docks/calibration_information.h"

#include "ui_KQ_calibration_information_dock_widget.h"

KQ_calibration_information_dock_widget::KQ_calibration_information_dock_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_calibration_information_dock_widgetClass>())
{
    ui->setupUi(this);
    ui->white_level_widget->set_bar_graident_color(QColor(237, 237, 237), QColor(172, 172, 172));
    m_choice.addButton(ui->calibrated_radioButton, kShowCalibrated);
    m_choice.addButton(ui->uncalibrated_radioButton, kShowUncalibrated);
    m_choice.button(kShowUncalibrated)->click();
    connect(&m_choice, &QButtonGroup::idClicked, this,
            &KQ_calibration_information_dock_widget::showDataButtonGroupButtonGroup);
}

KQ_calibration_information_dock_widget::~KQ_calibration_information_dock_widget() = default;

void KQ_calibration_information_dock_widget::selection_changed(int layoutArrayPosition)
{
    m_selectedIndex = layoutArrayPosition;
    UpdateDataDisplay();
}

void KQ_calibration_information_dock_widget::SetWhitePointMeasuredValue(double x, double y, double Y)
{
    const measured_white_labels labels = measured_white_labels_for(x, y, Y);
    ui->white_level_label->setText(labels.luminance);
    ui->xy_label->setText(labels.xy);
    const bool lit = Y > 0.0;
    ui->white_level_widget->set_value(lit ? Y : 0.0);
    ui->xy_widget->SetMeasured_xy(lit ? x : 0.0, lit ? y : 0.0);
}

void KQ_calibration_information_dock_widget::SetWhitePointTargetxy(double x, double y, bool uses_target_offset)
{
    ui->xy_widget->setToolTip(target_xy_tooltip(x, y, uses_target_offset));
    ui->xy_widget->SetTarget_xy(x, y);
}

void KQ_calibration_information_dock_widget::SetWhitePointTargetLuminanceTargetLevel(double value, bool show,
                                                                                     bool uses_target_offset)
{
    ui->white_level_widget->setToolTip(target_level_tooltip(value, show, uses_target_offset));
    ui->white_level_widget->set_target_level(value);
    ui->white_level_widget->show_target_level(show);
}

void KQ_calibration_information_dock_widget::SetWhitePointTargetLuminanceMinMax(double min, double max)
{
    ui->white_level_widget->set_value_min_max(min, max);
}

void KQ_calibration_information_dock_widget::UpdateDataDisplay()
{
    UpdateData();
    const int click = corrected_choice(ui->calibrated_radioButton->isEnabled(),
                                       ui->calibrated_radioButton->isChecked(),
                                       ui->uncalibrated_radioButton->isEnabled(),
                                       ui->uncalibrated_radioButton->isChecked());
    if (click >= 0)
        m_choice.button(click)->click();
}

void KQ_calibration_information_dock_widget::showDataButtonGroupButtonGroup(int)
{
    UpdateData();
}

void KQ_calibration_information_dock_widget::UpdateData()
{
    if (m_selectedIndex < 0 || !g_master) {
        ui->calibrated_radioButton->setEnabled(false);
        ui->uncalibrated_radioButton->setEnabled(false);
        return;
    }
    display_layout_item item;
    CAdjustValue record;
    const bool found = g_master->getLayoutManager()->get_item(m_selectedIndex, item) == 0
                       && look_up_display_record(*g_master->getMonitorTracker(), item, record);
    const calibration_information shown = calibration_information_for(found ? &record : nullptr,
                                                                       g_master->getTarget());
    if (!shown.has_record) {
        SetWhitePointMeasuredValue(0.0, 0.0, -1.0);
        ui->calibrated_radioButton->setEnabled(false);
        ui->uncalibrated_radioButton->setEnabled(false);
        return;
    }
    SetWhitePointTargetLuminanceMinMax(shown.meter_minimum, shown.meter_maximum);
    SetWhitePointTargetLuminanceTargetLevel(shown.target_level, shown.show_target_level, shown.level_uses_offset);
    SetWhitePointTargetxy(shown.target_x, shown.target_y, shown.xy_uses_offset);
    ui->calibrated_radioButton->setEnabled(shown.calibrated_available);
    ui->uncalibrated_radioButton->setEnabled(shown.uncalibrated_available);
    const CCIEXYZ &white = m_choice.checkedId() == kShowCalibrated ? shown.white_after_calibration
                                                                   : shown.white_before_calibration;
    const CIExy xy = white.ToCIExy();
    SetWhitePointMeasuredValue(xy.x, xy.y, white.Y);
}
