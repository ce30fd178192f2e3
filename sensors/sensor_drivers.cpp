#include "sensors/sensor_drivers.h"

#include "sensors/sensor_kinds.h"

sensor_driver_table default_sensor_drivers()
{
    sensor_driver_table table;
    for (const sensor_kind_entry &entry : sensor_kinds()) {
        if (entry.create)
            table[size_t(entry.kind)] = entry.create;
    }
    return table;
}
