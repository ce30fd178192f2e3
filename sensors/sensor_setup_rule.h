#pragma once

class CSensor;

// Whether |sensor| must go through the set-up dialog before it measures:
// it needs a calibration (always when |force|, else only when not yet
// calibrated), or its measurement selector is away from the wanted
// position (3 at the calibration position, else 0). The caller holds the
// driver mutex.
bool sensor_setup_needed(CSensor &sensor, bool at_calibration_position, bool force);
