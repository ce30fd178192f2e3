#include "jobs/CConnectionObject.h"

CConnectionObject::CConnectionObject() : QObject(nullptr)
{
    m_job.job_id = 0;
}

CConnectionObject::~CConnectionObject() = default;

void CConnectionObject::run()
{
    m_status.store(0);
    emit output_job_results(m_job);
    emit done(m_job.job_id);
}

void CConnectionObject::stop_job()
{
    m_stop_requested.store(true);
}

void CConnectionObject::set_job(const job_list_item &job)
{
    m_job = job;
}
