#include "jobs/CPDLANConnectionObject.h"

#include "app/services/error_code_table.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_step_plan.h"
#include "jobs/job_task_type.h"
#include "jobs/worker_task_table.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThread>

namespace {

constexpr int kLinkAttempts = 3;
constexpr int kNullLink = 2;
constexpr int kCompletePauseMs = 50;
constexpr int kStatusIntervalMs = 1000;
constexpr int kReadyPolls = 20;
constexpr int kNapSliceMs = 10;

// Codes that mean the display link itself failed.
bool means_connection_lost(int result)
{
    return result == -1026 || result == -1008 || result == -1003 || result == -1000;
}

} // namespace

CPDLANConnectionObject::CPDLANConnectionObject() : m_link(new basic_monitor(this))
{
    connect(m_link, &basic_monitor::set_get_vcp_progess, this, &CPDLANConnectionObject::set_get_vcp_progess);
}

CPDLANConnectionObject::~CPDLANConnectionObject() = default;

// --- the job -----------------------------------------------------------------

void CPDLANConnectionObject::run()
{
    m_status.store(1);
    m_link->set_retry_count(kLinkAttempts);
    m_job.job_parameters.verify_status = -1;
    const CPreferences *preferences = shell_registry::preferences();
    const job_step_plan plan =
        plan_job_steps(m_job, preferences && preferences->GetMeasureDisplaysAfterCalibration());
    m_step_total = plan.total;
    m_step = 1;
    emit task_progress(m_job.job_id, 0, m_step_total, tr("Connecting..."));
    const int result = connect_and_run(plan.identify);
    release_link();
    finish(result);
}

int CPDLANConnectionObject::connect_and_run(bool identify)
{
    job_parameters_block &out = m_job.job_parameters;
    const int opened = m_link->open_link(m_job.connection_key, m_job.connection_type);
    if (opened != 0) {
        m_job.result = opened;
        out.error_text = error_code_text(opened);
        if (m_job.has_task(JOB_TASK_CHECK_CAPABILITIES))
            out.verify_status = 2;
        return opened;
    }
    m_link->set_monitor_id(static_cast<quint8>(m_job.monitor_id + basic_monitor::kMonitorIdBase));
    if (identify) {
        if (const int status = identify_display()) {
            out.verify_status = 2;
            return status;
        }
    }
    return run_task_list();
}

int CPDLANConnectionObject::run_task_list()
{
    for (const qint32 task : m_job.task_list) {
        if (stop_requested())
            return JOB_RESULT_STOPPED;
        if (is_passed_over_task(task))
            continue;
        const worker_task_operation operation = worker_task(task);
        if (!operation) {
            m_job.job_parameters.error_text =
                tr("The task \"%1\" (%2) is not available.").arg(worker_task_name(task)).arg(task);
            return JOB_RESULT_TASK_NOT_AVAILABLE;
        }
        if (const int status = operation(*this))
            return status;
    }
    return 0;
}

void CPDLANConnectionObject::release_link()
{
    m_link->open_link(QString(), kNullLink);
}

void CPDLANConnectionObject::finish(int result)
{
    job_parameters_block &out = m_job.job_parameters;
    if (result != 0 && out.error_text.isEmpty())
        out.error_text = error_code_text(result);
    if (result == JOB_RESULT_STOPPED)
        m_job.result = result;
    if (means_connection_lost(result))
        out.connection_lost = 1;
    out.error_code = result;
    if (result == 0) {
        report_step(tr("Complete"));
        wait_service::sleep_ms(kCompletePauseMs);
        emit task_progress(m_job.job_id, 0, 0, QString());
    }
    m_status.store(0);
    out.finish_time = QDateTime::currentDateTime();
    emit output_job_results(m_job);
    emit done(m_job.job_id);
}

void CPDLANConnectionObject::stop_job()
{
    CConnectionObject::stop_job();
    m_link->stop_job();
    QMutexLocker lock(&m_mutex);
    if (m_stop_hook)
        m_stop_hook();
}

// --- task interface -------------------------------------------------------------

int CPDLANConnectionObject::identify_display()
{
    job_parameters_block &out = m_job.job_parameters;
    report_step(tr("Identifying display"));
    report_sub_step(0, 2, tr("Reading Model Name."));
    if (const int status = m_link->get_model_name(out.model_name))
        return status;
    report_sub_step(1, 2, tr("Reading Serial Number."));
    const int status = m_link->get_serial_number(out.serial_number);
    if (status == 0) {
        m_identified = true;
        report_sub_step(2, 2, QStringLiteral(" "));
    }
    return status;
}

int CPDLANConnectionObject::ensure_display_identified()
{
    if (m_identified)
        return 0;
    const int status = identify_display();
    if (status != 0)
        m_job.job_parameters.verify_status = 2;
    return status;
}

void CPDLANConnectionObject::report_step(const QString &text)
{
    emit task_progress(m_job.job_id, m_step, m_step_total, text);
    ++m_step;
}

void CPDLANConnectionObject::report_task_progress(int step, int total_steps, const QString &text)
{
    emit task_progress(m_job.job_id, step, total_steps, text);
}

void CPDLANConnectionObject::report_sub_step(int step, int total_steps, const QString &text)
{
    emit sub_task_progress(m_job.job_id, step, total_steps, text);
}

