#pragma once

#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_list_item.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <functional>

class CConnectionObject;
class QThread;

// Runs display jobs on worker threads: at most max_running() at once, one
// new thread and one new worker per started job, never two jobs at once on
// one display link (connection keys compared without regard to letter case,
// so a daisy chain is one link) and never two jobs that use the colour
// sensor. Pending jobs start in priority order; a job passed over because
// its link or the sensor is busy keeps its place.
//
// Lives on the user-interface thread; all slots run there. Workers reach it
// only through queued signals, except stop_job, which is delivered directly
// so that the stop flags rise at once. Signals are emitted with no mutex
// held, so their receivers may call back into the pool.
class QueryThreadPool : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRunning = 30;
    // Makes the worker of a started job; the pool owns it.
    using worker_factory = std::function<CConnectionObject *()>;
    // Makes display workers (CPDLANConnectionObject).
    static worker_factory display_workers();

    // Display workers, at most kMaxRunning at once.
    explicit QueryThreadPool(QObject *parent = nullptr);
    // Another kind of worker or another limit: for tests and benchmarks.
    QueryThreadPool(worker_factory factory, int max_running, QObject *parent = nullptr);
    // Cancels the pending jobs, stops the running ones and waits for their
    // threads (200 ms steps, at most 50, processing events). A thread that
    // still runs after that is left running with its worker, never deleted.
    ~QueryThreadPool() override;

    int max_running() const { return m_max_running; }
    int running_count() const;
    int pending_count() const;

signals:
    void num_pending_jobs(int count);
    void num_jobs_running(int count);
    void stop_job();
    void database_updated();
    void send_job_results(job_list_item job);
    void job_started(int job_id);
    void task_progress(int job_id, int step, int total_steps, QString text);
    void sub_task_progress(int job_id, int step, int total_steps, QString text);
    void pending_job_cancelled(int job_id);
    void update_calibration_job_status_info(int job_id, calibration_job_status_info_item item);

public slots:
    void received_job_results(job_list_item job);
    // Queues a copy behind the pending jobs of equal or higher priority.
    void add_job(const job_list_item &job);
    void add_job(const QList<job_list_item> &jobs);
    void job_finished(const int &job_id);
    // Cancels every pending job; with |force| also stops the running ones.
    void stop_all_jobs(bool force);
    // Stops the running job of that id, or else cancels its pending jobs.
    void stop_job_by_id(int job_id);

private:
    struct busy_entry
    {
        QString connection_key;
        qint32 monitor_id = 0;
        qint32 connection_type = 0;
        qint32 exclusive = 0;
    };
    // What a start pass did, announced once the mutexes are released.
    struct start_pass
    {
        QList<int> started;
        QList<job_list_item> duplicates;    // their id was already running
    };

    void start_pending_jobs(start_pass &pass);
    bool is_busy(const job_list_item &job) const;
    void start_job(const job_list_item &job);
    void announce(const start_pass &pass);
    void emit_counts();
    void report_cancelled(const QList<job_list_item> &jobs);
    bool wait_for_thread(QThread *thread);

    QList<QThread *> m_threads;
    QList<int> m_running_ids;
    QList<busy_entry> m_busy;
    QList<CConnectionObject *> m_workers;
    QList<job_list_item> m_pending;
    mutable QMutex m_queue_mutex;
    QMutex m_start_mutex;
    int m_max_running = kMaxRunning;
    worker_factory m_factory;
    bool m_closing = false;
};
