#pragma once

#include "dialogs/visual_trim_model.h"
#include "dialogs/write_delay_timer.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_Visual_Trim_DialogClass;
}
class kq_update_counter_indicator;

// Trims one display calibrated by channel gains or patch levels by eye:
// its colour through the colour circle, the colour-cast buttons or the
// channel percentages, and its backlight. Each change reaches the display
// once the operator pauses; OK records the trim in the display's record,
// Cancel puts the display back as it was. The work is visual_trim_model's.
class kq_visual_trim_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit kq_visual_trim_dialog(QWidget *parent = nullptr);
    ~kq_visual_trim_dialog() override;

    const visual_trim_model &model() const { return m_model; }
    bool write_pending() const { return m_vcpTimer.isActive() || m_backlightTimer.isActive(); }

public slots:
    void onaccept();
    void reject() override;
    // 0, or the code with which the display cannot be trimmed.
    int setCurrent_layoutArrayPosition(int in_current_layoutArrayPosition);
    void updateControlStatus();
    void on_undo_current_adjustment_pushButton_clicked();
    void onrgb_Red_level_spinbox_value_changed(double value);
    void onrgb_Green_level_spinbox_value_changed(double value);
    void onrgb_Blue_level_spinbox_value_changed(double value);
    void onbrightness_slider_value_changed(int value);
    void onColorPickerWidgetHueSatChanged(double in_hue, double in_saturation);
    void vcp_timer_timeout();
    void backlight_brightness_timer_timeout();
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
    void on_redo_current_adjustment_pushButton_clicked();

private:
    enum cast { kTooBlue, kTooCyan, kTooGreen, kTooMagenta, kTooRed, kTooYellow };
    void colour_cast(cast which);
    void channel_changed(int channel, double percent);
    void colour_changed();
    void refresh_value_controls();
    void refresh_circle();
    void refresh_backlight_label();
    void set_backlight_slider(int value);
    QList<kq_update_counter_indicator *> indicators() const;

    std::unique_ptr<Ui::KQ_Visual_Trim_DialogClass> ui;
    visual_trim_model m_model;
    write_delay_timer m_vcpTimer;
    write_delay_timer m_backlightTimer;
};
