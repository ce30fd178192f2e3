#include "dialogs/kq_visual_trim_kqe_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "dialogs/engine_trim_texts.h"
#include "display_protocol/wait_service.h"
#include "ui_kq_visual_trim_kqe_dialog.h"

#include <QButtonGroup>
#include <QPoint>

#include <cmath>

namespace {

constexpr int kCheckAfterLoadMs = 1000;
constexpr int kCheckAfterWriteMs = 1500;
constexpr int kWarningIntervalMs = 1500;
// The corner picker shows a corner's offsets moved by this origin.
constexpr int kPickerX = 303;
constexpr int kPickerY = 337;
constexpr int kPickerSpan = 60;
const char *const kCornerPicture = ":/images/Resources/white point adjustment xy.png";

// White point steps, thousandths of x and y.
const QPoint kWhiteCasts[] = {{1, 1}, {1, 0}, {0, -1}, {0, 1}, {-1, 0}, {-1, -1}};
// Corner steps of the first and second offsets.
const QPoint kCornerCasts[] = {{1, 1}, {1, 0}, {0, -1}, {0, 1}, {-1, 0}, {-1, -1}};

// Thousandths of a white point value. Rounded, so that the 0.290 a spin
// box shows is 290, not the 289 that the binary 0.29 truncates to.
int thou(double value)
{
    return static_cast<int>(std::lround(value * 1000.0));
}

luminance_scale scale_of(const QSlider *slider, bool candela)
{
    luminance_scale scale;
    scale.minimum = slider->minimum();
    scale.maximum = slider->maximum();
    scale.candela = candela;
    return scale;
}

} // namespace

kq_visual_trim_kqe_dialog::kq_visual_trim_kqe_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_Visual_Trim_KQE_DialogClass>()),
      m_model(g_master ? g_master->getMonitor() : nullptr), m_orientation(new QButtonGroup(this)), m_vcpTimer(this),
      m_backlightTimer(this), m_uniformityTimer(this)
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->tabWidget->setCurrentIndex(0);
    m_vcpTimer.set_held(true);
    m_backlightTimer.set_held(true);
    m_checkUniformityTimer.setSingleShot(true);
    connect(&m_vcpTimer, &QTimer::timeout, this, &kq_visual_trim_kqe_dialog::vcp_timer_timeout);
    connect(&m_backlightTimer, &QTimer::timeout, this, &kq_visual_trim_kqe_dialog::backlight_brightness_timer_timeout);
    connect(&m_uniformityTimer, &QTimer::timeout, this, &kq_visual_trim_kqe_dialog::uniformity_update_timer_timeout);
    connect(&m_checkUniformityTimer, &QTimer::timeout, this, &kq_visual_trim_kqe_dialog::check_uniformity_timer_timeout);
    connect(&m_warningTimer, &QTimer::timeout, this, &kq_visual_trim_kqe_dialog::check_max_luminance_warning_timer_timeout);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &kq_visual_trim_kqe_dialog::onaccept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &kq_visual_trim_kqe_dialog::reject);
    connect(ui->cie_xy_widget, &KQ_color_picker_cie_xy_widget::cie_xy_changed, this,
            &kq_visual_trim_kqe_dialog::widget_cie_xy_changed);

    m_orientation->addButton(ui->orientation_landscape_radioButton, 0);
    m_orientation->addButton(ui->orientation_portrait_radioButton, 1);
    connect(m_orientation, qOverload<int>(&QButtonGroup::buttonClicked), this,
            &kq_visual_trim_kqe_dialog::displayOrientationGroupClicked);
    connect(ui->corner_uniformity_diagram_widget, &KQ_corner_uniformity_diagram_widget::selected_corner_position_changed,
            this, &kq_visual_trim_kqe_dialog::in_selected_corner_position_changed);
    connect(ui->corner_uniformity_diagram_widget,
            &KQ_corner_uniformity_diagram_widget::selected_corner_uniformity_level_changed, this,
            &kq_visual_trim_kqe_dialog::in_selected_corner_uniformity_level_changed);
    connect(ui->corner_cie_xy_widget, &KQ_color_picker_cie_xy_widget::cie_xy_changed, this,
            &kq_visual_trim_kqe_dialog::widget_corner_uniformity_xy_changed);
    ui->corner_cie_xy_widget->setReferenceSize(60, 60);
    ui->corner_cie_xy_widget->setBackgroundImage(QLatin1String(kCornerPicture));
    ui->corner_cie_xy_widget->setShowCenterLines(true);
    {
        const QSignalBlocker sizes(ui->corner_uniformity_level_comboBox);
        const QSignalBlocker corners(ui->corner_uniformity_select_corner_comboBox);
        ui->corner_uniformity_level_comboBox->addItem(tr("Large"), 0);
        ui->corner_uniformity_level_comboBox->addItem(tr("Medium"), 1);
        ui->corner_uniformity_level_comboBox->addItem(tr("Small"), 2);
        for (int corner = 0; corner < 4; ++corner)
            ui->corner_uniformity_select_corner_comboBox->addItem(QString(), corner);
    }
    updateUniformitySelectCornerText(false);
}

