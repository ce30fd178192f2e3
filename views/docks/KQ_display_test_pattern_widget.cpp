#include "views/docks/KQ_display_test_pattern_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "jobs/ui/run_job_set.h"
#include "views/docks/test_pattern_rules.h"

#include "ui_KQ_display_test_pattern_widget.h"

KQ_display_test_pattern_widget::KQ_display_test_pattern_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_display_test_pattern_widgetClass>())
{
    ui->setupUi(this);
    connect(ui->off_pushButton, &QPushButton::clicked, this, &KQ_display_test_pattern_widget::pattern_off);
    connect(ui->on_calibrated_pushButton, &QPushButton::clicked, this,
            &KQ_display_test_pattern_widget::pattern_calibrated);
    connect(ui->on_calibrated_with_trim_pushButton, &QPushButton::clicked, this,
            &KQ_display_test_pattern_widget::pattern_calibrated_with_trim);
    connect(ui->on_full_pushButton, &QPushButton::clicked, this, &KQ_display_test_pattern_widget::pattern_full);
    connect(ui->selected_radioButton, &QRadioButton::toggled, this, &KQ_display_test_pattern_widget::update_ui_state);
    connect(ui->all_radioButton, &QRadioButton::toggled, this, &KQ_display_test_pattern_widget::update_ui_state);
    ui->all_radioButton->setChecked(true);
}

KQ_display_test_pattern_widget::~KQ_display_test_pattern_widget() = default;

void KQ_display_test_pattern_widget::selection_changed(int position)
{
    m_currentPosition = position;
    update_ui_state();
}

void KQ_display_test_pattern_widget::send_pattern(int pattern)
{
    if (g_master)
        run_job_set(test_pattern_job_set(*g_master->getLayoutManager(), m_currentPosition, pattern,
                                         ui->all_radioButton->isChecked()));
    emit test_patterns_changed(shows_evaluation_pattern(pattern));
}

void KQ_display_test_pattern_widget::pattern_off()
{
    send_pattern(kPatternOff);
}

void KQ_display_test_pattern_widget::pattern_calibrated()
{
    send_pattern(kPatternCalibrated);
}

void KQ_display_test_pattern_widget::pattern_full()
{
    send_pattern(kPatternFullWhite);
}

void KQ_display_test_pattern_widget::pattern_calibrated_with_trim()
{
    send_pattern(kPatternCalibratedTrim);
}

void KQ_display_test_pattern_widget::update_ui_state()
{
    if (!g_master)
        return;
    const test_pattern_enabling enabling =
        test_pattern_enabling_for(*g_master->getLayoutManager(), *g_master->getMonitorTracker(), m_currentPosition,
                                  ui->all_radioButton->isChecked());
    ui->off_pushButton->setEnabled(enabling.off);
    ui->on_full_pushButton->setEnabled(enabling.full_white);
    ui->on_calibrated_pushButton->setEnabled(enabling.calibrated);
    ui->on_calibrated_with_trim_pushButton->setEnabled(enabling.calibrated_with_trim);
}
