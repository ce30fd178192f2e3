#include "jobs/QueryThreadPool.h"

#include "display_protocol/wait_service.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/job_meta_types.h"
#include "jobs/job_task_type.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>
#include <QtGlobal>

namespace {

constexpr int kShutdownWaitStepMs = 200;
constexpr int kShutdownWaitSteps = 50;

} // namespace

QueryThreadPool::worker_factory QueryThreadPool::display_workers()
{
    return [] { return new CPDLANConnectionObject(); };
}

QueryThreadPool::QueryThreadPool(QObject *parent) : QueryThreadPool(display_workers(), kMaxRunning, parent) {}

QueryThreadPool::QueryThreadPool(worker_factory factory, int max_running, QObject *parent)
    : QObject(parent), m_max_running(qMax(1, max_running)), m_factory(std::move(factory))
{
    register_job_meta_types();
}

QueryThreadPool::~QueryThreadPool()
{
    QList<QThread *> threads;
    QList<CConnectionObject *> workers;
    {
        QMutexLocker lock(&m_queue_mutex);
        m_closing = true;
        m_pending.clear();
        threads.swap(m_threads);
        workers.swap(m_workers);
        m_running_ids.clear();
        m_busy.clear();
    }
    // Nothing reaches the pool from its jobs any more; the workers only stop.
    for (int i = 0; i < threads.size(); ++i) {
        disconnect(threads.at(i), nullptr, this, nullptr);
        disconnect(workers.at(i), nullptr, this, nullptr);
    }
    emit stop_job();
    for (QThread *thread : threads)
        thread->quit();
    for (int i = 0; i < threads.size(); ++i) {
        QThread *thread = threads.at(i);
        if (wait_for_thread(thread)) {
            delete thread;
            delete workers.at(i);
            continue;
        }
        // Deleting a running thread would abort the program: leave it, and
        // its worker, to end on their own.
        qWarning("QueryThreadPool: a job thread did not end; it is left running");
        thread->setParent(nullptr);
    }
    emit num_pending_jobs(0);
    emit num_jobs_running(0);
}

bool QueryThreadPool::wait_for_thread(QThread *thread)
{
    const unsigned long step = static_cast<unsigned long>(qMax<qint64>(1, wait_service::scaled_ms(kShutdownWaitStepMs)));
    for (int i = 0; i < kShutdownWaitSteps; ++i) {
        if (thread->wait(step))
            return true;
        QCoreApplication::processEvents();
    }
    return thread->isFinished();
}

int QueryThreadPool::running_count() const
{
    QMutexLocker lock(&m_queue_mutex);
    return m_threads.size();
}

int QueryThreadPool::pending_count() const
{
    QMutexLocker lock(&m_queue_mutex);
    return m_pending.size();
}

void QueryThreadPool::add_job(const QList<job_list_item> &jobs)
{
    for (const job_list_item &job : jobs)
        add_job(job);
}

void QueryThreadPool::add_job(const job_list_item &job)
{
    job_list_item queued = job;
    ++queued.queued_count;
    start_pass pass;
    {
        QMutexLocker lock(&m_queue_mutex);
        if (m_closing) {
            pass.duplicates << queued;
        } else {
            int at = 0;
            while (at < m_pending.size() && m_pending.at(at).priority >= queued.priority)
                ++at;
            m_pending.insert(at, queued);
            start_pending_jobs(pass);
        }
    }
    announce(pass);
}

void QueryThreadPool::start_pending_jobs(start_pass &pass)
{
    QMutexLocker lock(&m_start_mutex);
    int n = qMin(m_max_running - m_threads.size(), m_pending.size());
    int i = 0;
    while (n > 0 && i < m_pending.size()) {
        if (is_busy(m_pending.at(i))) {
            ++i;
            continue;
        }
        const job_list_item job = m_pending.takeAt(i);
        if (m_running_ids.contains(job.job_id)) {
            pass.duplicates << job;
            continue;
        }
        start_job(job);
        pass.started << job.job_id;
        --n;
    }
}

bool QueryThreadPool::is_busy(const job_list_item &job) const
{
    for (const busy_entry &entry : m_busy) {
        if (entry.connection_key.compare(job.connection_key, Qt::CaseInsensitive) == 0)
            return true;
        if (entry.exclusive != 0 && job.exclusive != 0)
            return true;
    }
    return false;
}

