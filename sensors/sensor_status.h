#pragma once

// Status codes shared by every colour-sensor driver; 0 is success.
namespace sensor_status {

enum : int {
    kOk = 0,
    kWrongMode = -1,            // mode not supported, or not the mode the operation needs
    kNotOpen = -1000,           // instrument not open, no device, library not connected
    kFailed = -1003,            // a measurement or library call failed; no new reading
    kCalibrationFailed = -1008, // the instrument's own calibration failed
    kNoCalibrationEntry = -1020, // no calibration table entry, too few, or support files refused
    kSelectorPosition = -1026,  // dial or diffuser not where the operation needs it
    kProbeNotOpen = -99998,     // the PL-series driver is not open
};

} // namespace sensor_status
