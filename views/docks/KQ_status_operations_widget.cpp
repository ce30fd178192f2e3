#include "views/docks/KQ_status_operations_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/string_resource.h"
#include "jobs/ui/run_job_set.h"
#include "views/docks/status_operations_rules.h"

#include "ui_KQ_status_operations_widget.h"

#include <QMessageBox>

namespace {

constexpr int kApplicationNameId = 1;

} // namespace

KQ_status_operations_widget::KQ_status_operations_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_status_operations_widgetClass>())
{
    ui->setupUi(this);
    connect(ui->reset_Calibration_pushButton, &QPushButton::clicked, this,
            &KQ_status_operations_widget::reset_Calibration);
    connect(ui->reset_Measurements_pushButton, &QPushButton::clicked, this,
            &KQ_status_operations_widget::reset_Measurements);
    connect(ui->restore_Calibration_Settings_pushButton, &QPushButton::clicked, this,
            &KQ_status_operations_widget::restore_Calibration_Settings);
    connect(ui->selected_radioButton, &QRadioButton::toggled, this, &KQ_status_operations_widget::update_ui_state);
    connect(ui->all_radioButton, &QRadioButton::toggled, this, &KQ_status_operations_widget::update_ui_state);
    ui->all_radioButton->setChecked(true);
}

KQ_status_operations_widget::~KQ_status_operations_widget() = default;

bool KQ_status_operations_widget::apply_to_all() const
{
    return ui->all_radioButton->isChecked();
}

void KQ_status_operations_widget::selection_changed(int position)
{
    m_currentPosition = position;
    update_ui_state();
}

void KQ_status_operations_widget::reset_records(const record_reset_plan &plan)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, string_resource(kApplicationNameId), string_resource(plan.question_id),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes && g_master)
        reset_calibration_records(*g_master->getLayoutManager(), *g_master->getMonitorTracker(), plan.positions,
                                  plan.variant);
}

void KQ_status_operations_widget::reset_Calibration()
{
    if (g_master)
        reset_records(calibration_reset_plan(*g_master->getLayoutManager(), m_currentPosition, apply_to_all()));
}

void KQ_status_operations_widget::reset_Measurements()
{
    if (g_master)
        reset_records(measurement_reset_plan(*g_master->getLayoutManager(), m_currentPosition, apply_to_all()));
}

void KQ_status_operations_widget::restore_Calibration_Settings()
{
    if (g_master)
        run_job_set(restore_calibration_job_set(*g_master->getLayoutManager(), m_currentPosition, apply_to_all()));
}

void KQ_status_operations_widget::update_ui_state()
{
    if (!g_master)
        return;
    const status_operations_enabling enabling = status_operations_enabling_for(
        *g_master->getLayoutManager(), *g_master->getMonitorTracker(), m_currentPosition, apply_to_all());
    ui->restore_Calibration_Settings_pushButton->setEnabled(enabling.restore_calibration);
    ui->reset_Calibration_pushButton->setEnabled(enabling.reset_calibration);
    ui->reset_Measurements_pushButton->setEnabled(enabling.reset_measurements);
}