kq_visual_trim_kqe_dialog::~kq_visual_trim_kqe_dialog() = default;

int kq_visual_trim_kqe_dialog::setCurrent_layoutArrayPosition(int in_current_layoutArrayPosition)
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.load(in_current_layoutArrayPosition, *g_master->getLayoutManager(),
                              *g_master->getMonitorTracker());
    }
    if (status != 0)
        return status;
    const engine_trim_model::trim_values &current = m_model.current();
    m_block.layout_index = in_current_layoutArrayPosition;
    m_block.show_levels = 1;
    m_block.selected_corner = m_model.selected_corner();
    (m_model.portrait() ? ui->orientation_portrait_radioButton : ui->orientation_landscape_radioButton)->click();

    QSlider *luminance = ui->backlight_brightness_verticalSlider;
    {
        const QSignalBlocker blocker(luminance);
        luminance->setMaximum(m_model.luminance_maximum());
        luminance->setMinimum(m_model.luminance_minimum());
        luminance->setValue(current.luminance);
    }
    refresh_luminance_text();

    QSlider *level = ui->uniformity_correction_level_horizontalSlider;
    if (m_model.uniformity_supported()) {
        const QSignalBlocker blocker(level);
        level->setRange(0, m_model.level_maximum());
        level->setValue(current.level);
    } else {
        level->setEnabled(false);
        ui->uniformity_groupBox->setEnabled(false);
    }
    ui->uniformity_correction_level_label->setText(uniformity_level_text(level->value()));

    QDoubleSpinBox *x = ui->custom_white_point_x_doubleSpinBox;
    QDoubleSpinBox *y = ui->custom_white_point_y_doubleSpinBox;
    {
        const QSignalBlocker bx(x), by(y);
        x->setValue(current.x / 1000.0);
        y->setValue(current.y / 1000.0);
    }
    ui->cie_xy_widget->setRange(thou(x->minimum()), thou(x->maximum()), thou(y->minimum()), thou(y->maximum()));
    ui->cie_xy_widget->setValue(current.x, current.y);
    ui->corner_cie_xy_widget->setRange(kPickerX, kPickerX + kPickerSpan, kPickerY, kPickerY + kPickerSpan);
    ui->corner_cie_xy_widget->setValue(kPickerX + kPickerSpan / 2, kPickerY + kPickerSpan / 2);

    m_loaded = true;
    m_vcpTimer.set_held(false);
    m_backlightTimer.set_held(false);
    updateControlStatus();
    m_checkUniformityTimer.start(wait_service::timer_interval_ms(kCheckAfterLoadMs));
    return 0;
}

bool kq_visual_trim_kqe_dialog::write_pending() const
{
    return !timers_idle();
}

