#include "sensors/CTargetSensor.h"

#include "sensors/CSensor.h"
#include "sensors/instrument_library.h"
#include "sensors/sensor_kinds.h"
#include "sensors/sensor_status.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {

const QString kNoSensor = QStringLiteral("-");

} // namespace

CTargetSensor::CTargetSensor(QObject *parent) : CTargetSensor(default_sensor_drivers(), parent) {}

CTargetSensor::CTargetSensor(const sensor_driver_table &drivers, QObject *parent)
    : QObject(parent), m_drivers(drivers)
{
}

CTargetSensor::~CTargetSensor()
{
    QMutexLocker lock(&m_driverMutex);
    deleteDriver();
}

bool CTargetSensor::DetectSensor()
{
    for (const sensor_kind_entry &entry : sensor_kinds()) {
        if (entry.kind == kSensorNone)
            continue;
        if (tryKind(entry.kind)) {
            reportFound();
            return true;
        }
        emit sensorChanged();
    }
    reportNone();
    return false;
}

int CTargetSensor::SetSensorType(int kind)
{
    if (kind < 1 || kind >= kKindCount) {
        {
            QMutexLocker lock(&m_driverMutex);
            deleteDriver();
        }
        reportNone();
        return sensor_status::kNotOpen;
    }
    if (tryKind(kind)) {
        reportFound();
        return sensor_status::kOk;
    }
    emit sensorChanged();
    return sensor_status::kNotOpen;
}

bool CTargetSensor::GetSensorTypeName(int kind, QString &name, bool &offered) const
{
    offered = false;
    const sensor_kind_entry *entry = sensor_kind_entry_of(kind);
    if (!entry)
        return false;
    name = QCoreApplication::translate("CTargetSensor", entry->name);
    // The probe server is offered only where it is installed.
    offered = kind != kSensorPlSeries || instrument_library_present(QLatin1String(entry->library.windowsName));
    return true;
}

bool CTargetSensor::tryKind(int kind)
{
    QMutexLocker lock(&m_driverMutex);
    deleteDriver();
    const sensor_driver_creator &create = m_drivers[size_t(kind)];
    if (!create)
        return false;
    m_sensor = create();
    if (!m_sensor)
        return false;
    // The detection thread ends after detecting; the driver lives on with
    // its owner.
    if (m_sensor->thread() != thread())
        m_sensor->moveToThread(thread());
    if (!m_sensor->IsOpen()) {
        deleteDriver();
        return false;
    }
    m_sensorType = kind;
    return true;
}

void CTargetSensor::deleteDriver()
{
    delete m_sensor;
    m_sensor = nullptr;
    m_sensorType = 0;
}

void CTargetSensor::reportFound()
{
    QString name;
    {
        QMutexLocker lock(&m_driverMutex);
        if (m_sensor)
            name = m_sensor->GetName();
    }
    emit detectedSensor(name);
    emit sensorDetectionComplete();
    emit sensorChanged();
}

void CTargetSensor::reportNone()
{
    emit detectedSensor(kNoSensor);
    emit sensorDetectionComplete();
    emit sensorChanged();
}
