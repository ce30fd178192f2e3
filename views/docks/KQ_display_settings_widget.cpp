#include "views/docks/KQ_display_settings_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "jobs/job_requests.h"
#include "jobs/ui/run_job_set.h"
#include "views/docks/display_settings_rules.h"

#include "ui_KQ_display_settings_widget.h"

KQ_display_settings_widget::KQ_display_settings_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_display_settings_widgetClass>())
{
    ui->setupUi(this);
    connect(ui->power_on_pushButton, &QPushButton::clicked, this, &KQ_display_settings_widget::power_on);
    connect(ui->power_off_pushButton, &QPushButton::clicked, this, &KQ_display_settings_widget::power_off);
    connect(ui->selected_radioButton, &QRadioButton::toggled, this, &KQ_display_settings_widget::update_ui_state);
    connect(ui->all_radioButton, &QRadioButton::toggled, this, &KQ_display_settings_widget::update_ui_state);
    ui->all_radioButton->setChecked(true);
    for (const video_input_choice &choice : video_input_choices())
        ui->video_input_comboBox->addItem(choice.text, choice.value);
}

KQ_display_settings_widget::~KQ_display_settings_widget() = default;

QList<int> KQ_display_settings_widget::positions() const
{
    return g_master ? display_settings_positions(*g_master->getLayoutManager(), m_currentPosition,
                                                 ui->all_radioButton->isChecked())
                    : QList<int>();
}

void KQ_display_settings_widget::selection_changed(int position)
{
    m_currentPosition = position;
    update_ui_state();
}

void KQ_display_settings_widget::power_on()
{
    run_job_set(power_job_set(positions(), job_power_request::kOn));
}

void KQ_display_settings_widget::power_off()
{
    run_job_set(power_job_set(positions(), job_power_request::kOff));
}

void KQ_display_settings_widget::update_ui_state()
{
    const display_settings_enabling enabling =
        display_settings_enabling_for(positions().size(), ui->video_input_comboBox->currentData().toInt());
    ui->power_on_pushButton->setEnabled(enabling.power);
    ui->power_off_pushButton->setEnabled(enabling.power);
    ui->video_input_comboBox->setEnabled(enabling.power);
    ui->video_input_update_pushButton->setEnabled(enabling.update_input);
}

void KQ_display_settings_widget::on_video_input_update_pushButton_clicked()
{
    const int input = ui->video_input_comboBox->currentData().toInt();
    if (input == 0)
        return;
    const QList<int> reached = positions();
    if (reached.isEmpty())
        return;
    run_job_set(video_input_job_set(reached, input));
    ui->video_input_comboBox->setCurrentIndex(0);
}

void KQ_display_settings_widget::on_video_input_comboBox_currentIndexChanged(int)
{
    update_ui_state();
}