bool kq_visual_trim_kqe_dialog::timers_idle() const
{
    return !m_vcpTimer.isActive() && !m_backlightTimer.isActive() && !m_uniformityTimer.isActive();
}

engine_trim_model::trim_values kq_visual_trim_kqe_dialog::wanted() const
{
    engine_trim_model::trim_values values;
    values.luminance = ui->backlight_brightness_verticalSlider->value();
    values.x = thou(ui->custom_white_point_x_doubleSpinBox->value());
    values.y = thou(ui->custom_white_point_y_doubleSpinBox->value());
    values.level = ui->uniformity_correction_level_horizontalSlider->value();
    return values;
}

void kq_visual_trim_kqe_dialog::refresh_luminance_text()
{
    const QSlider *slider = ui->backlight_brightness_verticalSlider;
    const luminance_scale scale = scale_of(slider, m_model.luminance_in_candela());
    const QString text = scale.text(slider->value());
    if (!text.isEmpty())
        ui->backlight_brightness_label->setText(text);
    const warning_text warning = reduced_uniformity_warning(scale, m_model.uniformity_limit(), slider->value());
    ui->uniformity_warning_label->setText(warning.text);
    ui->uniformity_warning_label->setToolTip(warning.tooltip);
}

void kq_visual_trim_kqe_dialog::on_backlight_brightness_verticalSlider_valueChanged(int)
{
    refresh_luminance_text();
    m_backlightTimer.stop();
    ui->pwm_warning_label->clear();
    ui->pwm_warning_label->setToolTip(QString());
    m_warningTimer.stop();
    m_backlightTimer.restart();
    updateControlStatus();
}

void kq_visual_trim_kqe_dialog::white_changed()
{
    m_warningTimer.stop();
    m_vcpTimer.restart();
}

void kq_visual_trim_kqe_dialog::on_custom_white_point_x_doubleSpinBox_valueChanged(double)
{
    white_changed();
    ui->cie_xy_widget->setValue(thou(ui->custom_white_point_x_doubleSpinBox->value()),
                                thou(ui->custom_white_point_y_doubleSpinBox->value()));
}

void kq_visual_trim_kqe_dialog::on_custom_white_point_y_doubleSpinBox_valueChanged(double value)
{
    on_custom_white_point_x_doubleSpinBox_valueChanged(value);
}

void kq_visual_trim_kqe_dialog::set_spin(int which, int thousandths)
{
    QDoubleSpinBox *spin = which == 0 ? ui->custom_white_point_x_doubleSpinBox : ui->custom_white_point_y_doubleSpinBox;
    if (thou(spin->value()) != thousandths)
        spin->setValue(thousandths / 1000.0);
}

void kq_visual_trim_kqe_dialog::widget_cie_xy_changed(unsigned int x_value, unsigned int y_value)
{
    set_spin(0, int(x_value));
    set_spin(1, int(y_value));
}

void kq_visual_trim_kqe_dialog::on_uniformity_correction_level_horizontalSlider_valueChanged(int value)
{
    white_changed();
    ui->uniformity_correction_level_label->setText(uniformity_level_text(value));
}

QList<kq_update_counter_indicator *> kq_visual_trim_kqe_dialog::white_indicators() const
{
    return {ui->blue_update_counter_indicator_widget,    ui->cyan_update_counter_indicator_widget,
            ui->green_update_counter_indicator_widget,   ui->magenta_update_counter_indicator_widget,
            ui->red_update_counter_indicator_widget,     ui->yellow_update_counter_indicator_widget};
}

QList<kq_update_counter_indicator *> kq_visual_trim_kqe_dialog::corner_indicators() const
{
    return {ui->corner_uniformity_blue_update_counter_indicator_widget,
            ui->corner_uniformity_cyan_update_counter_indicator_widget,
            ui->corner_uniformity_green_update_counter_indicator_widget,
            ui->corner_uniformity_magenta_update_counter_indicator_widget,
            ui->corner_uniformity_red_update_counter_indicator_widget,
            ui->corner_uniformity_yellow_update_counter_indicator_widget};
}

