#pragma once

class CPDLANConnectionObject;

// JOB_TASK_MEASURE_PRIMARIES: measures the display's white, red, green, blue
// and black with the colour sensor, after the placement check, and stores
// them as the native measurements of the display's record, with the
// measurement time and the display's operating hours.
//
// For the measurement the display runs at full brightness (through its
// internal engine's luminance when the preferences ask for the engine) and,
// with the engine, in colour preset 2. These changes, and the patch
// generator, are put back on every way out: success, a failing call, a
// patch the sensor rejects (-1041 white or black, -1004 red, green or blue)
// and a stop (JOB_RESULT_STOPPED). -1000 without a sensor. On success the
// worker reports that the sensor may be taken off (misc status 1).
int measure_primaries(CPDLANConnectionObject &worker);
