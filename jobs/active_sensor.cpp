#include "jobs/active_sensor.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "sensors/CTargetSensor.h"

namespace {

CTargetSensor *sensor_factory()
{
    return g_master ? g_master->getTargetSensor() : nullptr;
}

} // namespace

active_sensor::active_sensor()
    : m_lock(sensor_factory() ? &sensor_factory()->DriverMutex() : nullptr)
{
    if (CTargetSensor *factory = sensor_factory())
        m_sensor = factory->GetSensor();
}