void kq_visual_trim_kqe_dialog::white_cast_clicked(white_cast which)
{
    const QPoint step = kWhiteCasts[which];
    if (step.x() != 0)
        set_spin(0, thou(ui->custom_white_point_x_doubleSpinBox->value()) + step.x());
    if (step.y() != 0)
        set_spin(1, thou(ui->custom_white_point_y_doubleSpinBox->value()) + step.y());
    white_indicators().at(which)->increment_value();
}

void kq_visual_trim_kqe_dialog::on_too_blue_pushButton_clicked()
{
    white_cast_clicked(kWhiteBlue);
}

void kq_visual_trim_kqe_dialog::on_too_cyan_pushButton_clicked()
{
    white_cast_clicked(kWhiteCyan);
}

void kq_visual_trim_kqe_dialog::on_too_green_pushButton_clicked()
{
    white_cast_clicked(kWhiteGreen);
}

void kq_visual_trim_kqe_dialog::on_too_magenta_pushButton_clicked()
{
    white_cast_clicked(kWhiteMagenta);
}

void kq_visual_trim_kqe_dialog::on_too_red_pushButton_clicked()
{
    white_cast_clicked(kWhiteRed);
}

void kq_visual_trim_kqe_dialog::on_too_yellow_pushButton_clicked()
{
    white_cast_clicked(kWhiteYellow);
}

void kq_visual_trim_kqe_dialog::on_too_bright_pushButton_clicked()
{
    QSlider *slider = ui->backlight_brightness_verticalSlider;
    slider->setValue(slider->value() - 1);
    ui->bright_update_counter_indicator_widget->increment_value();
}

void kq_visual_trim_kqe_dialog::on_too_dark_pushButton_clicked()
{
    QSlider *slider = ui->backlight_brightness_verticalSlider;
    slider->setValue(slider->value() + 1);
    ui->dark_update_counter_indicator_widget->increment_value();
}

void kq_visual_trim_kqe_dialog::after_write(write_delay_timer &)
{
    updateControlStatus();
    run_pending();
    if (!m_finished && !m_pendingOk && !m_pendingCancel)
        m_checkUniformityTimer.start(wait_service::timer_interval_ms(kCheckAfterWriteMs));
}

void kq_visual_trim_kqe_dialog::vcp_timer_timeout()
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.write_white_and_level(wanted());
    }
    if (m_vcpTimer.retry_if_busy(status))
        return;
    for (kq_update_counter_indicator *indicator : white_indicators())
        indicator->reset();
    after_write(m_vcpTimer);
}

void kq_visual_trim_kqe_dialog::backlight_brightness_timer_timeout()
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.write_luminance(ui->backlight_brightness_verticalSlider->value());
    }
    if (m_backlightTimer.retry_if_busy(status))
        return;
    ui->bright_update_counter_indicator_widget->reset();
    ui->dark_update_counter_indicator_widget->reset();
    after_write(m_backlightTimer);
}

void kq_visual_trim_kqe_dialog::run_pending()
{
    if (!timers_idle())
        return;
    if (m_pendingOk)
        onaccept();
    else if (m_pendingCancel)
        reject();
}

void kq_visual_trim_kqe_dialog::check_uniformity_timer_timeout()
{
    if (m_model.read_uniformity_limit() == 0)
        refresh_luminance_text();
    run_pending();
    if (!m_finished && !m_pendingOk && !m_pendingCancel)
        m_warningTimer.start(wait_service::timer_interval_ms(kWarningIntervalMs));
}

void kq_visual_trim_kqe_dialog::check_max_luminance_warning_timer_timeout()
{
    int held = 0;
    if (m_model.read_held_luminance(held) != 0)
        return;
    const QSlider *slider = ui->backlight_brightness_verticalSlider;
    const warning_text warning = luminance_warning(scale_of(slider, m_model.luminance_in_candela()), held,
                                                   m_model.current().luminance, m_model.uniformity_limit());
    ui->pwm_warning_label->setText(warning.text);
    ui->pwm_warning_label->setToolTip(warning.tooltip);
}