void QueryThreadPool::start_job(const job_list_item &job)
{
    auto *thread = new QThread(this);
    CConnectionObject *worker = m_factory();
    m_threads << thread;
    m_running_ids << job.job_id;
    m_busy << busy_entry{job.connection_key, job.monitor_id, job.connection_type, job.exclusive};
    m_workers << worker;
    worker->moveToThread(thread);

    connect(worker, &CConnectionObject::output_job_results, this, &QueryThreadPool::received_job_results);
    connect(worker, &CConnectionObject::task_progress, this, &QueryThreadPool::task_progress);
    connect(worker, &CConnectionObject::sub_task_progress, this, &QueryThreadPool::sub_task_progress);
    connect(worker, &CConnectionObject::update_calibration_job_status_info, this,
            &QueryThreadPool::update_calibration_job_status_info);
    connect(this, &QueryThreadPool::stop_job, worker, &CConnectionObject::stop_job, Qt::DirectConnection);
    connect(thread, &QThread::started, worker, &CConnectionObject::run);
    const int id = job.job_id;
    connect(thread, &QThread::finished, this, [this, id] { job_finished(id); });
    // Quits the job's event loop from the job thread itself, without waiting
    // for the user-interface thread.
    connect(worker, &CConnectionObject::done, thread, &QThread::quit, Qt::DirectConnection);

    worker->set_job(job);
    thread->start();
}

void QueryThreadPool::job_finished(const int &job_id)
{
    QThread *thread = nullptr;
    CConnectionObject *worker = nullptr;
    start_pass pass;
    {
        QMutexLocker lock(&m_queue_mutex);
        const int index = m_running_ids.indexOf(job_id);
        if (index >= 0) {
            thread = m_threads.takeAt(index);
            worker = m_workers.takeAt(index);
            m_running_ids.removeAt(index);
            m_busy.removeAt(index);
        }
        if (!m_pending.isEmpty())
            start_pending_jobs(pass);
    }
    if (thread) {
        // finished() is emitted just before the thread really ends.
        thread->wait();
        delete thread;
    }
    delete worker;
    announce(pass);
}

void QueryThreadPool::announce(const start_pass &pass)
{
    for (int id : pass.started)
        emit job_started(id);
    report_cancelled(pass.duplicates);
    emit_counts();
}

void QueryThreadPool::emit_counts()
{
    int running = 0, pending = 0;
    {
        QMutexLocker lock(&m_queue_mutex);
        running = m_threads.size();
        pending = m_pending.size();
    }
    emit num_jobs_running(running);
    emit num_pending_jobs(pending);
}

void QueryThreadPool::report_cancelled(const QList<job_list_item> &jobs)
{
    for (job_list_item job : jobs) {
        emit pending_job_cancelled(job.job_id);
        job.result = JOB_RESULT_CANCELLED;
        emit send_job_results(job);
    }
}

void QueryThreadPool::received_job_results(job_list_item job)
{
    if (job.job_parameters.stop_all_on_result != 0)
        stop_all_jobs(true);
    emit send_job_results(job);
    emit database_updated();
}

void QueryThreadPool::stop_all_jobs(bool force)
{
    QList<job_list_item> cancelled;
    {
        QMutexLocker lock(&m_queue_mutex);
        cancelled.swap(m_pending);
    }
    emit num_pending_jobs(0);
    report_cancelled(cancelled);
    if (force)
        emit stop_job();
}

void QueryThreadPool::stop_job_by_id(int job_id)
{
    QList<job_list_item> cancelled;
    {
        QMutexLocker lock(&m_queue_mutex);
        if (m_running_ids.contains(job_id)) {
            for (int i = 0; i < m_running_ids.size(); ++i)
                if (m_running_ids.at(i) == job_id)
                    m_workers.at(i)->stop_job();
            return;
        }
        for (int i = 0; i < m_pending.size();) {
            if (m_pending.at(i).job_id == job_id)
                cancelled << m_pending.takeAt(i);
            else
                ++i;
        }
    }
    report_cancelled(cancelled);
    emit num_pending_jobs(pending_count());
}
