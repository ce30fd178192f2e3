#pragma once

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

class CTargetSensor;

// Runs one sensor detection on its own low-priority thread while the splash
// screen is shown; the results travel by the factory's signals, queued to
// their receivers. The factory is handed in by its owner, which keeps it
// alive longer than this thread.
class SensorDetectThread : public QThread
{
    Q_OBJECT

public:
    explicit SensorDetectThread(CTargetSensor *targetSensor);
    // Stops the thread: waits for a running detection to end.
    ~SensorDetectThread() override;

    // Starts one detection; while one runs, it is not repeated.
    void startDetection();

protected:
    void run() override;

private:
    CTargetSensor *m_targetSensor;
    QMutex m_mutex;
    QWaitCondition m_condition;
    bool m_restart = false;
    bool m_abort = false;
};
