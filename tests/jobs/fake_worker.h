#pragma once

#include "jobs/CConnectionObject.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QThread>

#include <atomic>
#include <functional>

// What the fake workers of one test share: which jobs are inside run, in
// which order they started, and when each may leave.
class fake_worker_gate
{
public:
    enum behaviour {
        blocking,       // leaves when released or stopped
        immediate,      // leaves at once
        stuck,          // leaves only when released, whatever the stop flag says
    };

    // What every job that was not stopped reports (its results filled in).
    using outcome = std::function<void(job_list_item &)>;
    void set_outcome(outcome o)
    {
        QMutexLocker lock(&m_mutex);
        m_outcome = std::move(o);
    }
    void apply_outcome(job_list_item &job) const
    {
        outcome o;
        {
            QMutexLocker lock(&m_mutex);
            o = m_outcome;
        }
        if (o)
            o(job);
    }

    void set_behaviour(int job_id, behaviour b)
    {
        QMutexLocker lock(&m_mutex);
        m_behaviour.insert(job_id, b);
    }
    void release(int job_id)
    {
        QMutexLocker lock(&m_mutex);
        m_released.insert(job_id);
    }
    void release_all()
    {
        QMutexLocker lock(&m_mutex);
        m_all_released = true;
    }

    QList<int> inside() const
    {
        QMutexLocker lock(&m_mutex);
        return m_inside;
    }
    QList<int> started() const
    {
        QMutexLocker lock(&m_mutex);
        return m_started;
    }
    // Whether two jobs on one link (key compared without letter case) or two
    // sensor jobs were ever inside at once.
    bool exclusion_broken() const
    {
        QMutexLocker lock(&m_mutex);
        return m_broken;
    }
    // The thread that ran the job, or null.
    QThread *thread_of(int job_id) const
    {
        QMutexLocker lock(&m_mutex);
        return m_threads.value(job_id);
    }
    int most_inside() const
    {
        QMutexLocker lock(&m_mutex);
        return m_most_inside;
    }

    // Runs the job's part: true when it was stopped.
    bool pass(const job_list_item &job, const std::atomic<bool> &stop)
    {
        enter(job);
        bool stopped = false;
        for (behaviour b = behaviour_of(job.job_id); b != immediate; b = behaviour_of(job.job_id)) {
            if (released(job.job_id))
                break;
            if (b == blocking && stop.load()) {
                stopped = true;
                break;
            }
            QThread::msleep(1);
        }
        leave(job);
        return stopped;
    }

private:
    struct inside_job
    {
        QString key;
        qint32 exclusive;
    };

    void enter(const job_list_item &job)
    {
        QMutexLocker lock(&m_mutex);
        for (const inside_job &other : m_inside_jobs) {
            if (other.key.compare(job.connection_key, Qt::CaseInsensitive) == 0
                || (other.exclusive && job.exclusive))
                m_broken = true;
        }
        m_inside << job.job_id;
        m_inside_jobs.insert(job.job_id, {job.connection_key, job.exclusive});
        m_started << job.job_id;
        m_threads.insert(job.job_id, QThread::currentThread());
        m_most_inside = qMax(m_most_inside, m_inside.size());
    }
    void leave(const job_list_item &job)
    {
        QMutexLocker lock(&m_mutex);
        m_inside.removeOne(job.job_id);
        m_inside_jobs.remove(job.job_id);
    }
    behaviour behaviour_of(int job_id) const
    {
        QMutexLocker lock(&m_mutex);
        return m_behaviour.value(job_id, blocking);
    }
    bool released(int job_id) const
    {
        QMutexLocker lock(&m_mutex);
        return m_all_released || m_released.contains(job_id);
    }

    mutable QMutex m_mutex;
    outcome m_outcome;
    QHash<int, behaviour> m_behaviour;
    QSet<int> m_released;
    bool m_all_released = false;
    QList<int> m_inside;
    QHash<int, inside_job> m_inside_jobs;
    QList<int> m_started;
    QHash<int, QThread *> m_threads;
    int m_most_inside = 0;
    bool m_broken = false;
};

// A worker that runs no task: it passes the gate and reports the job, with
// JOB_RESULT_STOPPED when it was stopped, else with the gate's outcome.
class fake_worker : public CConnectionObject
{
public:
    explicit fake_worker(fake_worker_gate &gate) : m_gate(gate) {}

    void run() override
    {
        m_status.store(1);
        if (m_gate.pass(m_job, m_stop_requested)) {
            m_job.result = JOB_RESULT_STOPPED;
            m_job.job_parameters.error_code = JOB_RESULT_STOPPED;
        } else {
            m_gate.apply_outcome(m_job);
        }
        m_status.store(0);
        emit output_job_results(m_job);
        emit done(m_job.job_id);
    }

private:
    fake_worker_gate &m_gate;
};

inline QueryThreadPool::worker_factory fake_workers(fake_worker_gate &gate)
{
    return [&gate] { return new fake_worker(gate); };
}

inline job_list_item make_job(int job_id, const QString &key, quint32 priority = 0, qint32 exclusive = 0)
{
    job_list_item job;
    job.job_id = job_id;
    job.position = job_id;
    job.connection_key = key;
    job.priority = priority;
    job.exclusive = exclusive;
    return job;
}
