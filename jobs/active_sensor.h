#pragma once

#include <QMutexLocker>

class CSensor;

// The program's active colour sensor, held for as long as a task uses it:
// the sensor factory's driver mutex stays locked, so that no detection
// replaces or deletes the driver in the middle of a measurement. Null when
// there is no controller, no sensor factory or no sensor.
class active_sensor
{
public:
    active_sensor();
    active_sensor(const active_sensor &) = delete;
    active_sensor &operator=(const active_sensor &) = delete;

    CSensor *get() const { return m_sensor; }
    CSensor *operator->() const { return m_sensor; }
    explicit operator bool() const { return m_sensor != nullptr; }

private:
    QMutexLocker m_lock;
    CSensor *m_sensor = nullptr;
};
