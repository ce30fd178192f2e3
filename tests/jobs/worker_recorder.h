#pragma once

#include "jobs/CPDLANConnectionObject.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QString>

// Records what a display worker reports, from whichever thread it runs on.
class worker_recorder : public QObject
{
public:
    struct progress
    {
        int step;
        int total;
        QString text;
    };

    explicit worker_recorder(CPDLANConnectionObject &worker)
    {
        connect(&worker, &CConnectionObject::task_progress, this,
                [this](int, int step, int total, const QString &text) { add(m_steps, {step, total, text}); },
                Qt::DirectConnection);
        connect(&worker, &CConnectionObject::sub_task_progress, this,
                [this](int, int step, int total, const QString &text) { add(m_sub_steps, {step, total, text}); },
                Qt::DirectConnection);
        connect(&worker, &CConnectionObject::update_calibration_job_status_info, this,
                [this](int, const calibration_job_status_info_item &item) {
                    QMutexLocker lock(&m_mutex);
                    m_status << item;
                },
                Qt::DirectConnection);
        connect(&worker, &CConnectionObject::output_job_results, this,
                [this](const job_list_item &job) {
                    QMutexLocker lock(&m_mutex);
                    m_results << job;
                },
                Qt::DirectConnection);
        connect(&worker, &CConnectionObject::done, this,
                [this](int id) {
                    QMutexLocker lock(&m_mutex);
                    m_done << id;
                },
                Qt::DirectConnection);
    }

    QList<progress> steps() const { return locked(m_steps); }
    QList<progress> sub_steps() const { return locked(m_sub_steps); }
    QList<calibration_job_status_info_item> status() const { return locked(m_status); }
    QList<job_list_item> results() const { return locked(m_results); }
    QList<int> done() const { return locked(m_done); }
    job_list_item result() const
    {
        const QList<job_list_item> all = results();
        return all.isEmpty() ? job_list_item() : all.last();
    }
    QStringList step_texts() const
    {
        QStringList texts;
        for (const progress &p : steps())
            texts << p.text;
        return texts;
    }
    QStringList sub_step_texts() const
    {
        QStringList texts;
        for (const progress &p : sub_steps())
            texts << p.text;
        return texts;
    }

private:
    template <typename T>
    void add(QList<T> &list, const T &value)
    {
        QMutexLocker lock(&m_mutex);
        list << value;
    }
    template <typename T>
    QList<T> locked(const QList<T> &list) const
    {
        QMutexLocker lock(&m_mutex);
        return list;
    }

    mutable QMutex m_mutex;
    QList<progress> m_steps;
    QList<progress> m_sub_steps;
    QList<calibration_job_status_info_item> m_status;
    QList<job_list_item> m_results;
    QList<int> m_done;
};
