#include "tests/jobs/wall_task_fixture.h"

#include "app/controller/MasterControl.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "sensors/CTargetSensor.h"
#include "simulator/light/light_channel.h"
#include "simulator/loopback_block.h"

#include <QJsonArray>
#include <QtTest>

namespace {

constexpr int kLan = 1;
constexpr int kI1DisplayPro = 3;
constexpr int kJobTimeoutMs = 60000;

} // namespace

job_recording::job_recording(QueryThreadPool &pool, int job_id) : m_job_id(job_id)
{
    connect(&pool, &QueryThreadPool::task_progress, this, [this](int id, int step, int total, const QString &text) {
        if (id == m_job_id)
            m_events << job_event{job_event::kStep, step, total, text, {}};
    });
    connect(&pool, &QueryThreadPool::sub_task_progress, this,
            [this](int id, int step, int total, const QString &text) {
                if (id == m_job_id)
                    m_events << job_event{job_event::kSubStep, step, total, text, {}};
            });
    connect(&pool, &QueryThreadPool::update_calibration_job_status_info, this,
            [this](int id, const calibration_job_status_info_item &item) {
                if (id == m_job_id)
                    m_events << job_event{job_event::kStatus, 0, 0, QString(), item};
            });
    connect(&pool, &QueryThreadPool::send_job_results, this, [this](const job_list_item &job) {
        if (job.job_id != m_job_id)
            return;
        m_result = job;
        m_finished = true;
    });
}

QStringList job_recording::step_texts() const
{
    QStringList texts;
    for (const job_event &event : m_events)
        if (event.kind == job_event::kStep)
            texts << event.text;
    return texts;
}

QList<job_event> job_recording::sub_steps() const
{
    QList<job_event> steps;
    for (const job_event &event : m_events)
        if (event.kind == job_event::kSubStep)
            steps << event;
    return steps;
}

QStringList job_recording::sub_step_texts() const
{
    QStringList texts;
    for (const job_event &event : sub_steps())
        texts << event.text;
    return texts;
}

QList<calibration_job_status_info_item> job_recording::status(int kind) const
{
    QList<calibration_job_status_info_item> items;
    for (const job_event &event : m_events)
        if (event.kind == job_event::kStatus && event.status.kind == kind)
            items << event.status;
    return items;
}

QStringList job_recording::status_lines() const
{
    QStringList lines;
    for (const job_event &event : m_events) {
        if (event.kind == job_event::kStatus)
            lines << QStringLiteral("%1:%2:%3").arg(event.status.kind).arg(event.status.value).arg(event.status.text);
    }
    return lines;
}

wall_task_fixture::wall_task_fixture()
{
    if (!m_light_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder for the light channel");
        return;
    }
    m_controller = std::make_unique<headless_controller>(headless_controller::simulated_instruments);
    m_pool = new QueryThreadPool(QueryThreadPool::display_workers(), QueryThreadPool::kMaxRunning);
    m_controller->controller().setQueryThreadPool(m_pool);
    light_channel::set_channel_folder(m_light_folder.path());
    m_wall = std::make_unique<simulated_wall>();
    m_wall->set_time_scale(0.0);
    m_wall->set_light_publishing(true);
    m_instrument = std::make_unique<simulated_instrument_control>(
        headless_controller::simulated_instrument_folder() + QStringLiteral("/libi1d3sdk.so"));
    if (!m_instrument->isLoaded())
        m_error = QStringLiteral("the simulated i1Display Pro library does not load");
}

wall_task_fixture::~wall_task_fixture()
{
    if (m_instrument)
        m_instrument->reset();
    // The pool, with its workers, goes with the controller, before the wall.
    m_controller.reset();
    m_wall.reset();
}

