#pragma once

#include <QString>

// The side channel between simulated displays and simulated instruments:
// a display publishes the light it emits now (what an instrument placed on it
// would see, before the instrument's own noise and ambient light), and which
// display last switched on a test patch or flashed. It is a folder of small
// files, so it works in one process and across processes alike: a display in
// a test thread or a separate simulator process, an instrument library
// loaded by the application.
namespace light_channel {

struct light_reading
{
    double X = 0.0; // cd/m²
    double Y = 0.0;
    double Z = 0.0;
};

// The shared folder. Starts as $TESSALINE_SIM_LIGHT_DIR, else
// <temp>/tessaline-sim-light-<uid>; tests set their own temporary folder.
void set_channel_folder(const QString &folder);
QString channel_folder();

// A display's key names it uniquely on the simulated wall, by the address of
// its endpoint and its monitor ID, for example "127.0.10.1/3".
QString display_key(const QString &endpointAddress, int monitorId);

// Display side. Each write replaces the file atomically, so a reader never
// sees half a value.
bool publish_light(const QString &displayKey, const light_reading &reading);
bool publish_active_display(const QString &displayKey);

// Instrument side. false when nothing was published for that display or the
// file is damaged.
bool read_light(const QString &displayKey, light_reading *reading);
// Empty when no display has been active yet.
QString active_display();

// Removes everything published (end of a test run).
void clear_channel();

} // namespace light_channel
