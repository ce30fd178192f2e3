#include "dialogs/kq_visual_trim_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "ui_kq_visual_trim_dialog.h"

#include <QPointF>

namespace {

constexpr int kLevelScale = 65535;

// Each colour-cast button moves the circle's ball by its offset.
struct cast_row
{
    QPointF offset;
};
constexpr double kSide = 1.73;
const cast_row kCasts[] = {
    {{kSide, 1}},   // too blue
    {{0, 1}},       // too cyan
    {{-kSide, 1}},  // too green
    {{kSide, -1}},  // too magenta
    {{0, -1}},      // too red
    {{-kSide, -1}}, // too yellow
};

} // namespace

kq_visual_trim_dialog::kq_visual_trim_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_Visual_Trim_DialogClass>()),
      m_model(g_master ? g_master->getMonitor() : nullptr), m_vcpTimer(this), m_backlightTimer(this)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_vcpTimer.set_held(true);
    m_backlightTimer.set_held(true);
    connect(&m_vcpTimer, &QTimer::timeout, this, &kq_visual_trim_dialog::vcp_timer_timeout);
    connect(&m_backlightTimer, &QTimer::timeout, this, &kq_visual_trim_dialog::backlight_brightness_timer_timeout);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &kq_visual_trim_dialog::onaccept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &kq_visual_trim_dialog::reject);
    connect(ui->custom_white_point_RGB_Red_doubleSpinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &kq_visual_trim_dialog::onrgb_Red_level_spinbox_value_changed);
    connect(ui->custom_white_point_RGB_Green_doubleSpinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &kq_visual_trim_dialog::onrgb_Green_level_spinbox_value_changed);
    connect(ui->custom_white_point_RGB_Blue_doubleSpinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &kq_visual_trim_dialog::onrgb_Blue_level_spinbox_value_changed);
    connect(ui->color_picker_circle_widget, &KQ_color_picker_circle_widget::HueSatChanged, this,
            &kq_visual_trim_dialog::onColorPickerWidgetHueSatChanged);
    connect(ui->custom_white_point_brightness_verticalSlider, &QSlider::valueChanged, this,
            &kq_visual_trim_dialog::onbrightness_slider_value_changed);
}

kq_visual_trim_dialog::~kq_visual_trim_dialog() = default;

int kq_visual_trim_dialog::setCurrent_layoutArrayPosition(int in_current_layoutArrayPosition)
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.load(in_current_layoutArrayPosition, *g_master->getLayoutManager(),
                              *g_master->getMonitorTracker());
    }
    if (status != 0)
        return status;
    QDoubleSpinBox *spins[] = {ui->custom_white_point_RGB_Red_doubleSpinBox,
                               ui->custom_white_point_RGB_Green_doubleSpinBox,
                               ui->custom_white_point_RGB_Blue_doubleSpinBox};
    // Each channel steps by one of its own units; a channel whose maximum
    // the display reports as 0 keeps the form's step.
    for (int c = 0; c < 3; ++c) {
        if (m_model.channel_maximum(c) != 0)
            spins[c]->setSingleStep(100.0 / m_model.channel_maximum(c));
    }
    QSlider *backlight = ui->backlight_brightness_verticalSlider;
    {
        const QSignalBlocker blocker(backlight);
        backlight->setMaximum(m_model.backlight_maximum());
        backlight->setMinimum(m_model.backlight_minimum());
        backlight->setValue(m_model.backlight());
    }
    refresh_backlight_label();
    refresh_circle();
    refresh_value_controls();
    m_vcpTimer.set_held(false);
    m_backlightTimer.set_held(false);
    updateControlStatus();
    return 0;
}

