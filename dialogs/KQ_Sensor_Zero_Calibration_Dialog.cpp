#include "dialogs/KQ_Sensor_Zero_Calibration_Dialog.h"

#include "app/services/ui/error_messages.h"
#include "app/services/ui/message_boxes.h"
#include "dialogs/sensor_setup_view.h"
#include "display_protocol/wait_service.h"
#include "ui_KQ_Sensor_Zero_Calibration_Dialog.h"

#include <QApplication>
#include <QPushButton>

namespace {

constexpr int kSelectorSettleMs = 500;

} // namespace

KQ_Sensor_Zero_Calibration_Dialog::KQ_Sensor_Zero_Calibration_Dialog(const QString &instruction, QWidget *parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::KQ_Sensor_Zero_Calibration_DialogClass>()),
      m_sensor(guarded_sensor::active()),
      m_state(sensor_setup_state::zero_calibration(m_sensor, instruction))
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &KQ_Sensor_Zero_Calibration_Dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_selectorTimer.setSingleShot(true);
    connect(&m_selectorTimer, &QTimer::timeout, this, &KQ_Sensor_Zero_Calibration_Dialog::update_sensor_selector_timer);
    if (!m_sensor.isNull())
        connect(m_sensor.get(), &CSensor::SensorMeasurementSelectorPositionChanged, this,
                &KQ_Sensor_Zero_Calibration_Dialog::SensorMeasurementSelectorPositionChanged);
}

KQ_Sensor_Zero_Calibration_Dialog::~KQ_Sensor_Zero_Calibration_Dialog() = default;

void KQ_Sensor_Zero_Calibration_Dialog::show_view(const sensor_setup_state::view &shown)
{
    show_sensor_setup_view(shown, m_sensor, ui->sensor_zero_calibration_message_label,
                           ui->sensor_zero_calibration_image_label, nullptr);
}

void KQ_Sensor_Zero_Calibration_Dialog::my_accept()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const sensor_setup_state::ok_result result = m_state.ok();
    QApplication::restoreOverrideCursor();
    if (result.error != 0) {
        show_error_message(this, result.error, false, false, false);
        return;
    }
    show_view(result.shown);
    if (result.result == sensor_setup_state::ok_result::accept)
        accept();
}

void KQ_Sensor_Zero_Calibration_Dialog::SensorMeasurementSelectorPositionChanged(int)
{
    if (!m_sensor.isNull())
        m_selectorTimer.start(wait_service::timer_interval_ms(kSelectorSettleMs));
}

void KQ_Sensor_Zero_Calibration_Dialog::update_sensor_selector_timer()
{
    sensor_setup_state::view shown = m_state.selector_settled();
    shown.ok_enabled.reset();
    shown.focus_ok = false;
    show_view(shown);
}
