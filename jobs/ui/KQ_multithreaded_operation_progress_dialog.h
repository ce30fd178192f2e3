#pragma once

#include "app/controller/display_job_status_info_item.h"
#include "app/services/frame_pacer.h"
#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_handler.h"
#include "jobs/job_list_item.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTimer>

#include <memory>

namespace Ui {
class KQ_multithreaded_operation_progress_dialogClass;
}
class QProgressBar;

// The one modal dialog through which every operation on several displays
// runs. Its opener describes the operation as a job template and a list of
// wall positions (add_job, possibly more than once), starts the jobs and runs
// the dialog; afterwards it reads the finished jobs with get_job_results.
// The dialog shows one row per display with its progress and status, the
// calibration panel while the jobs use the colour sensor, and the overall
// count; it closes itself once every job has ended without error.
class KQ_multithreaded_operation_progress_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_multithreaded_operation_progress_dialog(QWidget *parent = nullptr);
    ~KQ_multithreaded_operation_progress_dialog() override;

    // One job per position from |job_template|; a non-empty |title| becomes
    // the operation's title. Returns 0.
    int add_job(job_list_item job_template, QList<int> positions, QString title = QString());
    // Close at once, not 3000 ms after the last job ended well.
    void set_close_immediately(bool immediately);
    // Queues the jobs added since the last start and fills their rows; -1
    // when there are none.
    int start_jobs();
    // The finished jobs, by job id.
    QList<job_list_item> get_job_results() const;
    void get_job_results(QList<job_list_item> &results) const;

signals:
    void update_display_model_info_status_item(int item, QString model_name, QString serial_number,
                                               int verify_status);

public slots:
    void num_pending_jobs(int count);
    void num_jobs_running(int count);
    void job_results(job_list_item job);
    void update_display_job_status_info_item(int position, display_job_status_info_item item);
    void update_calibration_job_status_info(int job_id, calibration_job_status_info_item item);
    // Escape, the window's close and Cancel: cancels the jobs while any
    // remain, else closes the dialog.
    void reject() override;

private slots:
    void on_retry_pushButton_clicked();
    void on_cancel_jobs_pushButton_clicked();
    void on_close_pushButton_clicked();
    void on_job_tableWidget_itemSelectionChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Shows the latest summary of the display at |position| in its row and
    // on the wall, as the frame pacer says.
    void deliver_summary(int position);
    void refresh_counts();
    void show_error(const job_list_item &job);
    void announce_error();
    void queue_follow_up(const job_list_item &job);
    void refresh_retry();
    void remove_sensor_prompt();
    void show_every_row();
    int row_of(int position) const;
    int append_row(const job_list_item &job);
    QProgressBar *progress_bar(int row) const;
    void set_status(int row, const QString &text, const QColor &colour);
    int next_job_id() const;

    std::unique_ptr<Ui::KQ_multithreaded_operation_progress_dialogClass> ui;
    job_handler m_handler;
    // The workers report far faster than a screen shows: each display's
    // summary reaches its row and its tile at most once a frame.
    frame_pacer m_summaries;
    QString m_operation_title;
    QList<job_list_item> m_jobs;        // added, not yet started
    QList<job_list_item> m_results;     // in arrival order
    int m_num_running = 0;
    int m_num_pending = 0;
    int m_num_errors = 0;
    bool m_sensor_jobs = false;
    bool m_close_immediately = false;
    int m_last_sensor_position = -1;    // the display a sensor job list ends with
    bool m_error_announced = false;
    QTimer m_close_timer;
};
