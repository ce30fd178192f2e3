#pragma once

#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_list_item.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

// The base of every job worker. The pool creates one per started job, moves
// it onto the job's own thread, hands it the job with set_job and starts it
// with run; the worker reports only through its signals, which reach the
// pool queued on the user-interface thread. stop_job is called directly from
// the user-interface thread while run is busy, so it only raises flags.
//
// This base runs no task: run returns the job at once. The display worker
// (CPDLANConnectionObject) overrides run; tests derive fake workers.
class CConnectionObject : public QObject
{
    Q_OBJECT

public:
    CConnectionObject();
    ~CConnectionObject() override;

    // 1 while run works, 0 otherwise.
    int status() const { return m_status.load(); }
    bool stop_requested() const { return m_stop_requested.load(); }

signals:
    void output_job_results(job_list_item job);
    void done(int job_id);
    void task_progress(int job_id, int step, int total_steps, QString text);
    void sub_task_progress(int job_id, int step, int total_steps, QString text);
    void sleepTime(int job_id, int time_ms);
    void update_calibration_job_status_info(int job_id, calibration_job_status_info_item item);

public slots:
    virtual void run();
    virtual void stop_job();
    void set_job(const job_list_item &job);

protected:
    // Guards what stop_job (user-interface thread) and run (job thread) share
    // beyond the atomic flags.
    QMutex m_mutex;
    std::atomic<int> m_status{0};
    job_list_item m_job;
    std::atomic<bool> m_stop_requested{false};
};