void kq_visual_trim_kqe_dialog::on_undo_current_adjustment_pushButton_clicked()
{
    const engine_trim_model::trim_values &at_open = m_model.at_open();
    const engine_trim_model::trim_values now = wanted();
    if (at_open.luminance != m_model.current().luminance)
        ui->backlight_brightness_verticalSlider->setValue(at_open.luminance);
    m_redo[0] = m_model.current().luminance;
    m_redo[1] = now.x;
    m_redo[2] = now.y;
    set_spin(0, at_open.x);
    set_spin(1, at_open.y);
    ui->undo_current_adjustment_pushButton->setEnabled(false);
    const bool changed = now.luminance != at_open.luminance || now.x != at_open.x || now.y != at_open.y;
    ui->redo_current_adjustment->setEnabled(changed);
}

void kq_visual_trim_kqe_dialog::on_redo_current_adjustment_clicked()
{
    if (ui->backlight_brightness_verticalSlider->value() != m_redo[0])
        ui->backlight_brightness_verticalSlider->setValue(m_redo[0]);
    set_spin(0, m_redo[1]);
    set_spin(1, m_redo[2]);
    ui->redo_current_adjustment->setEnabled(false);
}

void kq_visual_trim_kqe_dialog::on_reset_visual_trim_pushButton_clicked()
{
    const engine_trim_model::trim_values &untrimmed = m_model.untrimmed();
    if (ui->backlight_brightness_verticalSlider->value() != untrimmed.luminance)
        ui->backlight_brightness_verticalSlider->setValue(untrimmed.luminance);
    set_spin(0, untrimmed.x);
    set_spin(1, untrimmed.y);
}

void kq_visual_trim_kqe_dialog::on_uniformity_correction_reset_pushButton_clicked()
{
    if (!m_model.uniformity_supported())
        return;
    if (m_model.untrimmed().level != m_model.current().level) {
        ui->uniformity_correction_level_horizontalSlider->setValue(m_model.untrimmed().level);
        refresh_luminance_text();
    }
    ui->uniformity_correction_reset_pushButton->setEnabled(false);
}

