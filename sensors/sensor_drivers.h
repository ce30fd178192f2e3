#pragma once

#include "sensors/sensor_kinds.h"

#include <array>
#include <functional>

class CSensor;

// How the factory makes the driver of each sensor kind: one creator per
// kind, indexed by kind (0, "None", has none). A creator constructs the
// driver, whose constructor opens the instrument; a kind without a creator
// is never open. Tests hand the factory their own table.
using sensor_driver_creator = std::function<CSensor *()>;
using sensor_driver_table = std::array<sensor_driver_creator, kSensorKindCount>;

// The program's drivers, from the table of sensor kinds.
sensor_driver_table default_sensor_drivers();
