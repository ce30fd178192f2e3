#include "sensors/CTargetSensor.h"

#include "sensors/CSensor.h"
#include "sensors/instrument_library.h"
#include "sensors/sensor_status.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {

const char *const kKindNames[CTargetSensor::kKindCount] = {
    QT_TRANSLATE_NOOP("CTargetSensor", "None"),
    QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Display"),
    QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Pro / i1Pro2"),
    QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Display Pro"),
    QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Studio / ColorMunki"),
    QT_TRANSLATE_NOOP("CTargetSensor", "Datacolor Spyder3/4/5"),
    QT_TRANSLATE_NOOP("CTargetSensor", "Datacolor SpyderX"),
    QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite Hubble"),
    QT_TRANSLATE_NOOP("CTargetSensor", "Trelane"),
};

// i1Pro, i1Display, i1Studio, Spyder3/4/5, i1Display Pro, Hubble, PL series, SpyderX.
const int kDetectionOrder[] = {2, 1, 4, 5, 3, 7, 8, 6};

constexpr int kPlSeriesKind = 8;
const char kPlSeriesServer[] = "PL200Srvr.dll";

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
    for (int kind : kDetectionOrder) {
        if (tryKind(kind)) {
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
    if (kind < 0 || kind >= kKindCount)
        return false;
    name = QCoreApplication::translate("CTargetSensor", kKindNames[kind]);
    offered = kind != kPlSeriesKind || instrument_library_present(QLatin1String(kPlSeriesServer));
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