void kq_visual_trim_kqe_dialog::updateControlStatus()
{
    const engine_trim_model::trim_values &current = m_model.current();
    const engine_trim_model::trim_values &at_open = m_model.at_open();
    const engine_trim_model::trim_values &untrimmed = m_model.untrimmed();
    const bool undo = current.luminance != at_open.luminance || current.x != at_open.x || current.y != at_open.y;
    ui->undo_current_adjustment_pushButton->setEnabled(undo);
    if (undo)
        ui->redo_current_adjustment->setEnabled(false);
    const QSlider *luminance = ui->backlight_brightness_verticalSlider;
    ui->too_dark_pushButton->setEnabled(luminance->value() < luminance->maximum());
    ui->too_bright_pushButton->setEnabled(luminance->value() > luminance->minimum());
    const QDoubleSpinBox *x = ui->custom_white_point_x_doubleSpinBox;
    const QDoubleSpinBox *y = ui->custom_white_point_y_doubleSpinBox;
    const bool x_max = thou(x->value()) >= thou(x->maximum()), x_min = thou(x->value()) <= thou(x->minimum());
    const bool y_max = thou(y->value()) >= thou(y->maximum()), y_min = thou(y->value()) <= thou(y->minimum());
    ui->too_blue_pushButton->setEnabled(!x_max && !y_max);
    ui->too_yellow_pushButton->setEnabled(!x_min && !y_min);
    ui->too_red_pushButton->setEnabled(!x_min);
    ui->too_cyan_pushButton->setEnabled(!x_max);
    ui->too_green_pushButton->setEnabled(!y_min);
    ui->too_magenta_pushButton->setEnabled(!y_max);
    ui->reset_visual_trim_pushButton->setEnabled(current.luminance != untrimmed.luminance || current.x != untrimmed.x
                                                 || current.y != untrimmed.y);
    ui->uniformity_correction_reset_pushButton->setEnabled(current.level != untrimmed.level);
    ui->corner_uniformity_groupBox->setEnabled(m_model.corners_supported());
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::refresh_corner_controls()
{
    const bool valid = m_model.valid_corner();
    const engine_trim_model::corners &corners = m_model.current_corners();
    if (valid) {
        const CornerUniformityEntry &entry = corners[m_model.selected_corner()];
        {
            const QSignalBlocker corner(ui->corner_uniformity_select_corner_comboBox);
            const QSignalBlocker size(ui->corner_uniformity_level_comboBox);
            ui->corner_uniformity_select_corner_comboBox->setCurrentIndex(
                ui->corner_uniformity_select_corner_comboBox->findData(m_model.selected_corner()));
            ui->corner_uniformity_level_comboBox->setCurrentIndex(
                qMax(0, ui->corner_uniformity_level_comboBox->findData(entry.size_level)));
        }
        ui->corner_uniformity_too_red_pushButton->setEnabled(entry.first_offset > 0);
        ui->corner_uniformity_too_magenta_pushButton->setEnabled(entry.second_offset < entry.second_span);
        ui->corner_uniformity_too_blue_pushButton->setEnabled(entry.first_offset < entry.first_span
                                                              && entry.second_offset < entry.second_span);
        ui->corner_uniformity_too_cyan_pushButton->setEnabled(entry.first_offset < entry.first_span);
        ui->corner_uniformity_too_green_pushButton->setEnabled(entry.second_offset > 0);
        ui->corner_uniformity_too_yellow_pushButton->setEnabled(entry.first_offset > 0 && entry.second_offset > 0);
        ui->corner_uniformity_test_label->setText(corner_offset_text(entry));
        ui->corner_uniformity_reset_pushButton->setEnabled(entry.IsRead() && !engine_trim_model::at_centre(entry));
        ui->corner_cie_xy_widget->setValue(entry.first_offset + kPickerX, entry.second_offset + kPickerY);
    }
    const int level = ui->uniformity_correction_level_horizontalSlider->value();
    const bool editing = m_model.corner_editing(level);
    ui->corner_uniformity_reset_all_corners_pushButton->setEnabled(editing && m_model.any_corner_off_centre());
    const bool groups = editing && valid;
    ui->corner_uniformity_apply_to_groupBox->setEnabled(groups);
    ui->corner_uniformity_applied_color_cast_group->setEnabled(groups);
    ui->corner_uniformity_color_cast_buttons_groupBox->setEnabled(groups);
    m_block.supported = editing ? 1 : 0;
    m_block.selected_corner = m_model.selected_corner();
    for (int corner = 0; corner < 4; ++corner)
        m_block.corners[corner] = corners[corner];
    ui->corner_uniformity_diagram_widget->setCornerUniformityData(m_block);
}

void kq_visual_trim_kqe_dialog::widget_corner_uniformity_xy_changed(unsigned int x, unsigned int y)
{
    if (!m_model.set_corner_offsets(int(x) - kPickerX, int(y) - kPickerY))
        return;
    m_uniformityTimer.restart();
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::corner_cast_clicked(corner_cast which)
{
    if (!m_model.move_corner(kCornerCasts[which].x(), kCornerCasts[which].y()))
        return;
    m_uniformityTimer.restart();
    refresh_corner_controls();
    corner_indicators().at(which)->increment_value();
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_blue_pushButton_clicked()
{
    corner_cast_clicked(kCornerBlue);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_cyan_pushButton_clicked()
{
    corner_cast_clicked(kCornerCyan);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_green_pushButton_clicked()
{
    corner_cast_clicked(kCornerGreen);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_magenta_pushButton_clicked()
{
    corner_cast_clicked(kCornerMagenta);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_red_pushButton_clicked()
{
    corner_cast_clicked(kCornerRed);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_too_yellow_pushButton_clicked()
{
    corner_cast_clicked(kCornerYellow);
}

void kq_visual_trim_kqe_dialog::uniformity_update_timer_timeout()
{
    int status = 0;
    {
        wait_cursor cursor;
        status = m_model.write_selected_corner();
    }
    if (m_uniformityTimer.retry_if_busy(status))
        return;
    if (status == 0 && m_model.valid_corner()) {
        for (kq_update_counter_indicator *indicator : corner_indicators())
            indicator->reset();
    }
    run_pending();
}

void kq_visual_trim_kqe_dialog::in_selected_corner_position_changed(int, int selected_cornerPosition)
{
    // The old corner's pending write goes to the display before the
    // selection moves on.
    if (m_uniformityTimer.isActive()) {
        m_uniformityTimer.stop();
        uniformity_update_timer_timeout();
    }
    if (selected_cornerPosition >= 0)
        m_model.select_corner(selected_cornerPosition);
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::in_selected_corner_uniformity_level_changed(int, int uniformity_level)
{
    const int index = ui->corner_uniformity_level_comboBox->findData(uniformity_level);
    if (index >= 0)
        ui->corner_uniformity_level_comboBox->setCurrentIndex(index);
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_level_comboBox_currentIndexChanged(int index)
{
    if (!m_loaded || index < 0)
        return;
    {
        wait_cursor cursor;
        m_model.write_corner_size(ui->corner_uniformity_level_comboBox->itemData(index).toInt());
    }
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_select_corner_comboBox_currentIndexChanged(int index)
{
    if (!m_loaded || index < 0)
        return;
    m_model.select_corner(ui->corner_uniformity_select_corner_comboBox->itemData(index).toInt());
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::reset_corners(const QList<int> &corners)
{
    {
        wait_cursor cursor;
        bool written = false;
        for (int corner : corners)
            written = m_model.reset_corner(corner) == 1 || written;
        if (written)
            m_model.rewrite_level();
    }
    refresh_corner_controls();
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_reset_pushButton_clicked()
{
    if (m_model.valid_corner())
        reset_corners({m_model.selected_corner()});
}

void kq_visual_trim_kqe_dialog::on_corner_uniformity_reset_all_corners_pushButton_clicked()
{
    reset_corners({0, 1, 2, 3});
}

void kq_visual_trim_kqe_dialog::displayOrientationGroupClicked(int value)
{
    m_block.portrait = value == 1 ? 1 : 0;
    ui->corner_uniformity_diagram_widget->setCornerUniformityData(m_block);
    updateUniformitySelectCornerText(value == 1);
}

void kq_visual_trim_kqe_dialog::updateUniformitySelectCornerText(bool rotated)
{
    const QStringList names = corner_names(rotated);
    for (int corner = 0; corner < names.size(); ++corner)
        ui->corner_uniformity_select_corner_comboBox->setItemText(corner, names.at(corner));
}

void kq_visual_trim_kqe_dialog::stop_idle_checks()
{
    m_warningTimer.stop();
    m_checkUniformityTimer.stop();
}

void kq_visual_trim_kqe_dialog::onaccept()
{
    if (!timers_idle()) {
        m_pendingOk = true;
        return;
    }
    m_pendingOk = m_pendingCancel = false;
    m_finished = true;
    stop_idle_checks();
    m_model.accept(*g_master->getMonitorTracker());
    accept();
}

void kq_visual_trim_kqe_dialog::reject()
{
    if (!timers_idle()) {
        m_pendingCancel = true;
        return;
    }
    m_pendingOk = m_pendingCancel = false;
    m_finished = true;
    stop_idle_checks();
    m_model.cancel();
    QDialog::reject();
}
