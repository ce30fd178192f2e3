#pragma once

#include "dialogs/sensor_setup_state.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class KQ_Sensor_Zero_Calibration_DialogClass;
}

// The zero calibration of the active sensor on its own: calibrate, turn the
// selector back to the measuring position, confirm. The program prepares
// sensors through kq_color_sensor_setup_dialog; this one shares its steps.
class KQ_Sensor_Zero_Calibration_Dialog : public QDialog
{
    Q_OBJECT

public:
    // |instruction| is shown before the completion prompt once calibrated.
    explicit KQ_Sensor_Zero_Calibration_Dialog(const QString &instruction, QWidget *parent = nullptr);
    ~KQ_Sensor_Zero_Calibration_Dialog() override;

public slots:
    void my_accept();
    void SensorMeasurementSelectorPositionChanged(int value);
    void update_sensor_selector_timer();

private:
    void show_view(const sensor_setup_state::view &shown);

    std::unique_ptr<Ui::KQ_Sensor_Zero_Calibration_DialogClass> ui;
    guarded_sensor m_sensor;
    sensor_setup_state m_state;
    QTimer m_selectorTimer;
};
