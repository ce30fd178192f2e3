#include "dialogs/kq_color_sensor_setup_dialog.h"

#include "app/services/string_resource.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/message_boxes.h"
#include "dialogs/dialog_strings.h"
#include "dialogs/sensor_setup_view.h"
#include "display_protocol/wait_service.h"
#include "ui_kq_color_sensor_setup_dialog.h"

#include <QApplication>

namespace {

constexpr int kSelectorSettleMs = 500;
constexpr int kSelectorPollMs = 1000;

} // namespace

kq_color_sensor_setup_dialog::kq_color_sensor_setup_dialog(bool ambient, bool force, QWidget *parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::kq_color_sensor_setup_dialogClass>()),
      m_sensor(guarded_sensor::active()),
      m_state(m_sensor, ambient, force, string_resource(dialog_strings::kSensorNeedsZeroCalibration)),
      m_selectorTimer(this),
      m_pollTimer(this)
{
    m_selectorTimer.setObjectName(QStringLiteral("selector_timer"));
    m_pollTimer.setObjectName(QStringLiteral("poll_timer"));
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &kq_color_sensor_setup_dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_selectorTimer.setSingleShot(true);
    connect(&m_selectorTimer, &QTimer::timeout, this, &kq_color_sensor_setup_dialog::update_sensor_selector_timer);
    connect(&m_pollTimer, &QTimer::timeout, this, &kq_color_sensor_setup_dialog::poll_sensor_selector_timer);
    if (m_sensor.isNull())
        return;
    show_view(m_state.initial_view());
    if (m_state.polls_selector())
        m_pollTimer.start(wait_service::timer_interval_ms(kSelectorPollMs));
    connect(m_sensor.get(), &CSensor::SensorMeasurementSelectorPositionChanged, this,
            &kq_color_sensor_setup_dialog::SensorMeasurementSelectorPositionChanged);
}

kq_color_sensor_setup_dialog::~kq_color_sensor_setup_dialog()
{
    m_state.switch_light_off();
}

void kq_color_sensor_setup_dialog::show_view(const sensor_setup_state::view &shown)
{
    show_sensor_setup_view(shown, m_sensor, ui->sensor_zero_calibration_message_label,
                           ui->sensor_zero_calibration_image_label, ui->buttonBox->button(QDialogButtonBox::Ok));
}

void kq_color_sensor_setup_dialog::my_accept()
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

void kq_color_sensor_setup_dialog::SensorMeasurementSelectorPositionChanged(int)
{
    if (!m_sensor.isNull())
        m_selectorTimer.start(wait_service::timer_interval_ms(kSelectorSettleMs));
}

void kq_color_sensor_setup_dialog::update_sensor_selector_timer()
{
    show_view(m_state.selector_settled());
}

void kq_color_sensor_setup_dialog::poll_sensor_selector_timer()
{
    show_view(m_state.poll());
}

void install_color_sensor_setup_dialog()
{
    set_color_sensor_setup_dialog_runner([](bool ambient, bool force, QWidget *parent) {
        kq_color_sensor_setup_dialog dialog(ambient, force, parent);
        return dialog.exec() == QDialog::Accepted ? 0 : -1;
    });
}
