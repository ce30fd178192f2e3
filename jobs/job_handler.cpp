#include "jobs/job_handler.h"

#include "app/controller/layout_manager.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"

#include <QMutexLocker>

job_handler::job_handler(QueryThreadPool *pool, layout_manager *layout, QObject *parent)
    : QObject(parent), m_pool(pool)
{
    if (layout)
        connect(this, &job_handler::update_display_job_status_info_item, layout,
                &layout_manager::update_display_job_status_info_item);
    if (!m_pool)
        return;
    connect(m_pool, &QueryThreadPool::num_pending_jobs, this, &job_handler::num_pending_jobs);
    connect(m_pool, &QueryThreadPool::num_jobs_running, this, &job_handler::num_jobs_running);
    connect(m_pool, &QueryThreadPool::job_started, this, &job_handler::job_started);
    connect(m_pool, &QueryThreadPool::pending_job_cancelled, this, &job_handler::pending_job_cancelled);
    connect(m_pool, &QueryThreadPool::task_progress, this, &job_handler::job_task_progress);
    connect(m_pool, &QueryThreadPool::sub_task_progress, this, &job_handler::job_sub_task_progress);
    connect(m_pool, &QueryThreadPool::send_job_results, this, &job_handler::job_results);
    connect(m_pool, &QueryThreadPool::update_calibration_job_status_info, this, &job_handler::calibration_status);
}

void job_handler::add_jobs(const QList<job_list_item> &jobs)
{
    for (const job_list_item &job : jobs) {
        m_job_positions.insert(job.job_id, job.position);
        display_job_status_info_item stored;
        {
            QMutexLocker lock(&m_mutex);
            display_job_status_info_item &status = m_display_status[job.position];
            ++status.pending;
            stored = status;
        }
        emit update_display_job_status_info_item(job.position, stored);
    }
    if (m_pool)
        m_pool->add_job(jobs);
}

void job_handler::stop_all_jobs(bool force)
{
    if (m_pool)
        m_pool->stop_all_jobs(force);
}

display_job_status_info_item job_handler::display_status(int position) const
{
    QMutexLocker lock(&m_mutex);
    return m_display_status.value(position);
}

template <typename Change>
void job_handler::change_status(int job_id, Change &&change)
{
    const auto known = m_job_positions.constFind(job_id);
    if (known == m_job_positions.cend())
        return;
    const int position = known.value();
    display_job_status_info_item stored;
    {
        QMutexLocker lock(&m_mutex);
        const auto it = m_display_status.find(position);
        if (it != m_display_status.end()) {
            change(it.value());
            stored = it.value();
        }
    }
    emit update_display_job_status_info_item(position, stored);
}

void job_handler::job_started(int job_id)
{
    change_status(job_id, [](display_job_status_info_item &status) {
        ++status.running;
        status.pending = qMax(0, status.pending - 1);
        status.task_total = status.task_step = 0;
        status.sub_task_total = status.sub_task_step = 0;
        status.last_result = 0;
    });
}

void job_handler::job_task_progress(int job_id, int step, int total_steps, QString text)
{
    change_status(job_id, [&](display_job_status_info_item &status) {
        status.task_total = total_steps;
        status.task_step = step;
        if (!text.isEmpty()) {
            status.task_text = text;
            status.sub_task_text.clear();
        }
        status.sub_task_total = status.sub_task_step = 0;
    });
}

void job_handler::job_sub_task_progress(int job_id, int step, int total_steps, QString text)
{
    change_status(job_id, [&](display_job_status_info_item &status) {
        status.sub_task_total = total_steps;
        status.sub_task_step = step;
        if (!text.isEmpty())
            status.sub_task_text = text;
    });
}

void job_handler::pending_job_cancelled(int job_id)
{
    change_status(job_id, [](display_job_status_info_item &status) {
        status.pending = qMax(0, status.pending - 1);
    });
}

void job_handler::job_results(job_list_item job)
{
    if (!m_job_positions.contains(job.job_id))
        return;
    change_status(job.job_id, [&job](display_job_status_info_item &status) {
        if (job.result != JOB_RESULT_CANCELLED)
            status.running = qMax(0, status.running - 1);
        status.last_result = job.effective_result();
    });
    emit out_job_results(job);
}

void job_handler::calibration_status(int job_id, calibration_job_status_info_item item)
{
    if (m_job_positions.contains(job_id))
        emit update_calibration_job_status_info(job_id, item);
}

void job_handler::num_pending_jobs(int count)
{
    emit out_num_pending_jobs(count);
}

void job_handler::num_jobs_running(int count)
{
    emit out_num_jobs_running(count);
}
