#pragma once

#include "jobs/QueryThreadPool.h"

#include <QList>
#include <QObject>

// Records what a pool announces.
struct pool_recorder
{
    explicit pool_recorder(QueryThreadPool &pool)
    {
        QObject::connect(&pool, &QueryThreadPool::send_job_results, &pool,
                         [this](const job_list_item &job) { results << job; });
        QObject::connect(&pool, &QueryThreadPool::job_started, &pool, [this](int id) { started << id; });
        QObject::connect(&pool, &QueryThreadPool::pending_job_cancelled, &pool,
                         [this](int id) { cancelled << id; });
        QObject::connect(&pool, &QueryThreadPool::num_jobs_running, &pool, [this](int n) { running = n; });
        QObject::connect(&pool, &QueryThreadPool::num_pending_jobs, &pool, [this](int n) { pending = n; });
    }

    QList<int> result_ids() const
    {
        QList<int> ids;
        for (const job_list_item &job : results)
            ids << job.job_id;
        return ids;
    }
    job_list_item result_of(int job_id) const
    {
        for (const job_list_item &job : results)
            if (job.job_id == job_id)
                return job;
        return job_list_item();
    }

    QList<job_list_item> results;
    QList<int> started;
    QList<int> cancelled;
    int running = -1;
    int pending = -1;
};
