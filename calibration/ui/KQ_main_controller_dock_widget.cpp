#include "calibration/ui/KQ_main_controller_dock_widget.h"

#include "ui_KQ_main_controller_dock_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/calibration_record_reset.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "calibration/calibration_step_plans.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "jobs/ui/run_job_set.h"
#include "jobs/ui/sensor_preparation.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

constexpr int kApplicationName = 1;
constexpr bool kAllDisplays = false;
constexpr bool kSelectedOnly = true;
constexpr bool kEnabledOnly = true;
const QString kDarkButtons =
    QStringLiteral("QPushButton:enabled { color : black; } QPushButton:disabled { color : gray;}");

layout_manager &wall() { return *g_master->getLayoutManager(); }
CPreferences &preferences() { return *g_master->getPreferences(); }

int ask(QWidget *parent, int text_id, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preset)
{
    return QMessageBox::question(parent, string_resource(kApplicationName), string_resource(text_id), buttons, preset);
}

// Remaining, All or Cancel.
step_scope ask_scope(QWidget *parent, int text_id)
{
    QMessageBox box(QMessageBox::Question, string_resource(kApplicationName), string_resource(text_id),
                    QMessageBox::NoButton, parent);
    QPushButton *remaining = box.addButton(QObject::tr("Remaining"), QMessageBox::ActionRole);
    QPushButton *all = box.addButton(QObject::tr("All"), QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == remaining)
        return step_scope::remaining;
    if (box.clickedButton() == all)
        return step_scope::all;
    return step_scope::cancel;
}

} // namespace

KQ_main_controller_dock_widget::KQ_main_controller_dock_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_main_controller_dock_widgetClass>())
{
    ui->setupUi(this);
    using dock = KQ_main_controller_dock_widget;
    const auto link = [this](QPushButton *button, void (dock::*slot)()) {
        connect(button, &QPushButton::clicked, this, slot);
    };
    link(ui->verify_displays_pushButton, &dock::onconfirm_displays);
    link(ui->verify_selected_displays_pushButton, &dock::onconfirm_selected_display);
    link(ui->initialize_displays_pushButton, &dock::oninitialize_displays);
    link(ui->initialize_selected_display_pushButton, &dock::oninitialize_selected_display);
    link(ui->measure_display_pushButton, &dock::onmeasure_display);
    link(ui->calibrate_display_pushButton, &dock::oncalibrate_display);
    link(ui->calibrate_all_display_pushButton, &dock::oncalibrate_all_displays);
    link(ui->measure_all_display_pushButton, &dock::onmeasure_all_displays);
    link(ui->visual_trim_display_pushButton, &dock::onvisual_trim_display);
    link(ui->update_uniformity_display_pushButton, &dock::onupdate_uniformity_display_pushButton);
    ui->initialize_selected_display_status_static_label->hide();
    ui->initialize_selected_display_status_label->hide();
    update_graphics();
}

KQ_main_controller_dock_widget::~KQ_main_controller_dock_widget() = default;

bool KQ_main_controller_dock_widget::is_evaluate_calibration_mode() const
{
    return ui->evaluate_calibration_mode_checkBox->isEnabled() && ui->evaluate_calibration_mode_checkBox->isChecked();
}

// --- state -------------------------------------------------------------------

bool KQ_main_controller_dock_widget::sensor_connected()
{
    CTargetSensor *factory = g_master->getTargetSensor();
    if (!factory) {
        m_sensor_connected = false;
        return false;
    }
    // A calibrating worker holds the driver for minutes: keep the last
    // reading rather than wait (a detection recomputes afterwards).
    if (!factory->DriverMutex().tryLock())
        return m_sensor_connected;
    const CSensor *sensor = factory->GetSensor();
    m_sensor_connected = sensor && sensor->IsOpen();
    factory->DriverMutex().unlock();
    return m_sensor_connected;
}

