#pragma once

#include "sensors/eyeone_api.h"

// The i1Display 2 library's six entry points.
struct eyeone_entry_points
{
    eyeone_get_option_fn *GetOption = nullptr;
    eyeone_set_option_fn *SetOption = nullptr;
    eyeone_is_connected_fn *IsConnected = nullptr;
    eyeone_calibrate_fn *Calibrate = nullptr;
    eyeone_trigger_measurement_fn *TriggerMeasurement = nullptr;
    eyeone_get_tristimulus_fn *GetTriStimulus = nullptr;
};

// EyeOne.dll, loaded at run time and bound by name. The loaded library and
// its entry points are one set for the whole process, shared by every
// driver bound to it; the last driver to let go frees the library and
// clears the entry points. Either all six are bound or none.
namespace eyeone_library {

// The shared entry points, the library loaded on first use; null when it is
// missing or lacks one. Each non-null answer is given back by release().
const eyeone_entry_points *acquire();
void release();

} // namespace eyeone_library
