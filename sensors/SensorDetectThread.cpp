#include "sensors/SensorDetectThread.h"

#include "sensors/CTargetSensor.h"

#include <QMutexLocker>

SensorDetectThread::SensorDetectThread(CTargetSensor *targetSensor) : m_targetSensor(targetSensor) {}

SensorDetectThread::~SensorDetectThread()
{
    {
        QMutexLocker lock(&m_mutex);
        m_abort = true;
        m_condition.wakeOne();
    }
    wait();
}

void SensorDetectThread::startDetection()
{
    QMutexLocker lock(&m_mutex);
    if (isRunning()) {
        m_restart = true;
        m_condition.wakeOne();
        return;
    }
    start(QThread::LowPriority);
}

void SensorDetectThread::run()
{
    if (m_targetSensor)
        m_targetSensor->DetectSensor();
}
