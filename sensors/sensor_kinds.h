#pragma once

#include <array>

class CSensor;

// The colour-sensor kinds; the numbers are kept in the preferences.
enum sensor_kind : int {
    kSensorNone = 0,
    kSensorI1Display = 1,
    kSensorI1Pro = 2,
    kSensorI1DisplayPro = 3,
    kSensorI1Studio = 4,
    kSensorSpyder = 5,
    kSensorSpyderX = 6,
    kSensorHubble = 7,
    kSensorPlSeries = 8,
};
constexpr int kSensorKindCount = 9;

// A maker's measurement library: its Windows file name, by which drivers ask
// for it, and the Linux shared object that stands in for it.
struct instrument_library_name
{
    const char *windowsName;
    const char *fileName;
};

// Everything the program knows of one kind. The factory, its driver list and
// the instrument library layer all read this one table.
struct sensor_kind_entry
{
    int kind;
    const char *name;                 // translated in the CTargetSensor context
    instrument_library_name library;  // both null for "None"
    CSensor *(*create)();             // constructs (and so opens) the driver; null for "None"
};

// Every kind in the order the detection tries them, "None" last.
const std::array<sensor_kind_entry, kSensorKindCount> &sensor_kinds();
// The entry of |kind|; null for a number outside 0..8.
const sensor_kind_entry *sensor_kind_entry_of(int kind);
// The Windows name of the library |kind|'s driver binds; null for "None".
const char *sensor_kind_library(int kind);
