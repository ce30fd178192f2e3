#include "views/docks/kq_target_summary_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "views/docks/target_summary.h"

#include "ui_kq_target_summary_widget.h"

kq_target_summary_widget::kq_target_summary_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::kq_target_summary_widgetClass>())
{
    ui->setupUi(this);
    // Again through the label, so that high-DPI screens get the "@2x" pictures.
    ui->main_Target_White_Point_label->setPixmapByFileName(
        QStringLiteral(":/images/Resources/gamut white small full color.png"));
    ui->main_Target_Gamma_icon_label->setPixmapByFileName(QStringLiteral(":/images/Resources/gamma blue small.png"));
    ui->main_Target_Intensity_icon_label->setPixmapByFileName(
        QStringLiteral(":/images/Resources/brightness_flat_16x16.png"));
    ui->main_Target_Contrast_Ratio_icon_label->setPixmapByFileName(
        QStringLiteral(":/images/Resources/contrast small full color.png"));
}

kq_target_summary_widget::~kq_target_summary_widget() = default;

void kq_target_summary_widget::updateTargetInfo()
{
    if (!g_master)
        return;
    const CPreferences *preferences = g_master->getPreferences();
    const target_summary summary =
        summarize_target(g_master->getTarget(), preferences ? preferences->GetCalibrationMethod() : 0);
    ui->main_Target_White_Point_Text->setText(summary.white_point);
    ui->main_Target_Gamma_Text->setText(summary.gamma);
    ui->main_Target_Intensity_Text->setText(summary.intensity);
    ui->main_Target_Contrast_Ratio_Text->setText(summary.contrast_ratio);
    ui->main_Target_Contrast_Ratio_Text->setEnabled(summary.contrast_row_enabled);
    ui->main_Target_Contrast_Ratio_label->setEnabled(summary.contrast_row_enabled);
    ui->main_Target_Contrast_Ratio_icon_label->setEnabled(summary.contrast_row_enabled);
}

void kq_target_summary_widget::on_edit_pushButton_clicked()
{
    emit edit_target();
}
