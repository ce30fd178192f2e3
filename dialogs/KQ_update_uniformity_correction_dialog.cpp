#include "dialogs/KQ_update_uniformity_correction_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/display_link_session.h"
#include "dialogs/engine_procedure_jobs.h"
#include "dialogs/guarded_sensor.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"
#include "dialogs/suppressible_confirmation.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/ui/run_job_set.h"
#include "ui_KQ_update_uniformity_correction_dialog.h"

#include <QEvent>

namespace {

constexpr int kResetMessage = 5;
constexpr int kStartMessage = 6;
constexpr int kConfirmResetText = 732;
constexpr int kConfirmStartText = 734;
constexpr int kMinimumPoints = 3;
constexpr int kPatternOff = 1;
constexpr int kPatternOn = 2;
constexpr int kNoRecord = -1;

CPreferences *preferences()
{
    return g_master ? g_master->getPreferences() : nullptr;
}

} // namespace

KQ_update_uniformity_correction_dialog::KQ_update_uniformity_correction_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_update_uniformity_correction_dialogClass>()), m_vcpTimer(this)
{
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::WindowTitleHint);
    const uniformity_point_counts counts =
        uniformity_point_counts::from_preferences(preferences() ? preferences()->GetUniformityPointCounts() : 0);
    ui->h_spinBox->setMinimum(kMinimumPoints);
    ui->v_spinBox->setMinimum(kMinimumPoints);
    ui->h_spinBox->setValue(counts.horizontal);
    ui->v_spinBox->setValue(counts.vertical);
    ui->uniformity_correction_measurment_point_widget->setNumPointsX(counts.horizontal);
    ui->uniformity_correction_measurment_point_widget->setNumPointsY(counts.vertical);
    update_estimate();
    connect(&m_vcpTimer, &QTimer::timeout, this, &KQ_update_uniformity_correction_dialog::vcp_timer_timeout);
}

KQ_update_uniformity_correction_dialog::~KQ_update_uniformity_correction_dialog() = default;

bool KQ_update_uniformity_correction_dialog::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        adjustSize();
    return QDialog::event(event);
}

template <typename Body>
int KQ_update_uniformity_correction_dialog::exchange(Body &&body)
{
    return run_display_exchange(g_master ? g_master->getMonitor() : nullptr, m_item, std::forward<Body>(body));
}

int KQ_update_uniformity_correction_dialog::set_display(int layout_index)
{
    m_index = layout_index;
    if (const int status = g_master->getLayoutManager()->get_item(layout_index, m_item))
        return status;
    m_portrait = m_item.orientation == display_layout_item::kPortrait;
    ui->uniformity_correction_measurment_point_widget->setOrientation(m_portrait);
    enable_controls();
    read_display_state();
    m_openingPattern = m_pattern = m_state.pattern;
    std::copy(std::begin(m_state.levels), std::end(m_state.levels), std::begin(m_openingLevels));
    {
        const QSignalBlocker blocker(ui->show_calibrated_white_test_pattern_checkBox);
        ui->show_calibrated_white_test_pattern_checkBox->setChecked(m_pattern > kPatternOff);
    }
    if (const int status = update_status_text())
        return status;
    if (m_statusUndetermined)
        on_refresh_status_pushButton_clicked();
    m_initialising = false;
    return 0;
}

void KQ_update_uniformity_correction_dialog::enable_controls()
{
    const bool usable = m_item.enabled && !m_item.id_conflict && m_item.verify_status == display_layout_item::kVerified;
    const QList<QWidget *> controls = {ui->refresh_status_pushButton, ui->reset_pushButton,
                                       ui->show_calibrated_white_test_pattern_checkBox, ui->start_pushButton};
    for (QWidget *control : controls)
        control->setEnabled(usable);
}

void KQ_update_uniformity_correction_dialog::read_display_state()
{
    uniformity_display_state state;
    exchange([&state](basic_monitor &monitor) {
        state = read_uniformity_state(monitor);
        return 0;
    });
    m_state = state;
    QSlider *slider = ui->uniformity_correction_level_horizontalSlider;
    {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(m_state.level_maximum);
        slider->setValue(m_state.level);
    }
    update_uniformity_level_label();
    slider->setEnabled(m_state.level_read);
    ui->uniformity_correction_level_label->setEnabled(m_state.level_read);
}

int KQ_update_uniformity_correction_dialog::update_status_text()
{
    m_statusUndetermined = false;
    monitor_tracker_item record(m_item.model_name, m_item.serial_number);
    const bool found = g_master->getMonitorTracker()->GetAdjustValue(record) >= 0;
    const uniformity_status status =
        uniformity_status_for(m_item, found ? &record : nullptr, m_state.engine_on, m_state.level, m_portrait);
    if (!status.ok)
        return kNoRecord;
    m_statusUndetermined = status.undetermined;
    ui->status_label->setText(status.text);
    return 0;
}

