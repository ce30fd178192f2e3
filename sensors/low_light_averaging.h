#pragma once

// Low-light averaging: dim readings are noisy, so when the preferences ask
// for it the first reading decides how many readings are averaged.
namespace low_light_averaging {

// The preferences' low-light averaging flag as the shell published it; off
// without preferences. Safe on any thread.
bool enabled();

// The number of readings to average once the first reading's luminance
// |firstY| is known: 3 below 3 cd/m², 2 below 10 cd/m², else |count|.
// With the flag off, |count| stands.
unsigned repeat_count(double firstY, unsigned count, bool averagingOn);

} // namespace low_light_averaging
