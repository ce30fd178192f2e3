#pragma once

#include "app/controller/display_job_status_info_item.h"
#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_list_item.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

class QueryThreadPool;
class layout_manager;

// The relay between the job pool and one operation progress dialog: queues
// the dialog's jobs, keeps a running summary of each display's jobs and
// forwards counts, results and calibration status to the dialog. Every
// change of a display's summary is also announced for the wall layout.
//
// Only the jobs queued through this hub are its own: reports of other jobs
// (another dialog's) are ignored, so two live dialogs never disturb each
// other. Lives on the user-interface thread.
class job_handler : public QObject
{
    Q_OBJECT

public:
    // Relays |pool|'s reports and feeds the summaries into |layout|; either
    // may be null (no jobs queued, no layout fed).
    job_handler(QueryThreadPool *pool, layout_manager *layout, QObject *parent = nullptr);

    // Counts each job as pending for its display, then queues them all.
    void add_jobs(const QList<job_list_item> &jobs);
    void stop_all_jobs(bool force);

    // The summary of the display at |position| (a zero one when it has none).
    display_job_status_info_item display_status(int position) const;

signals:
    void out_num_pending_jobs(int count);
    void out_num_jobs_running(int count);
    void out_job_results(job_list_item job);
    void update_display_job_status_info_item(int position, display_job_status_info_item item);
    void update_calibration_job_status_info(int job_id, calibration_job_status_info_item item);

public slots:
    void job_results(job_list_item job);
    void job_started(int job_id);
    void job_task_progress(int job_id, int step, int total_steps, QString text);
    void job_sub_task_progress(int job_id, int step, int total_steps, QString text);
    void num_pending_jobs(int count);
    void num_jobs_running(int count);
    void pending_job_cancelled(int job_id);
    void calibration_status(int job_id, calibration_job_status_info_item item);

private:
    // Changes the summary of the display of |job_id|, when the job is one of
    // this hub's, and announces the summary now stored.
    template <typename Change>
    void change_status(int job_id, Change &&change);

    QueryThreadPool *m_pool;
    QHash<int, int> m_job_positions;    // job id -> position
    QHash<int, display_job_status_info_item> m_display_status;
    mutable QMutex m_mutex;             // over m_display_status
};
