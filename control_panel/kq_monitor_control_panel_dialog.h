#pragma once

#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_row.h"
#include "control_panel/core/holiday_programs.h"
#include "control_panel/core/schedule_programs.h"
#include "control_panel/kq_monitor_control_panel_form.h"
#include "jobs/job_list_item.h"

#include <QDialog>
#include <QList>
#include <QTimer>

#include <functional>

class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;
class QTreeWidgetItem;
class basic_monitor;
class layout_manager;

// The per-display control panel: reads a display's own settings page by page
// over the one shared display link and writes changes back, to one display
// directly or to a row, a column or the whole wall through jobs. Modal; holds
// the shared link open only inside one operation.
class kq_monitor_control_panel_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit kq_monitor_control_panel_dialog(int layout_index, QWidget *parent = nullptr);
    ~kq_monitor_control_panel_dialog() override;

    // Shows the text of |status| behind the alert icon; 0 clears the line.
    void setErrorMessage(int status);

    const QList<int> &targets() const { return target_display_indices; }
    int debounce_interval_ms() const;

signals:
    void update_tile_matrix_selection(int x, int y);
    void update_slider_control(QSlider *control, int value);
    void update_spinbox_control(QSpinBox *control, int value);

public slots:
    bool open_port_for_display(int array_index);
    void close_port_for_display();
    void changePage(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void update_graphics();

    // Reading and writing.
    void tabChanged(int tab);
    void update_vcp(uint vcp, uint &value);
    void update_vcp_all_displays(uint vcp, uint value);
    void queue_slider_change(QSlider *slider, uint vcp);
    void queue_spinbox_change(QSpinBox *spinbox, uint vcp);
    void slider_timer_timeout();
    void spinbox_timer_timeout();
    void update_silder_control_value(QSlider *control, int value);
    void update_spinbox_control_value(QSpinBox *control, int value);
    void write_power_save_time(uint units);
    void write_standby_time(uint units);

    // The target displays.
    void on_apply_to_select_type_comboBox_currentIndexChanged(int index);
    void on_apply_to_display_list_comboBox_currentIndexChanged(int index);
    void rebuild_target_display_indices();
    void update_controls_for_target_count();
    void refresh_after_target_change();

    // Power and cooling.
    void on_power_on_pushButton_clicked();
    void on_power_off_pushButton_clicked();
    void set_displays_power_state(int mode);
    void update_power_state_ui(int mode);
    void update_power_on_delay_ui(int value);
    void on_update_power_saving_delay_pushButton_clicked();
    void on_update_cooling_fan_pushButton_clicked();

    // Video input, picture and size resets, uniformity and calibration inputs.
    void onVideoInputChanged(int index);
    void on_video_input_update_pushButton_clicked();
    void on_color_reset_pushButton_clicked();
    void on_size_reset_pushButton_clicked();
    void update_kqe_uniformity_label();
    void onInputComboBoxChanged();
    void on_calibration_apply_pushButton_clicked();

    // Tile matrix.
    void on_enable_tile_matrix_groupBox_toggled(bool checked);
    void on_horizontal_monitors_spinBox_valueChanged(int value);
    void on_vertical_monitors_spinBox_valueChanged(int value);
    void tile_matrix_spinbox_timer_timeout();
    void tile_matrix_selection_changed(int column, int row);
    void on_tile_matrix_update_pushButton_clicked();
    void on_frame_comp_auto_value_doubleSpinBox_valueChanged(double value);
    void on_frame_comp_manual_value_doubleSpinBox_valueChanged(double value);
    void frame_comp_spinbox_timer_timeout();

    // IR remote.
    void append_ir_code(quint8 code);
    void on_ir_remote_sendsequence_pushButton_clicked();
    void on_ir_remote_clear_pushButton_clicked();
    void update_send_ir_sequence_state();
    void send_ir_codes(const QByteArray &codes);
    // OSD and group ID.
    void on_osd_show_display_id_pushButton_clicked();
    void on_group_ID_update_pushButton_clicked();
    void update_group_ID_ui();
    void update_monitor_group_ID_from_ui();

    // Status.
    void on_copy_status_pushButton_clicked();

    // Analog video.
    void on_auto_setup_pushButton_clicked();
    void on_auto_gain_bias_pushButton_clicked();
    void on_mode_expert_pushButton_clicked();
    void on_mode_normal_pushButton_clicked();
    void on_black_lut_pushButton_clicked();
    void on_white_lut_pushButton_clicked();
    void on_normal_lut_pushButton_clicked();
    void read_analog_advanced_page();

    // Clock.
    void on_set_to_custom_date_pushButton_clicked();
    void on_set_to_system_date_pushButton_clicked();

    // Basic schedule.
    int read_schedule();
    void show_schedule(schedule_program_record record);
    void on_schedule_number_comboBox_currentIndexChanged(int index);
    void on_schedule_every_day_checkBox_stateChanged(int state);
    void on_schedule_on_time_enable_checkBox_stateChanged(int state);
    void on_schedule_off_time_enable_checkBox_stateChanged(int state);
    void on_schedule_update_pushButton_clicked();

    // Advanced schedules, holidays and weekend.
    int read_advanced_schedule(bool open_link);
    void on_advanced_schedule_number_comboBox_currentIndexChanged(int index);
    void on_advanced_schedule_date_radioButton_toggled(bool checked);
    void on_advanced_schedule_enable_groupBox_toggled(bool checked);
    void on_advanced_schedule_every_week_radioButton_toggled(bool checked);
    void on_advanced_schedule_update_pushButton_clicked();
    void on_advanced_schedule_clear_all_pushButton_clicked();
    int read_holiday(bool open_link);
    void on_holiday_program_comboBox_currentIndexChanged(int index);
    void on_holiday_day_radioButton_toggled(bool checked);
    void on_holiday_week_radioButton_toggled(bool checked);
    void on_holiday_end_day_checkBox_toggled(bool checked);
    void update_holiday_description();
    void on_holiday_update_pushButton_clicked();
    void on_holiday_clear_all_pushButton_clicked();
    int read_weekend();
    void on_advanced_schedule_weekend_update_pushButton_clicked();

protected:
    bool event(QEvent *event) override;

private:
    template <typename Control>
    struct pending_change
    {
        Control *control;
        uint vcp;
    };

    basic_monitor &monitor() const;
    layout_manager &layout() const;
    bool one_target() const { return target_display_indices.size() == 1; }
    void release_link();
    int apply_to_kind() const;

    // Construction.
    void add_row_items();
    void tie_sliders_to_spin_boxes();
    void style_six_axis_sliders();
    void build_page_tree();
    void connect_rows();
    void connect_row(const control_row &row);
    void connect_check_box(const control_row &row);

    // Pages as rows.
    page_reading read_row_page(int page);
    void read_page_extras(int page, const page_reading &reading);
    // Reads the current page again after an operation whose |status| it
    // keeps in the status line.
    void refresh_page_keeping(int status);
    void write_row_now(const control_row &row, int value);
    void update_row(const control_row &row);

    // Pages with code of their own.
    void init_power_page();
    void init_video_pages();
    void init_tile_matrix_pages();
    void init_ir_page();
    void show_staggered_delay_range(const row_reading &delay);
    void reset_to_defaults(int value);
    void read_tile_matrix_page();
    void show_tile_cell(int position, int columns, int rows);

    // Pages of their own (not rows), and what they share.
    void read_page_of_its_own(int page);
    // One job per target display from |job|; the status line is cleared
    // afterwards. Nothing runs without a target.
    void run_jobs(const job_list_item &job, bool close_immediately = false);
    // Runs |read| on the one target under the wait cursor: on a link of its
    // own with |open_link| (-1 when it does not open), else on the page
    // refresh's; the status line shows its result. With other than one
    // target the page keeps what it shows and nothing is read.
    int read_one_target(bool open_link, const std::function<int()> &read);
    // A question with OK and Cancel (default Cancel); true for OK.
    bool confirm(int text_id);
    // A warning with Yes and Cancel; true for Yes.
    bool confirm_clearing(int text_id);
    void fill_own_combo_boxes();
    void connect_own_pages();
    void read_status_page();
    void read_analog_page();
    void set_expert_mode(quint8 mode);
    void run_lut_job(int text_id, int kind);
    void read_clock();
    void set_clock(bool to_system_time);
    int read_basic_schedule(bool open_link);
    schedule_programs::basic_program basic_program_on_page() const;
    void show_advanced_program(const schedule_programs::advanced_program &program);
    schedule_programs::advanced_program advanced_program_on_page() const;
    void show_holiday(const holiday_programs::shown &holiday);
    holiday_programs::fields collect_holiday() const;
    QList<QCheckBox *> check_box_row(const char *prefix) const;

    template <typename Control>
    void queue_change(QList<pending_change<Control> *> &pending, QTimer &timer, Control *control, uint vcp);

    Ui::kq_monitor_control_panel_dialogClass form;
    bool port_open = false;
    QTimer slider_timer;
    QList<pending_change<QSlider> *> pending_slider_changes;
    QList<pending_change<QSpinBox> *> pending_spinbox_changes;
    QTimer spinbox_timer;
    QTimer tile_matrix_spinbox_timer;
    QTimer frame_comp_spinbox_timer;
    bool tile_columns_changed = false;
    bool tile_rows_changed = false;
    bool frame_comp_auto_changed = false;
    bool frame_comp_manual_changed = false;
    int display_index = 0;
    int display_row = 0;
    int display_column = 0;
    QList<int> target_display_indices;
    bool analog_offset_alternate_codes = false;
};
