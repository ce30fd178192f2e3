#pragma once

#include "colour/colour_values.h"
#include "dialogs/guarded_sensor.h"

// One reading of a display's light with the active sensor, set for display
// measurement with |backlightType|: SetDisplayType, MeasureXYZ, GetXYZ, the
// driver mutex held for each. A negative Y reads as no light. 0 or the
// sensor's status; |reading| is set only on 0.
int read_display_light(const guarded_sensor &sensor, int backlightType, CCIEXYZ &reading);