int wall_task_fixture::add_display(const QByteArray &model)
{
    const QString address = loopback_block::address(m_endpoints.size() + 1);
    const int endpoint = address.isEmpty() ? -1 : m_wall->add_lan_endpoint(address);
    if (endpoint < 0) {
        m_error = QStringLiteral("cannot listen on %1:7142 %2").arg(address, loopback_block::claim_error());
        return -1;
    }
    const int handle = m_wall->add_display(endpoint, 'A');
    if (!model.isEmpty())
        m_wall->with_display(handle, [&model](sim_display &d) { d.apply_model(model); });
    while (m_endpoints.size() <= handle)
        m_endpoints << -1;
    m_endpoints[handle] = endpoint;
    return handle;
}

job_list_item wall_task_fixture::job(int handle, const QList<qint32> &tasks)
{
    job_list_item job;
    job.job_id = m_next_job_id++;
    job.position = handle;
    job.connection_key = m_wall->endpoint_name(m_endpoints.value(handle, -1));
    job.connection_type = kLan;
    job.monitor_id = 1;
    job.task_list = tasks;
    return job;
}

bool wall_task_fixture::attach_sensor(const QJsonObject &settings)
{
    m_instrument->reset();
    QJsonObject all = settings;
    all.insert(QStringLiteral("light_folder"), m_light_folder.path());
    all.insert(QStringLiteral("time_scale"), 0.0);
    if (!m_instrument->configure(all)) {
        m_error = m_instrument->lastError();
        return false;
    }
    return m_controller->controller().getTargetSensor()->SetSensorType(kI1DisplayPro) == 0;
}

bool wall_task_fixture::place_sensor(int handle, const QList<int> &handles)
{
    // A key no display publishes: the light channel has nothing there.
    const auto key = [this](int h) { return h == kNowhere ? QStringLiteral("127.0.0.0/0") : m_wall->light_key(h); };
    QJsonArray placements;
    for (int h : handles)
        placements.append(key(h));
    return m_instrument->configure(
        {{QStringLiteral("display"), key(handle)}, {QStringLiteral("placements"), placements}});
}

std::unique_ptr<job_recording> wall_task_fixture::run(const job_list_item &job)
{
    return run_and_stop(job, nullptr);
}

std::unique_ptr<job_recording> wall_task_fixture::run_and_stop(
    const job_list_item &job, const std::function<bool(const job_recording &)> &until)
{
    auto recording = std::make_unique<job_recording>(*m_pool, job.job_id);
    m_pool->add_job(job);
    QElapsedTimer clock;
    clock.start();
    bool stopped = !until;
    while (!recording->finished() && clock.elapsed() < kJobTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!stopped && until(*recording)) {
            m_pool->stop_job_by_id(job.job_id);
            stopped = true;
        }
        if (!recording->finished())
            QThread::msleep(1);
    }
    QCoreApplication::processEvents();
    return recording;
}

std::unique_ptr<job_recording> wall_task_fixture::stop_at_held_reply(
    const job_list_item &job, int handle, const std::function<bool(const sim_display &)> &when)
{
    m_wall->hold_reply(handle, when);
    auto recording = run_and_stop(job, [this, &job, handle](const job_recording &) {
        if (!m_wall->reply_held(handle))
            return false;
        m_pool->stop_job_by_id(job.job_id);
        m_wall->release_reply(handle);
        return true;
    });
    m_wall->release_reply(handle);
    return recording;
}

QList<QByteArray> wall_task_fixture::frames(int handle) const
{
    QList<QByteArray> bodies;
    const int endpoint = m_endpoints.value(handle, -1);
    for (const sim_log_entry &frame : m_wall->log())
        if (frame.endpoint == endpoint)
            bodies << frame.type + frame.body;
    return bodies;
}

QList<int> wall_task_fixture::writes(int handle, int code) const
{
    const QByteArray prefix = 'E' + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
    QList<int> values;
    for (const QByteArray &frame : frames(handle))
        if (frame.startsWith(prefix) && frame.size() == prefix.size() + 4)
            values << frame.mid(prefix.size()).toInt(nullptr, 16);
    return values;
}

int wall_task_fixture::control(int handle, int code)
{
    return m_wall->with_display(handle, [code](sim_display &d) {
        const sim_control *control = d.controls.find(static_cast<quint16>(code));
        return control ? int(control->current) : -1;
    });
}
