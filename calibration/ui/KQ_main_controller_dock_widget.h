#pragma once

#include "calibration/main_controller_state.h"

#include <QList>
#include <QWidget>

#include <memory>

namespace Ui {
class KQ_main_controller_dock_widgetClass;
}

// The Actions dock: the five calibration steps over the selected display or
// the whole wall. Its state comes from evaluate_dock_state, its operations
// from the step plans; the slots ask the operator, run the job sets and do
// the work that follows.
class KQ_main_controller_dock_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_main_controller_dock_widget(QWidget *parent = nullptr);
    ~KQ_main_controller_dock_widget() override;

    // True when Evaluate Calibration is enabled and checked: the test
    // patterns stay on the displays.
    bool is_evaluate_calibration_mode() const;
    // 0 to go on with the calibration, -1 when the target's gamma does not
    // suit a gain calibration and the operator declined.
    int confirm_rgb_gain_gamma(QWidget *parent);

signals:
    void measure_display();
    void calibrate_display();
    void out_updateControlsStatus();
    void CalculateNewTargetWhitePoint(bool value);
    void out_updateTargetInfo();

public slots:
    void updateControlsStatus();
    void selection_changed(int position);
    void onconfirm_displays();
    void onconfirm_selected_display();
    void oninitialize_displays();
    void oninitialize_selected_display();
    void onmeasure_display();
    void oncalibrate_display();
    void oncalibrate_all_displays();
    void onmeasure_all_displays();
    void onvisual_trim_display();
    void set_evaluate_calibration_mode_checkBox(bool checked);
    void on_evaluate_calibration_mode_checkBox_toggled(bool checked);
    void on_calibrate_without_sensor_checkBox_stateChanged(int state);
    void onupdate_uniformity_display_pushButton();
    void update_graphics();

protected:
    bool event(QEvent *event) override;

private:
    void verify(const QList<int> &displays);
    void initialize(const QList<int> &displays);
    void measure(const QList<int> &displays);
    void calibrate(const QList<int> &displays);
    void calibrate_with_sensor(const QList<int> &displays);
    void calibrate_without_sensor(const QList<int> &displays);
    void set_matching_luminance(const QList<int> &displays);
    bool first_calibration_confirmed(const QList<int> &all, const QList<int> &uncalibrated);
    bool project_saved();
    bool sensor_connected();
    void apply(const dock_state &state);
    QWidget *control(dock_control which) const;

    std::unique_ptr<Ui::KQ_main_controller_dock_widgetClass> ui;
    int m_position = 0;
    bool m_without_sensor = false;
    bool m_busy = false;
    bool m_sensor_connected = false; // the last reading, kept while the driver is busy
};
