#include "dialogs/guarded_sensor.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "sensors/CTargetSensor.h"

guarded_sensor::guarded_sensor(CTargetSensor *factory)
{
    if (!factory)
        return;
    QMutexLocker lock(&factory->DriverMutex());
    m_sensor = factory->GetSensor();
    m_mutex = &factory->DriverMutex();
}

guarded_sensor guarded_sensor::active()
{
    return guarded_sensor(g_master ? g_master->getTargetSensor() : nullptr);
}
