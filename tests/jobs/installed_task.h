#pragma once

#include "jobs/worker_task_table.h"

// Installs a task operation for the life of a test, then puts back the one
// it replaced.
class installed_task
{
public:
    installed_task(qint32 task, worker_task_operation operation) : m_task(task), m_previous(worker_task(task))
    {
        install_worker_task(task, operation);
    }
    ~installed_task() { install_worker_task(m_task, m_previous); }
    installed_task(const installed_task &) = delete;
    installed_task &operator=(const installed_task &) = delete;

private:
    qint32 m_task;
    worker_task_operation m_previous;
};
