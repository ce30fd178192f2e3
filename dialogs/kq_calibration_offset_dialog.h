#pragma once

#include "dialogs/target_offset_rules.h"

#include <QDialog>

#include <memory>

class monitor_tracker_item;

namespace Ui {
class kq_calibration_offset_dialog_ui;
}

// One display's own offset from the common calibration target: a shift of
// the white point and a percentage of the target intensity, typed in,
// measured from the display's calibrated white or taken from the internal
// engine's visual trim, and stored in the display's record on OK.
class kq_calibration_offset_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit kq_calibration_offset_dialog(int displayIndex, QWidget *parent = nullptr);
    ~kq_calibration_offset_dialog() override;

    // Esc and the window's close button cancel as Cancel does, so the test
    // pattern never stays on behind a closed dialog.
    void reject() override;

private slots:
    void on_measure_pushButton_clicked();
    void on_delta_x_doubleSpinBox_valueChanged(double value);
    void on_delta_y_doubleSpinBox_valueChanged(double value);
    void on_delta_Y_doubleSpinBox_valueChanged(double value);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_show_calibrated_white_test_pattern_checkBox_toggled(bool checked);
    void on_create_from_visual_trim_pushButton_clicked();

private:
    // The display's record from the store; false when it has none.
    bool find_record(monitor_tracker_item &record) const;
    void show_target();
    void show_offset(const target_offset_rules::offset_values &values);
    target_offset_rules::offset_values shown_offset() const;
    void refresh_modified_target();
    void set_test_pattern(int mode);
    void switch_test_pattern_off();

    std::unique_ptr<Ui::kq_calibration_offset_dialog_ui> ui;
    int m_displayIndex;
    target_offset_rules::target_point m_target;
    target_offset_rules::record_offer m_offer;
    bool m_fromVisualTrim = false;
};