void kq_visual_trim_dialog::refresh_value_controls()
{
    const QColor colour = m_model.colour();
    ui->custom_white_point_RGB_Red_doubleSpinBox->setValue(colour.redF() * 100);
    ui->custom_white_point_RGB_Green_doubleSpinBox->setValue(colour.greenF() * 100);
    ui->custom_white_point_RGB_Blue_doubleSpinBox->setValue(m_model.colour().blueF() * 100);
    ui->custom_white_point_brightness_verticalSlider->setValue(
        visual_trim_model::rnd(m_model.level() * kLevelScale));
}

void kq_visual_trim_dialog::refresh_circle()
{
    const QColor colour = m_model.colour();
    ui->custom_white_point_brightness_verticalSlider->setValue(visual_trim_model::rnd(colour.valueF() * kLevelScale));
    ui->color_picker_circle_widget->setHueSaturation(qMax(colour.hsvHueF(), 0.0), colour.hsvSaturationF());
}

void kq_visual_trim_dialog::refresh_backlight_label()
{
    const QSlider *slider = ui->backlight_brightness_verticalSlider;
    if (slider->maximum() > 0)
        ui->backlight_brightness_label->setText(
            tr("%L1%").arg(slider->value() * 100.0 / slider->maximum(), 0, 'f', 1));
}

void kq_visual_trim_dialog::set_backlight_slider(int value)
{
    ui->backlight_brightness_verticalSlider->setValue(value);
}

void kq_visual_trim_dialog::colour_changed()
{
    m_vcpTimer.restart();
    refresh_value_controls();
    updateControlStatus();
}

void kq_visual_trim_dialog::onColorPickerWidgetHueSatChanged(double in_hue, double in_saturation)
{
    m_model.set_hue_saturation(in_hue, in_saturation);
    colour_changed();
}

void kq_visual_trim_dialog::onbrightness_slider_value_changed(int value)
{
    m_model.set_level(double(value) / kLevelScale);
    colour_changed();
}

void kq_visual_trim_dialog::channel_changed(int channel, double percent)
{
    m_model.set_channel(channel, percent / 100.0);
    refresh_circle();
    m_vcpTimer.restart();
    updateControlStatus();
}

void kq_visual_trim_dialog::onrgb_Red_level_spinbox_value_changed(double value)
{
    channel_changed(visual_trim_model::kRed, value);
}

void kq_visual_trim_dialog::onrgb_Green_level_spinbox_value_changed(double value)
{
    channel_changed(visual_trim_model::kGreen, value);
}

void kq_visual_trim_dialog::onrgb_Blue_level_spinbox_value_changed(double value)
{
    channel_changed(visual_trim_model::kBlue, value);
}

void kq_visual_trim_dialog::on_backlight_brightness_verticalSlider_valueChanged(int value)
{
    m_model.set_wanted_backlight(value);
    refresh_backlight_label();
    m_backlightTimer.restart();
}

QList<kq_update_counter_indicator *> kq_visual_trim_dialog::indicators() const
{
    return {ui->blue_update_counter_indicator_widget,    ui->cyan_update_counter_indicator_widget,
            ui->green_update_counter_indicator_widget,   ui->magenta_update_counter_indicator_widget,
            ui->red_update_counter_indicator_widget,     ui->yellow_update_counter_indicator_widget,
            ui->bright_update_counter_indicator_widget, ui->dark_update_counter_indicator_widget};
}

void kq_visual_trim_dialog::colour_cast(cast which)
{
    ui->color_picker_circle_widget->moveControlBall(kCasts[which].offset.x(), kCasts[which].offset.y());
    indicators().at(which)->increment_value();
}

void kq_visual_trim_dialog::on_too_blue_pushButton_clicked()
{
    colour_cast(kTooBlue);
}

void kq_visual_trim_dialog::on_too_cyan_pushButton_clicked()
{
    colour_cast(kTooCyan);
}

void kq_visual_trim_dialog::on_too_green_pushButton_clicked()
{
    colour_cast(kTooGreen);
}

void kq_visual_trim_dialog::on_too_magenta_pushButton_clicked()
{
    colour_cast(kTooMagenta);
}

