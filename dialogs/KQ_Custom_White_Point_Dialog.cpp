#include "dialogs/KQ_Custom_White_Point_Dialog.h"

#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "colour/luminance_units.h"
#include "dialogs/active_sensor_measurement.h"
#include "dialogs/custom_white_point_rules.h"
#include "dialogs/dialog_strings.h"
#include "ui_KQ_Custom_White_Point_Dialog.h"

#include <QSignalBlocker>

using namespace custom_white_point_rules;

KQ_Custom_White_Point_Dialog::KQ_Custom_White_Point_Dialog(CColorTemperature whitePoint, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_Custom_White_Point_DialogClass>()), m_whitePoint(whitePoint)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &KQ_Custom_White_Point_Dialog::my_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    show_white_point(m_whitePoint);
    ui->custom_white_point_CIE_xy_radioButton->setChecked(true);

    const guarded_sensor active = guarded_sensor::active();
    if (!active.isNull()) {
        m_sensor = active;
        m_sensorAvailable = true;
        m_sensor.with<int>([](CSensor &s) { return s.SetDisplayType(1, 0); }, -1);
    }
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->custom_white_point_measure_pushButton->setEnabled(m_sensorAvailable);
}

KQ_Custom_White_Point_Dialog::~KQ_Custom_White_Point_Dialog() = default;

// The boxes take the white's x, y and kelvin; the white is then the one the
// boxes hold. The kelvin box only follows: were its change taken, a white
// off the locus would land on it and come back changed from an untouched
// dialog.
void KQ_Custom_White_Point_Dialog::show_white_point(const CColorTemperature &white)
{
    ui->custom_white_point_CIE_x_doubleSpinBox->setValue(white.GetX());
    ui->custom_white_point_CIE_y_doubleSpinBox->setValue(white.GetY());
    m_whitePoint = white_at(ui->custom_white_point_CIE_x_doubleSpinBox->value(),
                            ui->custom_white_point_CIE_y_doubleSpinBox->value());
    set_kelvin_box(m_whitePoint.GetKelvin());
    write_distance();
}

void KQ_Custom_White_Point_Dialog::set_kelvin_box(int kelvin)
{
    const QSignalBlocker block(ui->custom_white_point_Kelvin_doubleSpinBox);
    ui->custom_white_point_Kelvin_doubleSpinBox->setValue(kelvin);
}

void KQ_Custom_White_Point_Dialog::write_distance()
{
    ui->custom_white_point_delta_uv_label->setText(distance_text(m_whitePoint));
}

void KQ_Custom_White_Point_Dialog::on_custom_white_point_Kelvin_doubleSpinBox_valueChanged(int kelvin)
{
    m_whitePoint = CColorTemperature(static_cast<quint16>(kelvin));
    {
        const QSignalBlocker blockX(ui->custom_white_point_CIE_x_doubleSpinBox);
        const QSignalBlocker blockY(ui->custom_white_point_CIE_y_doubleSpinBox);
        ui->custom_white_point_CIE_x_doubleSpinBox->setValue(m_whitePoint.GetX());
        ui->custom_white_point_CIE_y_doubleSpinBox->setValue(m_whitePoint.GetY());
    }
    write_distance();
}

void KQ_Custom_White_Point_Dialog::on_custom_white_point_CIE_x_doubleSpinBox_valueChanged(double x)
{
    m_whitePoint = CColorTemperature(CIExy{x, m_whitePoint.GetY()});
    set_kelvin_box(m_whitePoint.GetKelvin());
    write_distance();
}

void KQ_Custom_White_Point_Dialog::on_custom_white_point_CIE_y_doubleSpinBox_valueChanged(double y)
{
    m_whitePoint = CColorTemperature(CIExy{m_whitePoint.GetX(), y});
    set_kelvin_box(m_whitePoint.GetKelvin());
    write_distance();
}

void KQ_Custom_White_Point_Dialog::on_custom_white_point_BlackBody_radioButton_toggled(bool on)
{
    ui->custom_white_point_Kelvin_doubleSpinBox->setEnabled(on);
    ui->custom_white_point_CIE_x_doubleSpinBox->setEnabled(!on);
    ui->custom_white_point_CIE_y_doubleSpinBox->setEnabled(!on);
}

void KQ_Custom_White_Point_Dialog::on_custom_white_point_measure_pushButton_clicked()
{
    if (m_sensor.isNull())
        return;
    QLabel *status = ui->custom_white_point_measuring_label;
    CCIEXYZ reading;
    const int result = measure_with_active_sensor(this, 0, [status] {
        status->setText(string_resource(dialog_strings::kTakingMeasurement));
        status->repaint();
    }, reading);
    if (result != 0) {
        status->clear();
        return;
    }
    ui->custom_white_point_CIE_xy_radioButton->setChecked(true);
    show_white_point(CColorTemperature(reading.ToCIExy()));
    measured_luminance = reading.Y;
    status->setText(tr("Measured Intensity: %1").arg(to_display_luminance_text(reading.Y, 1, true)));
}

void KQ_Custom_White_Point_Dialog::my_accept()
{
    if (!in_normal_range(m_whitePoint)) {
        const int answer = show_message_box(this, string_resource(dialog_strings::kWhitePointOutOfRange), nullptr,
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                            QMessageBox::Question, false, false);
        if (answer != QMessageBox::Yes)
            return;
    }
    accept();
}
