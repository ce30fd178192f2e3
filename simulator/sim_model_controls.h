#pragma once

#include "simulator/sim_control_table.h"
#include "simulator/sim_model_profile.h"

// The controls of a simulated model: rows of plausible defaults and maxima
// for each feature, taken as the model's profile row says.
namespace sim_model_controls {

// Reset groups of the defaults-reset control (the value written to it).
enum reset_group : quint16 { kNoReset = 0, kPictureDefaults = 2, kSizeDefaults = 3 };

// Every control of |profile| at its default.
sim_control_table build(const sim_model_profile &profile);

// Puts the defaults of |group| back into those of its controls that
// |controls| holds.
void reset(reset_group group, sim_control_table &controls);

} // namespace sim_model_controls