void kq_visual_trim_dialog::on_too_red_pushButton_clicked()
{
    colour_cast(kTooRed);
}

void kq_visual_trim_dialog::on_too_yellow_pushButton_clicked()
{
    colour_cast(kTooYellow);
}

void kq_visual_trim_dialog::on_too_bright_pushButton_clicked()
{
    const visual_trim_model::step_result step = m_model.too_bright();
    if (step == visual_trim_model::kBacklight)
        set_backlight_slider(m_model.wanted_backlight());
    else if (step == visual_trim_model::kColour)
        colour_changed();
    updateControlStatus();
    ui->bright_update_counter_indicator_widget->increment_value();
}

void kq_visual_trim_dialog::on_too_dark_pushButton_clicked()
{
    const visual_trim_model::step_result step = m_model.too_dark();
    if (step == visual_trim_model::kBacklight)
        set_backlight_slider(m_model.wanted_backlight());
    else if (step == visual_trim_model::kColour)
        colour_changed();
    updateControlStatus();
    ui->dark_update_counter_indicator_widget->increment_value();
}

void kq_visual_trim_dialog::vcp_timer_timeout()
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.write_colour();
    }
    if (m_vcpTimer.retry_if_busy(status))
        return;
    if (status == 0) {
        for (kq_update_counter_indicator *indicator : indicators())
            indicator->reset();
    }
    updateControlStatus();
}

void kq_visual_trim_dialog::backlight_brightness_timer_timeout()
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.write_backlight();
    }
    if (m_backlightTimer.retry_if_busy(status))
        return;
    ui->bright_update_counter_indicator_widget->reset();
    ui->dark_update_counter_indicator_widget->reset();
    updateControlStatus();
}

void kq_visual_trim_dialog::on_undo_current_adjustment_pushButton_clicked()
{
    const bool backlight = m_model.undo();
    colour_changed();
    if (backlight)
        set_backlight_slider(m_model.wanted_backlight());
    ui->redo_current_adjustment_pushButton->setEnabled(true);
    ui->undo_current_adjustment_pushButton->setEnabled(false);
}

void kq_visual_trim_dialog::on_redo_current_adjustment_pushButton_clicked()
{
    const bool backlight = m_model.redo();
    colour_changed();
    if (backlight)
        set_backlight_slider(m_model.wanted_backlight());
    ui->redo_current_adjustment_pushButton->setEnabled(false);
}

void kq_visual_trim_dialog::on_reset_visual_trim_pushButton_clicked()
{
    const bool backlight = m_model.remove_all();
    m_vcpTimer.restart();
    refresh_value_controls();
    if (backlight)
        set_backlight_slider(m_model.wanted_backlight());
    updateControlStatus();
}

void kq_visual_trim_dialog::updateControlStatus()
{
    const visual_trim_model::enables e = m_model.control_enables();
    ui->too_dark_pushButton->setEnabled(e.too_dark);
    ui->too_bright_pushButton->setEnabled(e.too_bright);
    ui->too_magenta_pushButton->setEnabled(e.too_magenta);
    ui->too_yellow_pushButton->setEnabled(e.too_yellow);
    ui->too_cyan_pushButton->setEnabled(e.too_cyan);
    ui->too_red_pushButton->setEnabled(e.too_red);
    ui->too_green_pushButton->setEnabled(e.too_green);
    ui->too_blue_pushButton->setEnabled(e.too_blue);
    ui->undo_current_adjustment_pushButton->setEnabled(e.undo);
    if (e.undo)
        ui->redo_current_adjustment_pushButton->setEnabled(false);
    ui->reset_visual_trim_pushButton->setEnabled(e.remove_all);
}

void kq_visual_trim_dialog::onaccept()
{
    if (write_pending())
        return;
    m_model.accept(*g_master->getMonitorTracker());
    accept();
}

void kq_visual_trim_dialog::reject()
{
    if (write_pending())
        return;
    m_model.cancel();
    QDialog::reject();
}
