#pragma once

#include "sensors/CSensor.h"

#include <QMutex>
#include <QMutexLocker>
#include <QPointer>

class CTargetSensor;

// The active colour sensor as a dialog holds it: a pointer that turns null
// when the factory replaces the driver, and the factory's driver mutex taken
// for each call, never across a modal run.
class guarded_sensor
{
public:
    guarded_sensor() = default;
    // The factory's active driver at this moment; none without a factory.
    explicit guarded_sensor(CTargetSensor *factory);
    guarded_sensor(CSensor *sensor, QMutex *mutex) : m_sensor(sensor), m_mutex(mutex) {}

    // The controller's sensor factory's active driver.
    static guarded_sensor active();

    bool isNull() const { return m_sensor.isNull(); }
    CSensor *get() const { return m_sensor.data(); }

    // |call| on the sensor with the driver mutex held; |fallback| when the
    // sensor is gone.
    template <class Result, class Call> Result with(Call call, Result fallback) const
    {
        if (m_mutex) {
            QMutexLocker lock(m_mutex);
            return m_sensor ? call(*m_sensor) : fallback;
        }
        return m_sensor ? call(*m_sensor) : fallback;
    }

private:
    QPointer<CSensor> m_sensor;
    QMutex *m_mutex = nullptr;
};
