#pragma once

#include "app/services/preferences.h"
#include "colour/CMonitorTracker.h"
#include "jobs/QueryThreadPool.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/jobs/pool_recorder.h"
#include "tests/support/headless_controller.h"

#include <QStringList>
#include <QtTest>

// One simulated display of a given model on a LAN address of its own (in
// this process's loopback block), the
// application controller without a window (record store, target,
// preferences; waits at time scale 0) and the real job pool with display
// workers. A job runs through the pool exactly as the program runs it; the
// test then reads the display's frame log and state.
//
//   display_task_fixture f("VW-5540QE");
//   const job_list_item done = f.run({JOB_TASK_INITIALIZE_DISPLAY});
//   QCOMPARE(f.writes(), (QStringList{"1050=1", ...}));
class display_task_fixture
{
public:
    static constexpr int kLan = 1;
    static constexpr int kJobTimeoutMs = 30000;

    explicit display_task_fixture(const QByteArray &model) : seen(pool), m_address(next_address())
    {
        endpoint = m_address.isEmpty() ? -1 : wall.add_lan_endpoint(m_address);
        handle = endpoint >= 0 ? wall.add_display(endpoint, 'A') : -1;
        if (handle >= 0) {
            wall.with_display(handle, [&](sim_display &d) {
                d.apply_model(model);
                serial = QString::fromLatin1(d.serial_number);
                model_name = QString::fromLatin1(d.model_name);
            });
        }
        wall.set_time_scale(0.0);
        // The design panel: the panel's own white and primaries read as
        // (0.295, 0.308), (0.640, 0.330), (0.295, 0.615), (0.150, 0.055).
        if (handle >= 0)
            wall.set_panel(handle, sim_panel::nominal());
        QObject::connect(&pool, &QueryThreadPool::task_progress, &pool,
                         [this](int, int, int, const QString &text) { m_step_texts << text; });
    }

    bool ready() const { return handle >= 0; }

    CPreferences &preferences() { return *controller.controller().getPreferences(); }
    void set_target(const CTargetValue &target) { controller.controller().setTarget(target); }

    // The display's record in the store, under the display's own model and
    // serial number.
    void store_record(const CAdjustValue &record)
    {
        monitor_tracker_item item(model_name, serial);
        static_cast<CAdjustValue &>(item) = record;
        controller.records().SetAdjustValue(item);
    }
    bool has_record()
    {
        monitor_tracker_item item(model_name, serial);
        return controller.records().GetAdjustValue(item) >= 0;
    }
    monitor_tracker_item stored_record()
    {
        monitor_tracker_item item(model_name, serial);
        controller.records().GetAdjustValue(item);
        return item;
    }

    job_list_item job(const QList<qint32> &tasks) const
    {
        job_list_item job;
        job.job_id = ++m_next_id;
        job.position = 0;
        job.connection_key = m_address;
        job.connection_type = kLan;
        job.monitor_id = 1;
        job.task_list = tasks;
        return job;
    }

    // Runs |job| through the pool; its results, with the log cleared before.
    job_list_item run(const job_list_item &job)
    {
        wall.clear_log();
        m_step_texts.clear();
        const int before = seen.results.size();
        pool.add_job(job);
        if (!QTest::qWaitFor([&] { return seen.results.size() > before && seen.running == 0; }, kJobTimeoutMs))
            return job_list_item();
        return seen.results.last();
    }
    job_list_item run(const QList<qint32> &tasks) { return run(job(tasks)); }

    // The texts of the steps the last run reported.
    QStringList step_texts() const { return m_step_texts; }

    // "code=value" (code in hexadecimal, value in decimal) of every control
    // written, in order, since the last run began.
    QStringList writes() const { return traffic('E'); }
    // "code" of every control read.
    QStringList reads() const { return traffic('C'); }
    // The frame bodies of the requests of message type |type|.
    QList<QByteArray> bodies(char type) const
    {
        QList<QByteArray> out;
        for (const sim_log_entry &frame : wall.log()) {
            if (frame.valid && frame.type == type)
                out << frame.body;
        }
        return out;
    }

    template <typename F>
    auto display(F &&f)
    {
        return wall.with_display(handle, std::forward<F>(f));
    }
    int control(quint16 code)
    {
        return display([code](sim_display &d) {
            const sim_control *c = d.controls.find(code);
            return c ? int(c->current) : -1;
        });
    }

    headless_controller controller;
    simulated_wall wall;
    int endpoint = -1;
    int handle = -1;
    QString serial;
    QString model_name;
    QueryThreadPool pool;
    pool_recorder seen;

private:
    // Each fixture of a test program listens on an address no earlier one
    // used, so that nothing waits for a closed port.
    static QString next_address()
    {
        static int host = 0;
        return loopback_block::address(++host);
    }

    QStringList traffic(char type) const
    {
        QStringList out;
        for (const QByteArray &body : bodies(type)) {
            bool ok = false;
            const int code = body.left(4).toInt(&ok, 16);
            if (!ok)
                continue;
            if (type == 'E')
                out << QStringLiteral("%1=%2").arg(code, 0, 16).arg(body.mid(4, 4).toInt(nullptr, 16));
            else
                out << QString::number(code, 16);
        }
        return out;
    }

    QString m_address;
    mutable int m_next_id = 0;
    QStringList m_step_texts;
};
