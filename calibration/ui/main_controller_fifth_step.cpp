#include "calibration/ui/main_controller_fifth_step.h"

#include "calibration/ui/KQ_main_controller_dock_widget.h"

#include <QCheckBox>

#include "ui_KQ_main_controller_dock_widget.h"

namespace {

fifth_step_operations &installed()
{
    static fifth_step_operations operations;
    return operations;
}

} // namespace

void set_fifth_step_operations(fifth_step_operations operations) { installed() = std::move(operations); }

void KQ_main_controller_dock_widget::onvisual_trim_display()
{
    if (installed().visual_trim)
        installed().visual_trim(this, m_position, ui->evaluate_calibration_mode_checkBox->isChecked());
}

void KQ_main_controller_dock_widget::onupdate_uniformity_display_pushButton()
{
    if (installed().uniformity_update)
        installed().uniformity_update(this, m_position);
}