void CPDLANConnectionObject::report_status(qint32 kind, qint32 value, double d1, double d2, double d3,
                                           const QString &text)
{
    calibration_job_status_info_item item;
    item.kind = kind;
    item.position = m_job.position;
    item.value = value;
    item.d1 = d1;
    item.d2 = d2;
    item.d3 = d3;
    item.text = text;
    emit update_calibration_job_status_info(m_job.job_id, item);
}

void CPDLANConnectionObject::nap(int ms)
{
    const qint64 real_ms = wait_service::scaled_ms(ms);
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = real_ms; left > 0 && !stop_requested(); left = real_ms - clock.elapsed())
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, kNapSliceMs)));
}

int CPDLANConnectionObject::sleep_with_status(int ms)
{
    while (ms > 0) {
        report_status(CAL_STATUS_WAIT, ms);
        nap(qMin(ms, kStatusIntervalMs));
        ms -= kStatusIntervalMs;
        if (stop_requested())
            return JOB_RESULT_STOPPED;
    }
    return 0;
}

int CPDLANConnectionObject::wait_until_ready()
{
    for (int pass = 0; pass < kReadyPolls; ++pass) {
        int value = 0, max = 0;
        if (m_link->get_vcp_1018(value, max) == 0 && (value == 0 || value == 3))
            return 0;
        report_status(CAL_STATUS_WAIT, kStatusIntervalMs);
        wait_service::sleep_ms(kStatusIntervalMs);
    }
    return -1;
}

int CPDLANConnectionObject::pause_with_progress(int ms)
{
    const int total = ms / kStatusIntervalMs;
    int step = 0;
    for (int left = ms; left > 0; left -= kStatusIntervalMs, ++step) {
        report_sub_step(step, total, QString());
        m_link->pause(static_cast<uint>(qMin(left, kStatusIntervalMs)));
    }
    return 0;
}

CPDLANConnectionObject::stoppable_scope::stoppable_scope(CPDLANConnectionObject &worker,
                                                         std::function<void()> stop)
    : m_worker(worker)
{
    bool stopped = false;
    {
        QMutexLocker lock(&m_worker.m_mutex);
        m_worker.m_stop_hook = stop;
        stopped = m_worker.stop_requested();
    }
    if (stopped && stop)
        stop();
}

CPDLANConnectionObject::stoppable_scope::~stoppable_scope()
{
    QMutexLocker lock(&m_worker.m_mutex);
    m_worker.m_stop_hook = nullptr;
}

// --- reports of a running calibration ---------------------------------------------

void CPDLANConnectionObject::set_get_vcp_progess(int step, int total_steps)
{
    report_sub_step(step, total_steps, QString());
}

void CPDLANConnectionObject::calibration_task_progress(QString text)
{
    ++m_step;
    emit task_progress(m_job.job_id, m_step, m_step_total, text);
}

void CPDLANConnectionObject::calibration_sub_task_progress(int step, int total_steps, QString text)
{
    report_sub_step(step, total_steps, text);
}

void CPDLANConnectionObject::StartingDefinedTask(int task)
{
    report_status(CAL_STATUS_TASK, task);
}

void CPDLANConnectionObject::StartingDefinedSubTask(int task)
{
    report_status(CAL_STATUS_TASK, task);
}

void CPDLANConnectionObject::SetInstructionMessageString(QString text)
{
    report_status(CAL_STATUS_INSTRUCTION, 0, 0.0, 0.0, 0.0, text);
}

void CPDLANConnectionObject::play_audio_message(int message, QString message_string)
{
    report_status(CAL_STATUS_AUDIO, message, 0.0, 0.0, 0.0, message_string);
}

void CPDLANConnectionObject::sleepTime(int time_ms)
{
    report_status(CAL_STATUS_WAIT, time_ms);
}

void CPDLANConnectionObject::misc_status(int value)
{
    report_status(CAL_STATUS_MISC, value);
}

void CPDLANConnectionObject::SetWhitePointTargetxy(double x, double y)
{
    report_status(CAL_STATUS_WHITE_POINT_TARGET, 0, x, y);
}

void CPDLANConnectionObject::SetWhitePointMeasuredValue(double x, double y, double Y)
{
    report_status(CAL_STATUS_WHITE_POINT_MEASURED, 0, x, y, Y);
}

void CPDLANConnectionObject::SetWhiteLevelTarget(double value)
{
    report_status(CAL_STATUS_WHITE_LEVEL_TARGET, 0, value);
}

void CPDLANConnectionObject::SetWhiteLevelTargetMinMax(double min, double max)
{
    report_status(CAL_STATUS_WHITE_LEVEL_TARGET_MIN_MAX, 0, min, max);
}

void CPDLANConnectionObject::ShowWhiteLevelTarget(bool show)
{
    report_status(CAL_STATUS_SHOW_WHITE_LEVEL_TARGET, show ? 1 : 0);
}

void CPDLANConnectionObject::SetBlackLevelMeasuredValue(double value)
{
    report_status(CAL_STATUS_BLACK_LEVEL_MEASURED, 0, value);
}

void CPDLANConnectionObject::SetBlackLevelTargetMinMax(double min, double max)
{
    report_status(CAL_STATUS_BLACK_LEVEL_TARGET_MIN_MAX, 0, min, max);
}
