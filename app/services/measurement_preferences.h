#pragma once

// The preferences that the colour-sensor drivers follow. The program's
// preferences record publishes them here whenever it is registered, loaded or
// changed, so that a driver measuring on a worker thread reads an atomic
// value and never the record itself.
namespace measurement_preferences {

// Dim readings are averaged (sensors/low_light_averaging.h); off while no
// preferences record is registered.
void set_low_light_averaging(bool on);
bool low_light_averaging();

} // namespace measurement_preferences
