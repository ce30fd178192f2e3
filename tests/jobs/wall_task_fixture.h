#pragma once

#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_list_item.h"
#include "simulator/simulated_wall.h"
#include "tests/sensors/simulated_instrument_control.h"
#include "tests/support/headless_controller.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QueryThreadPool;

// One report of a running job, in the order the worker made them.
struct job_event
{
    enum kind_code { kStep, kSubStep, kStatus };

    kind_code kind = kStep;
    int step = 0;
    int total = 0;
    QString text;
    calibration_job_status_info_item status;    // kStatus only
};

// What the pool reported of one job: its progress and status reports, in
// order, and its results.
class job_recording : public QObject
{
public:
    job_recording(QueryThreadPool &pool, int job_id);

    bool finished() const { return m_finished; }
    const job_list_item &result() const { return m_result; }
    int error_code() const { return m_result.job_parameters.error_code; }
    const QList<job_event> &events() const { return m_events; }

    QStringList step_texts() const;
    QStringList sub_step_texts() const;
    QList<job_event> sub_steps() const;
    QList<calibration_job_status_info_item> status(int kind) const;
    // The status reports' payloads as "kind:value:text" lines, for order checks.
    QStringList status_lines() const;

private:
    int m_job_id;
    bool m_finished = false;
    job_list_item m_result;
    QList<job_event> m_events;
};

// Display tasks as the program runs them: the controller without a window
// (with the simulated instrument libraries), a pool of real display workers
// handed to it, a simulated wall whose displays each listen on an address of
// this process's loopback block, and the simulated i1Display Pro, opened as
// the program's sensor, measuring their light. Waits run at time scale 0.
//
//   wall_task_fixture f;                        // after the core application
//   QVERIFY2(f.ready(), qPrintable(f.error()));
//   const int d = f.add_display("VW-5540QE");
//   f.place_sensor(d);
//   auto run = f.run(f.job(d, {JOB_TASK_MEASURE}));
class wall_task_fixture
{
public:
    wall_task_fixture();
    ~wall_task_fixture();
    wall_task_fixture(const wall_task_fixture &) = delete;
    wall_task_fixture &operator=(const wall_task_fixture &) = delete;

    bool ready() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    headless_controller &controller() { return *m_controller; }
    simulated_wall &wall() { return *m_wall; }
    simulated_instrument_control &instrument() { return *m_instrument; }
    QueryThreadPool &pool() { return *m_pool; }

    // A display of the simulated |model| (the generic display for an empty
    // name) on an address of its own; its handle, or -1 (with error()).
    int add_display(const QByteArray &model = QByteArray());
    // The job of |tasks| for display |handle| at wall position |handle|.
    job_list_item job(int handle, const QList<qint32> &tasks);
    // Opens the program's sensor (the simulated i1Display Pro) with
    // |settings| merged into the instrument's configuration; false when it
    // does not open.
    bool attach_sensor(const QJsonObject &settings = QJsonObject());
    // Where no display shines: a place for the instrument that reads dark.
    static constexpr int kNowhere = -1;
    // Puts the instrument on display |handle|, or for each next measurement
    // on the next display of |handles|, then on |handle| again.
    bool place_sensor(int handle, const QList<int> &handles = QList<int>());

    // Runs |job| through the pool and waits for its results.
    std::unique_ptr<job_recording> run(const job_list_item &job);
    // Starts |job|; |until| is checked as reports arrive (with events
    // processed) and, once true, the job is stopped. Waits for its results.
    std::unique_ptr<job_recording> run_and_stop(const job_list_item &job,
                                                const std::function<bool(const job_recording &)> &until);
    // Starts |job| and stops it while it waits for the first reply display
    // |handle| gives while |when| holds, which is held back until then: a
    // moment the job cannot pass by, however late this thread looks. The
    // process's I/O floor must outlast the hold. Waits for its results.
    std::unique_ptr<job_recording> stop_at_held_reply(const job_list_item &job, int handle,
                                                      const std::function<bool(const sim_display &)> &when);

    // Every frame display |handle| received since the wall's log was last
    // cleared: message type and body ("C02C3" a read, "E02C30001" a write,
    // "AC22A02" a command).
    QList<QByteArray> frames(int handle) const;
    // The values written to control |code| of display |handle|, in order.
    QList<int> writes(int handle, int code) const;
    // Control |code| of display |handle|.
    int control(int handle, int code);

private:
    QString m_error;
    QTemporaryDir m_light_folder;
    std::unique_ptr<headless_controller> m_controller;
    std::unique_ptr<simulated_wall> m_wall;
    std::unique_ptr<simulated_instrument_control> m_instrument;
    QueryThreadPool *m_pool = nullptr;  // owned by the controller
    QList<int> m_endpoints;             // by display handle
    int m_next_job_id = 1;
};
