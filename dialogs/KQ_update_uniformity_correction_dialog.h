#pragma once

#include "app/controller/display_layout_item.h"
#include "dialogs/uniformity_update_rules.h"
#include "dialogs/write_delay_timer.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_update_uniformity_correction_dialogClass;
}
struct job_list_item;

// The screen uniformity of one display with the internal engine: the state
// of its uniformity reference, its overall correction level, a white test
// pattern, the reset to the factory calibration and a new uniformity
// measurement with a chosen grid. Short reads and writes go through the
// shared display link, one exchange at a time; the procedures run as
// display jobs. Close (also Esc and the window's close) writes a pending
// level first and puts the test pattern back as it was found.
class KQ_update_uniformity_correction_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_update_uniformity_correction_dialog(QWidget *parent = nullptr);
    ~KQ_update_uniformity_correction_dialog() override;

    // 0, or the code with which the display cannot be shown.
    int set_display(int layout_index);
    bool write_pending() const { return m_vcpTimer.isActive(); }
    const uniformity_display_state &display_state() const { return m_state; }

    bool event(QEvent *event) override;

signals:
    void StartingTask(int task);
    void StartingSubTask(int subtask);
    void StepTaskCounter();
    void SetNumberOfTasks(int tasks);
    void SetNumberOfSubtasks(int subtasks);
    void StepSubTaskCounter();

public slots:
    // 0, or negative when the display's record cannot be found.
    int update_status_text();
    void update_uniformity_level_label();
    void on_start_pushButton_clicked();
    void on_h_spinBox_valueChanged(int value);
    void on_v_spinBox_valueChanged(int value);
    void on_done_pushButton_clicked();
    void on_reset_pushButton_clicked();
    void on_refresh_status_pushButton_clicked();
    void on_show_calibrated_white_test_pattern_checkBox_toggled(bool checked);
    void on_uniformity_correction_level_horizontalSlider_valueChanged(int value);
    void vcp_timer_timeout();
    void reject() override;

private:
    template <typename Body>
    int exchange(Body &&body);
    void read_display_state();
    void run_job(const job_list_item &job, const QString &title);
    void after_job();
    void update_estimate();
    void enable_controls();
    void restore_pattern_and_accept();

    std::unique_ptr<Ui::KQ_update_uniformity_correction_dialogClass> ui;
    int m_index = -1;
    display_layout_item m_item;
    bool m_portrait = false;
    bool m_statusUndetermined = false;
    bool m_initialising = true;
    bool m_closeWhenWritten = false;
    uniformity_display_state m_state;
    int m_openingPattern = 1;
    int m_openingLevels[3] = {0, 0, 0};
    int m_pattern = 1;
    write_delay_timer m_vcpTimer;
};