void KQ_update_uniformity_correction_dialog::update_uniformity_level_label()
{
    const int level = ui->uniformity_correction_level_horizontalSlider->value();
    ui->uniformity_correction_level_label->setText(level == 0 ? tr("Off") : tr("%1").arg(level));
    ui->uniformity_warning_label->setEnabled(level > 0);
}

void KQ_update_uniformity_correction_dialog::update_estimate()
{
    ui->estimated_time_taken_status_label->setText(
        uniformity_estimate_text(ui->h_spinBox->value(), ui->v_spinBox->value()));
}

void KQ_update_uniformity_correction_dialog::on_h_spinBox_valueChanged(int value)
{
    update_estimate();
    ui->uniformity_correction_measurment_point_widget->setNumPointsX(value);
}

void KQ_update_uniformity_correction_dialog::on_v_spinBox_valueChanged(int value)
{
    update_estimate();
    ui->uniformity_correction_measurment_point_widget->setNumPointsY(value);
}

void KQ_update_uniformity_correction_dialog::on_uniformity_correction_level_horizontalSlider_valueChanged(int)
{
    m_vcpTimer.stop();
    if (!m_initialising)
        m_vcpTimer.restart();
    update_uniformity_level_label();
}

void KQ_update_uniformity_correction_dialog::vcp_timer_timeout()
{
    const int wanted = ui->uniformity_correction_level_horizontalSlider->value();
    if (wanted != m_state.level) {
        const int status = exchange([wanted](basic_monitor &monitor) {
            uint value = uint(wanted);
            return monitor.set_vcp(control_code::kUniformityLevel, value);
        });
        if (m_vcpTimer.retry_if_busy(status))
            return;
        if (status == 0)
            m_state.level = wanted;
    }
    update_status_text();
    if (m_closeWhenWritten)
        restore_pattern_and_accept();
}

void KQ_update_uniformity_correction_dialog::on_show_calibrated_white_test_pattern_checkBox_toggled(bool checked)
{
    m_pattern = checked ? kPatternOn : kPatternOff;
    const int pattern = m_pattern;
    const uniformity_display_state &state = m_state;
    exchange([pattern, &state](basic_monitor &monitor) {
        const int status = monitor.set_vcp_2c8_or_2c3(pattern, true);
        if (status == 0 && pattern > kPatternOff)
            return monitor.set_rgb_levels(state.level_maxima[0], state.level_maxima[1], state.level_maxima[2], true);
        return status;
    });
}

void KQ_update_uniformity_correction_dialog::on_done_pushButton_clicked()
{
    if (CPreferences *prefs = preferences()) {
        uniformity_point_counts counts;
        counts.horizontal = ui->h_spinBox->value();
        counts.vertical = ui->v_spinBox->value();
        prefs->SetUniformityPointCounts(counts.packed());
    }
    if (m_vcpTimer.isActive()) {
        m_closeWhenWritten = true;
        return;
    }
    restore_pattern_and_accept();
}

void KQ_update_uniformity_correction_dialog::restore_pattern_and_accept()
{
    if (m_pattern != m_openingPattern) {
        const int pattern = m_openingPattern;
        const int *levels = m_openingLevels;
        exchange([pattern, levels](basic_monitor &monitor) {
            const int status = monitor.set_vcp_2c8_or_2c3(pattern, true);
            if (status == 0 && pattern > kPatternOff)
                return monitor.set_rgb_levels(levels[0], levels[1], levels[2], true);
            return status;
        });
        m_pattern = m_openingPattern;
    }
    accept();
}

void KQ_update_uniformity_correction_dialog::reject()
{
    on_done_pushButton_clicked();
}

void KQ_update_uniformity_correction_dialog::run_job(const job_list_item &job, const QString &title)
{
    run_job_set({job, {m_index}, title});
    after_job();
}

void KQ_update_uniformity_correction_dialog::after_job()
{
    read_display_state();
    update_status_text();
}

void KQ_update_uniformity_correction_dialog::on_refresh_status_pushButton_clicked()
{
    run_job(history_read_job(), tr("Reading Calibration History"));
}

void KQ_update_uniformity_correction_dialog::on_reset_pushButton_clicked()
{
    if (!confirm_unless_suppressed(this, kResetMessage, kConfirmResetText))
        return;
    run_job(factory_reset_job(), tr("Resetting to Factory Calibration"));
}

void KQ_update_uniformity_correction_dialog::on_start_pushButton_clicked()
{
    if (!confirm_unless_suppressed(this, kStartMessage, kConfirmStartText))
        return;
    if (guarded_sensor::active().isNull() || run_color_sensor_setup_dialog(false, false, this) != 0)
        return;
    show_sensor_placement_hint(this);
    const CPreferences *prefs = preferences();
    run_job(uniformity_measurement_job(prefs && prefs->GetAutoSetRealTimeClock(), ui->h_spinBox->value(),
                                       ui->v_spinBox->value(), m_portrait),
            tr("Measuring Screen Uniformity"));
}
