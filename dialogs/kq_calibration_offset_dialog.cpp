#include "dialogs/kq_calibration_offset_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/backlight_type.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "dialogs/active_sensor_measurement.h"
#include "dialogs/dialog_strings.h"
#include "dialogs/edit_target_rules.h"
#include "dialogs/guarded_sensor.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/run_job_set.h"
#include "ui_kq_calibration_offset_dialog.h"

#include <QPushButton>
#include <QSignalBlocker>

using namespace target_offset_rules;

namespace {

constexpr int kPatternOff = 0;
constexpr int kCalibratedWhitePattern = 3;

const QString kNoStatus = QStringLiteral("<font COLOR=\"#ff0000\"> </font>");

QString thousandths_text(double value)
{
    return QStringLiteral("%L1").arg(value, 0, 'f', 3);
}

} // namespace

kq_calibration_offset_dialog::kq_calibration_offset_dialog(int displayIndex, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::kq_calibration_offset_dialog_ui>()), m_displayIndex(displayIndex)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("Calibration Target Offset for display # %1").arg(displayIndex + 1));
    show_target();

    ui->measure_pushButton->setEnabled(!guarded_sensor::active().isNull());
    monitor_tracker_item record;
    m_offer = offer_of(find_record(record) ? &record : nullptr);
    ui->groupBox->setChecked(m_offer.offset.enabled);
    show_offset(m_offer.offset);
    ui->show_calibrated_white_test_pattern_checkBox->setEnabled(m_offer.shows_calibrated_white);
    ui->create_from_visual_trim_pushButton->setEnabled(m_offer.trim.any());
    refresh_modified_target();
}

kq_calibration_offset_dialog::~kq_calibration_offset_dialog() = default;

bool kq_calibration_offset_dialog::find_record(monitor_tracker_item &record) const
{
    if (!g_master || !g_master->getLayoutManager() || !g_master->getMonitorTracker())
        return false;
    display_layout_item item;
    if (g_master->getLayoutManager()->get_item(m_displayIndex, item) != 0)
        return false;
    record = monitor_tracker_item(item.model_name, item.serial_number);
    return g_master->getMonitorTracker()->GetAdjustValue(record) >= 0;
}

void kq_calibration_offset_dialog::show_target()
{
    const CTargetValue target = g_master ? g_master->getTarget() : CTargetValue();
    m_target = target_point_of(target);
    ui->original_Y_label->setText(target.GetIntensityText(true));
    if (m_target.luminance < 0.0) {
        ui->modified_Y_label->clear();
        ui->delta_Y_doubleSpinBox->setEnabled(false);
    }
    ui->original_x_label->setText(thousandths_text(m_target.x));
    ui->original_y_label->setText(thousandths_text(m_target.y));
    const offset_range x = x_offset_range(m_target);
    const offset_range y = y_offset_range(m_target);
    ui->delta_x_doubleSpinBox->setRange(x.minimum, x.maximum);
    ui->delta_y_doubleSpinBox->setRange(y.minimum, y.maximum);
    ui->original_K_label->setText(edit_target_rules::color_temperature_text(target.GetWhitePoint()));
}

void kq_calibration_offset_dialog::show_offset(const offset_values &values)
{
    {
        const QSignalBlocker blockX(ui->delta_x_doubleSpinBox);
        const QSignalBlocker blockY(ui->delta_y_doubleSpinBox);
        const QSignalBlocker blockPercent(ui->delta_Y_doubleSpinBox);
        ui->delta_x_doubleSpinBox->setValue(values.dx);
        ui->delta_y_doubleSpinBox->setValue(values.dy);
        ui->delta_Y_doubleSpinBox->setValue(values.percent);
    }
    refresh_modified_target();
}

offset_values kq_calibration_offset_dialog::shown_offset() const
{
    offset_values values;
    values.enabled = ui->groupBox->isChecked();
    values.dx = ui->delta_x_doubleSpinBox->value();
    values.dy = ui->delta_y_doubleSpinBox->value();
    values.percent = ui->delta_Y_doubleSpinBox->value();
    return values;
}

void kq_calibration_offset_dialog::refresh_modified_target()
{
    const offset_values values = shown_offset();
    const double x = m_target.x + values.dx;
    const double y = m_target.y + values.dy;
    ui->modified_x_label->setText(thousandths_text(x));
    ui->modified_y_label->setText(thousandths_text(y));
    ui->modified_K_label->setText(black_body_text(x, y));
    ui->modified_Y_label->setText(modified_luminance_text(values.percent, m_target));
}

void kq_calibration_offset_dialog::on_delta_x_doubleSpinBox_valueChanged(double)
{
    refresh_modified_target();
}

void kq_calibration_offset_dialog::on_delta_y_doubleSpinBox_valueChanged(double)
{
    refresh_modified_target();
}

void kq_calibration_offset_dialog::on_delta_Y_doubleSpinBox_valueChanged(double)
{
    refresh_modified_target();
}

void kq_calibration_offset_dialog::on_measure_pushButton_clicked()
{
    monitor_tracker_item record;
    const QString model = find_record(record) ? record.model_name : QString();
    QLabel *status = ui->colorimeter_status_label;
    CCIEXYZ reading;
    const int result = measure_with_active_sensor(this, backlight_type_for_model(model), [status] {
        status->setText(string_resource(dialog_strings::kTakingMeasurement));
        status->repaint();
    }, reading);
    status->setText(kNoStatus);
    if (result == 0)
        show_offset(offset_from_measurement(reading, m_target, shown_offset()));
}

void kq_calibration_offset_dialog::on_create_from_visual_trim_pushButton_clicked()
{
    show_offset(offset_from_visual_trim(m_offer.trim, m_target));
    m_fromVisualTrim = true;
    ui->groupBox->setChecked(true);
}

void kq_calibration_offset_dialog::on_show_calibrated_white_test_pattern_checkBox_toggled(bool checked)
{
    set_test_pattern(checked ? kCalibratedWhitePattern : kPatternOff);
}

void kq_calibration_offset_dialog::set_test_pattern(int mode)
{
    job_list_item job;
    job.task_list = {JOB_TASK_TEST_PATTERNS};
    job.test_pattern_mode = mode;
    run_job_set({job, {m_displayIndex}, tr("Setting Test Patterns")});
}

void kq_calibration_offset_dialog::switch_test_pattern_off()
{
    if (ui->show_calibrated_white_test_pattern_checkBox->isChecked())
        set_test_pattern(kPatternOff);
}

void kq_calibration_offset_dialog::on_buttonBox_accepted()
{
    monitor_tracker_item record;
    if (find_record(record)) {
        const ok_plan plan = plan_ok(record, shown_offset(), m_fromVisualTrim);
        if (plan.decision == ok_decision::ask
            && show_message_box(this, string_resource(dialog_strings::kTargetOffsetResetsCalibration), nullptr,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Question, false,
                                false)
                   != QMessageBox::Yes)
            return;
        if (plan.decision != ok_decision::unchanged) {
            static_cast<CAdjustValue &>(record) = plan.record;
            g_master->getMonitorTracker()->SetAdjustValue(record);
        }
    }
    switch_test_pattern_off();
    accept();
}

void kq_calibration_offset_dialog::on_buttonBox_rejected()
{
    reject();
}

void kq_calibration_offset_dialog::reject()
{
    switch_test_pattern_off();
    QDialog::reject();
}
