#pragma once

#include "sensors/sensor_drivers.h"

#include <QMutex>
#include <QObject>
#include <QString>

class CSensor;

// Owns the one active colour-sensor driver. It creates the driver of a kind
// chosen in the preferences, or finds the first instrument attached by
// trying every kind in a fixed order. Only one driver exists at a time: the
// previous one is deleted, closing its instrument, before the next is made.
//
// The kinds, their names and the detection order are those of
// sensor_kinds.h; the kind numbers are stored in the preferences.
//
// DetectSensor may run on the detection thread; its signals then reach
// receivers on other threads queued. Whoever uses the driver holds
// DriverMutex() for the length of the use, and the factory holds it while it
// replaces the driver, so a detection never deletes a driver in use.
class CTargetSensor : public QObject
{
    Q_OBJECT

public:
    static constexpr int kKindCount = kSensorKindCount;

    explicit CTargetSensor(QObject *parent = nullptr);
    explicit CTargetSensor(const sensor_driver_table &drivers, QObject *parent = nullptr);
    ~CTargetSensor() override;

    // True when an instrument was found; it is then the active driver.
    bool DetectSensor();
    // 0 when the driver of |kind| opened, -1000 otherwise.
    int SetSensorType(int kind);
    // False for a kind outside 0..8 (offered false). Kind 8 is offered only
    // when its automation server lies beside the instrument libraries.
    bool GetSensorTypeName(int kind, QString &name, bool &offered) const;

    // The active driver (owned here; null when none) and its kind (0 none).
    CSensor *GetSensor() const { return m_sensor; }
    int GetSensorType() const { return m_sensorType; }
    QMutex &DriverMutex() { return m_driverMutex; }

signals:
    void detectedSensor(QString message);
    void sensorDetectionComplete();
    void sensorChanged();

private:
    // Replaces the driver by one of |kind|; true when it opened, and it is
    // then current with its kind. A driver that did not open is deleted.
    bool tryKind(int kind);
    void deleteDriver();
    void reportFound();
    void reportNone();

    sensor_driver_table m_drivers;
    CSensor *m_sensor = nullptr;
    int m_sensorType = 0;
    QMutex m_driverMutex;
};
