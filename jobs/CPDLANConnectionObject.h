#pragma once

#include "jobs/CConnectionObject.h"

#include <QString>

#include <functional>

class basic_monitor;

// The display worker: runs one job against one display on the job's own
// thread. It opens its own display link, identifies the display when the
// task list needs it, runs the tasks in list order through the dispatch
// table (worker_task_table.h), releases the link and reports the job back
// by value with output_job_results and done. It never touches user-interface
// objects; all it reports travels as signals.
class CPDLANConnectionObject : public CConnectionObject
{
    Q_OBJECT

public:
    CPDLANConnectionObject();
    ~CPDLANConnectionObject() override;

    // --- Task interface ------------------------------------------------------
    // What task operations use, on the job's thread only.

    // The job being run: inputs to read, job_parameters to fill.
    job_list_item &job() { return m_job; }
    // The display link, open on the job's display.
    basic_monitor &link() { return *m_link; }
    // stop_requested() (inherited): poll it between steps and return
    // JOB_RESULT_STOPPED once it is set.

    // Reads model name and serial number into the job (once per job).
    int identify_display();
    bool display_identified() const { return m_identified; }
    // For tasks that need the display's identity: identifies it unless that
    // was done already. On failure the job's verify_status becomes 2 and the
    // read's error is returned.
    int ensure_display_identified();

    // One step of the job's progress: task_progress at the current step,
    // which then advances.
    void report_step(const QString &text);
    // Progress within the current step.
    void report_sub_step(int step, int total_steps, const QString &text);
    // Task progress whose numbers the task takes from elsewhere (a display's
    // own progress report); the job's step counter is left as it is.
    void report_task_progress(int step, int total_steps, const QString &text);
    // One calibration status report (a calibration_status_kind) of this
    // job's display.
    void report_status(qint32 kind, qint32 value = 0, double d1 = 0.0, double d2 = 0.0, double d3 = 0.0,
                       const QString &text = QString());

    // Waits |ms|, reporting the time left once a second; JOB_RESULT_STOPPED
    // as soon as the job is stopped, else 0.
    int sleep_with_status(int ms);
    // Polls the display's engine state (control 0x1018) until it is idle,
    // once a second, at most 20 times: 0, or -1 when it never was. A stop
    // does not cut it short.
    int wait_until_ready();
    // Pauses |ms| on the display link in steps of a second, reporting each
    // as a sub-step. Returns 0.
    int pause_with_progress(int ms);

    // Makes an object that exists only during a task (a calibration run)
    // stoppable: while the scope lives, stop_job also calls |stop| from the
    // user-interface thread; when the job was stopped already, |stop| runs at
    // once. The scope must end before the object goes.
    class stoppable_scope
    {
    public:
        stoppable_scope(CPDLANConnectionObject &worker, std::function<void()> stop);
        ~stoppable_scope();
        stoppable_scope(const stoppable_scope &) = delete;
        stoppable_scope &operator=(const stoppable_scope &) = delete;

    private:
        CPDLANConnectionObject &m_worker;
    };

public slots:
    void run() override;
    void stop_job() override;
    void set_get_vcp_progess(int step, int total_steps);
    void calibration_task_progress(QString text);
    void calibration_sub_task_progress(int step, int total_steps, QString text);
    void StartingDefinedTask(int task);
    void StartingDefinedSubTask(int task);
    void SetInstructionMessageString(QString text);
    void SetWhitePointMeasuredValue(double x, double y, double Y);
    void SetWhitePointTargetxy(double x, double y);
    void SetWhiteLevelTarget(double value);
    void ShowWhiteLevelTarget(bool show);
    void SetWhiteLevelTargetMinMax(double min, double max);
    void SetBlackLevelTargetMinMax(double min, double max);
    void SetBlackLevelMeasuredValue(double value);
    void play_audio_message(int message, QString message_string);
    void sleepTime(int time_ms);
    void misc_status(int value);

private:
    int connect_and_run(bool identify);
    int run_task_list();
    void release_link();
    void finish(int result);
    // Sleeps up to |ms| (time-scaled); returns early when the job is stopped.
    void nap(int ms);

    basic_monitor *m_link;      // child of the worker: lives on the job's thread with it
    int m_step_total = 0;
    int m_step = 0;
    bool m_identified = false;
    std::function<void()> m_stop_hook;  // guarded by m_mutex
};