void KQ_main_controller_dock_widget::updateControlsStatus()
{
    if (!g_master || !g_master->getLayoutManager() || !g_master->getMonitorTracker() || !g_master->getPreferences())
        return;
    const dock_inputs in = read_dock_inputs(wall(), *g_master->getMonitorTracker(), preferences(),
                                            g_master->getTarget(), m_position, m_without_sensor, sensor_connected());
    const dock_state state = evaluate_dock_state(in);
    if (!m_busy) {
        QCheckBox *box = ui->calibrate_without_sensor_checkBox;
        box->setEnabled(state.without_sensor_allowed);
        if (!state.without_sensor_allowed && box->isChecked()) {
            // Unchecking recomputes the whole dock without the switch; this
            // call's state is stale.
            box->setChecked(false);
            return;
        }
    }
    apply(state);
}

QWidget *KQ_main_controller_dock_widget::control(dock_control which) const
{
    switch (which) {
    case dock_control::verify_all: return ui->verify_displays_pushButton;
    case dock_control::verify_selected: return ui->verify_selected_displays_pushButton;
    case dock_control::initialize_all: return ui->initialize_displays_pushButton;
    case dock_control::initialize_selected: return ui->initialize_selected_display_pushButton;
    case dock_control::measure_selected: return ui->measure_display_pushButton;
    case dock_control::measure_all: return ui->measure_all_display_pushButton;
    case dock_control::calibrate_selected: return ui->calibrate_display_pushButton;
    case dock_control::calibrate_all: return ui->calibrate_all_display_pushButton;
    case dock_control::visual_trim: return ui->visual_trim_display_pushButton;
    case dock_control::evaluate_calibration: return ui->evaluate_calibration_mode_checkBox;
    case dock_control::update_uniformity: return ui->update_uniformity_display_pushButton;
    case dock_control::without_sensor_box: return ui->calibrate_without_sensor_checkBox;
    case dock_control::count: break;
    }
    return nullptr;
}

void KQ_main_controller_dock_widget::apply(const dock_state &state)
{
    ui->groupBox_Initialize->setVisible(state.steps_2_3_visible);
    ui->groupBox_Measure->setVisible(state.steps_2_3_visible);
    if (state.clear_initialize_status) {
        ui->verify_selected_displays_status_label->clear();
        ui->measure_all_display_status_label->clear();
        ui->calibrate_display_status_label->clear();
        ui->initialize_selected_display_status_label->clear();
    } else {
        ui->verify_selected_displays_status_label->setText(state.verify_status);
        ui->measure_all_display_status_label->setText(state.measure_status);
        ui->calibrate_display_status_label->setText(state.calibrate_status);
    }
    ui->measure_all_display_pushButton->setText(state.measure_all_text);
    ui->calibrate_all_display_pushButton->setText(state.calibrate_all_text);
    ui->groupBox_Measure->setTitle(state.measure_title);
    for (int i = 0; i < kDockControlCount; ++i) {
        const auto which = dock_control(i);
        QWidget *widget = control(which);
        widget->setToolTip(state.control(which).tooltip);
        // The box's enabling is step 6's, and left alone while Verify runs.
        if (which != dock_control::without_sensor_box)
            widget->setEnabled(state.control(which).enabled);
    }
}

void KQ_main_controller_dock_widget::selection_changed(int position) { m_position = position; }

void KQ_main_controller_dock_widget::on_calibrate_without_sensor_checkBox_stateChanged(int)
{
    m_without_sensor = ui->calibrate_without_sensor_checkBox->isChecked();
    updateControlsStatus();
}

void KQ_main_controller_dock_widget::set_evaluate_calibration_mode_checkBox(bool checked)
{
    const QSignalBlocker quiet(ui->evaluate_calibration_mode_checkBox);
    ui->evaluate_calibration_mode_checkBox->setChecked(checked);
}

void KQ_main_controller_dock_widget::update_graphics()
{
    const bool dark = QApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
    const QString sheet = dark ? kDarkButtons : QString();
    // Setting the same sheet again would only raise another palette change.
    if (styleSheet() != sheet)
        setStyleSheet(sheet);
}

