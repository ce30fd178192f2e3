#pragma once

#include "dialogs/engine_trim_model.h"
#include "dialogs/write_delay_timer.h"
#include "views/widgets/CornerUniformitySet.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_Visual_Trim_KQE_DialogClass;
}
class QButtonGroup;
class kq_update_counter_indicator;

// Trims one display calibrated through its internal engine by eye: the
// engine's luminance, its white point in CIE x and y, the overall
// uniformity level and, where the display has it, each screen corner's
// colour correction. Each change reaches the display once the operator
// pauses; OK and Cancel pressed meanwhile wait for the write and then
// complete by themselves. The work is engine_trim_model's.
class kq_visual_trim_kqe_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit kq_visual_trim_kqe_dialog(QWidget *parent = nullptr);
    ~kq_visual_trim_kqe_dialog() override;

    const engine_trim_model &model() const { return m_model; }
    bool write_pending() const;
    const CornerUniformitySet &corner_block() const { return m_block; }

public slots:
    void onaccept();
    void reject() override;
    int setCurrent_layoutArrayPosition(int in_current_layoutArrayPosition);
    void updateControlStatus();
    void in_selected_corner_position_changed(int layoutArrayPosition, int selected_cornerPosition);
    void in_selected_corner_uniformity_level_changed(int layoutArrayPosition, int uniformity_level);
    void widget_corner_uniformity_xy_changed(unsigned int x, unsigned int y);
    void uniformity_update_timer_timeout();
    void displayOrientationGroupClicked(int value);
    void updateUniformitySelectCornerText(bool rotated);
    void on_undo_current_adjustment_pushButton_clicked();
    void vcp_timer_timeout();
    void backlight_brightness_timer_timeout();
    void check_uniformity_timer_timeout();
    void check_max_luminance_warning_timer_timeout();
    void on_reset_visual_trim_pushButton_clicked();
    void on_too_red_pushButton_clicked();
    void on_too_magenta_pushButton_clicked();
    void on_too_blue_pushButton_clicked();
    void on_too_cyan_pushButton_clicked();
    void on_too_green_pushButton_clicked();
    void on_too_yellow_pushButton_clicked();
    void on_too_bright_pushButton_clicked();
    void on_too_dark_pushButton_clicked();
    void on_backlight_brightness_verticalSlider_valueChanged(int value);
    void on_custom_white_point_x_doubleSpinBox_valueChanged(double value);
    void on_custom_white_point_y_doubleSpinBox_valueChanged(double value);
    void on_uniformity_correction_level_horizontalSlider_valueChanged(int value);
    void widget_cie_xy_changed(unsigned int x_value, unsigned int y_value);
    void on_redo_current_adjustment_clicked();
    void on_corner_uniformity_too_red_pushButton_clicked();
    void on_corner_uniformity_too_magenta_pushButton_clicked();
    void on_corner_uniformity_too_blue_pushButton_clicked();
    void on_corner_uniformity_too_cyan_pushButton_clicked();
    void on_corner_uniformity_too_green_pushButton_clicked();
    void on_corner_uniformity_too_yellow_pushButton_clicked();
    void on_corner_uniformity_reset_pushButton_clicked();
    void on_corner_uniformity_select_corner_comboBox_currentIndexChanged(int index);
    void on_corner_uniformity_level_comboBox_currentIndexChanged(int index);
    void on_corner_uniformity_reset_all_corners_pushButton_clicked();
    void on_uniformity_correction_reset_pushButton_clicked();

private:
    enum white_cast { kWhiteBlue, kWhiteCyan, kWhiteGreen, kWhiteMagenta, kWhiteRed, kWhiteYellow };
    enum corner_cast { kCornerBlue, kCornerCyan, kCornerGreen, kCornerMagenta, kCornerRed, kCornerYellow };
    void white_cast_clicked(white_cast which);
    void corner_cast_clicked(corner_cast which);
    void white_changed();
    void refresh_luminance_text();
    void refresh_corner_controls();
    void after_write(write_delay_timer &timer);
    void run_pending();
    bool timers_idle() const;
    void stop_idle_checks();
    engine_trim_model::trim_values wanted() const;
    void set_spin(int which, int thousandths);
    void reset_corners(const QList<int> &corners);
    QList<kq_update_counter_indicator *> white_indicators() const;
    QList<kq_update_counter_indicator *> corner_indicators() const;

    std::unique_ptr<Ui::KQ_Visual_Trim_KQE_DialogClass> ui;
    engine_trim_model m_model;
    QButtonGroup *m_orientation;
    write_delay_timer m_vcpTimer;
    write_delay_timer m_backlightTimer;
    write_delay_timer m_uniformityTimer;
    QTimer m_checkUniformityTimer;
    QTimer m_warningTimer;
    CornerUniformitySet m_block;
    bool m_loaded = false;
    bool m_pendingOk = false;
    bool m_pendingCancel = false;
    bool m_finished = false;  // OK or Cancel has run: no more checks
    int m_redo[3] = {0, 0, 0};
};
