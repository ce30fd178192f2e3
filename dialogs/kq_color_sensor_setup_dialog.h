#pragma once

#include "dialogs/sensor_setup_state.h"
#include "jobs/ui/sensor_preparation.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class kq_color_sensor_setup_dialogClass;
}

// "Color Sensor Preparation": calibrates the active sensor when it needs
// it and waits for its selector to reach the measuring position.
class kq_color_sensor_setup_dialog : public QDialog
{
    Q_OBJECT

public:
    kq_color_sensor_setup_dialog(bool ambient, bool force, QWidget *parent = nullptr);
    ~kq_color_sensor_setup_dialog() override;

public slots:
    void my_accept();
    void SensorMeasurementSelectorPositionChanged(int value);
    void update_sensor_selector_timer();
    void poll_sensor_selector_timer();

private:
    void show_view(const sensor_setup_state::view &shown);

    std::unique_ptr<Ui::kq_color_sensor_setup_dialogClass> ui;
    guarded_sensor m_sensor;
    sensor_setup_state m_state;
    QTimer m_selectorTimer;
    QTimer m_pollTimer;
};

// Makes run_color_sensor_setup_dialog (below this layer) run this dialog
// when the active sensor needs it.
void install_color_sensor_setup_dialog();