bool KQ_main_controller_dock_widget::event(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update_graphics();
    return QWidget::event(event);
}

// --- steps -------------------------------------------------------------------

void KQ_main_controller_dock_widget::onconfirm_displays()
{
    verify(wall().get_display_indexes(kAllDisplays, kEnabledOnly));
}

void KQ_main_controller_dock_widget::onconfirm_selected_display()
{
    verify(wall().get_display_indexes(kSelectedOnly, kEnabledOnly));
}

void KQ_main_controller_dock_widget::verify(const QList<int> &displays)
{
    if (displays.isEmpty())
        return;
    m_busy = true;
    run_job_set(verify_plan(displays));
    m_busy = false;
    wall().update_layout();
    emit out_updateControlsStatus();
}

void KQ_main_controller_dock_widget::oninitialize_displays()
{
    initialize(wall().get_display_indexes(kAllDisplays, kEnabledOnly));
}

void KQ_main_controller_dock_widget::oninitialize_selected_display()
{
    initialize(wall().get_display_indexes(kSelectedOnly, kEnabledOnly));
}

void KQ_main_controller_dock_widget::initialize(const QList<int> &displays)
{
    if (displays.isEmpty())
        return;
    const int question = initialize_question(displays, wall().get_calibrated_display_indexes(kAllDisplays, kEnabledOnly));
    if (question != kNoQuestion
        && ask(this, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    run_job_set(initialize_plan(displays, preferences().GetAutoSetRealTimeClock()));
    // Whatever the jobs did: the displays were told to forget their settings.
    reset_calibration_records(wall(), *g_master->getMonitorTracker(), displays, kInitializeReset);
    emit out_updateControlsStatus();
}

bool KQ_main_controller_dock_widget::project_saved()
{
    if (!g_master->getProjectFilePath().isEmpty())
        return true;
    QMessageBox::critical(this, string_resource(kApplicationName), string_resource(kSaveProjectFirst));
    return false;
}

void KQ_main_controller_dock_widget::onmeasure_display()
{
    measure(wall().get_display_indexes(kSelectedOnly, kEnabledOnly));
}

void KQ_main_controller_dock_widget::onmeasure_all_displays()
{
    const QList<int> all = wall().get_display_indexes(kAllDisplays, kEnabledOnly);
    const QList<int> unmeasured = wall().get_unmeasured_display_indexes(kAllDisplays, kEnabledOnly);
    if (all.isEmpty())
        return;
    const step_scope scope = asks_for_scope(all, unmeasured) ? ask_scope(this, kSkipMeasured) : step_scope::all;
    measure(displays_for_scope(scope, all, unmeasured));
}

void KQ_main_controller_dock_widget::measure(const QList<int> &displays)
{
    if (displays.isEmpty() || !project_saved())
        return;
    const int question = measure_question(g_master->getTarget().GetIntensityMode());
    if (question != kNoQuestion
        && ask(this, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    if (run_color_sensor_setup_dialog(false, false, this) != 0)
        return;
    show_sensor_placement_hint(this);
    run_job_set(measure_plan(displays));
    emit CalculateNewTargetWhitePoint(true);
    emit out_updateControlsStatus();
}

bool KQ_main_controller_dock_widget::first_calibration_confirmed(const QList<int> &all, const QList<int> &uncalibrated)
{
    CPreferences &prefs = preferences();
    if (!confirms_first_calibration(all, uncalibrated, prefs.IsMessageSuppressed(kTargetConfirmationMessage)))
        return true;
    bool dont_show = true;
    const int answer = show_message_box(this, string_resource(kConfirmTarget), &dont_show,
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Warning,
                                        false, false);
    if (dont_show)
        prefs.SuppressMessage(kTargetConfirmationMessage);
    return answer == QMessageBox::Yes;
}

void KQ_main_controller_dock_widget::oncalibrate_display()
{
    if (!first_calibration_confirmed(wall().get_display_indexes(kAllDisplays, kEnabledOnly),
                                     wall().get_uncalibrated_display_indexes(kAllDisplays, kEnabledOnly)))
        return;
    calibrate(wall().get_display_indexes(kSelectedOnly, kEnabledOnly));
}

void KQ_main_controller_dock_widget::oncalibrate_all_displays()
{
    QList<int> all;
    QList<int> uncalibrated;
    if (m_without_sensor) {
        all = wall().get_display_indexes_by_calibration_state(kAllDisplays, kEnabledOnly, false, false);
        uncalibrated = wall().get_display_indexes_by_calibration_state(kAllDisplays, kEnabledOnly, true, false);
    } else {
        all = wall().get_display_indexes(kAllDisplays, kEnabledOnly);
        uncalibrated = wall().get_uncalibrated_display_indexes(kAllDisplays, kEnabledOnly);
    }
    if (all.isEmpty() || !first_calibration_confirmed(all, uncalibrated))
        return;
    if (!m_without_sensor && asks_for_scope(all, uncalibrated)) {
        calibrate(displays_for_scope(ask_scope(this, kSkipCalibrated), all, uncalibrated));
        return;
    }
    calibrate(all);
}

void KQ_main_controller_dock_widget::calibrate(const QList<int> &displays)
{
    if (m_without_sensor)
        calibrate_without_sensor(displays);
    else
        calibrate_with_sensor(displays);
}

int KQ_main_controller_dock_widget::confirm_rgb_gain_gamma(QWidget *parent)
{
    if (gain_calibration_accepts_gamma(preferences().GetCalibrationMethod(), g_master->getTarget()))
        return 0;
    return ask(parent, kUnsupportedGainGamma, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
                   == QMessageBox::Ok
               ? 0
               : -1;
}

void KQ_main_controller_dock_widget::calibrate_with_sensor(const QList<int> &displays)
{
    if (displays.isEmpty() || confirm_rgb_gain_gamma(this) != 0 || !project_saved())
        return;
    if (preferences().GetCalibrationMethod() == CAdjustValue::kModeGains
        && ask(this, kInputWhiteSignal, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok)
        return;
    if (run_color_sensor_setup_dialog(false, false, this) != 0)
        return;
    show_sensor_placement_hint(this);
    run_job_set(calibrate_plan(displays, ui->evaluate_calibration_mode_checkBox->isChecked()));
}

void KQ_main_controller_dock_widget::calibrate_without_sensor(const QList<int> &displays)
{
    if (displays.isEmpty() || preferences().GetCalibrationMethod() == CAdjustValue::kModeGains)
        return;
    const QList<job_list_item> results =
        run_job_set(engine_calibrate_plan(displays, ui->evaluate_calibration_mode_checkBox->isChecked()));
    // A cancelled or stopped job, or no job at all, leaves the records as
    // they were: nothing to match.
    bool all_succeeded = !results.isEmpty();
    for (const job_list_item &job : results)
        all_succeeded = all_succeeded && job.effective_result() == 0;
    if (all_succeeded && g_master->getTarget().GetIntensityMode() == CTargetValue::kIntensityMaximumMatching)
        set_matching_luminance(displays);
    emit out_updateControlsStatus();
}

void KQ_main_controller_dock_widget::set_matching_luminance(const QList<int> &displays)
{
    const int lowest = lowest_engine_luminance(wall(), *g_master->getMonitorTracker(), displays);
    if (!sets_matching_luminance(lowest))
        return;
    const CTargetValue target = g_master->getTarget();
    g_master->setTarget(specified_luminance_target(target, lowest));
    run_job_set(matching_luminance_plan(displays));
    g_master->setTarget(matching_luminance_target(target, lowest));
    emit out_updateTargetInfo();
}

void KQ_main_controller_dock_widget::on_evaluate_calibration_mode_checkBox_toggled(bool checked)
{
    run_job_set(evaluation_pattern_plan(
        wall().get_calibrated_display_indexes_by_mode(CAdjustValue::kModeLookupTable, kAllDisplays, kEnabledOnly),
        checked));
}
