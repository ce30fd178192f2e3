#pragma once

#include "display_protocol/basic_monitor.h"

// Status codes of a calibration run beside those of the display link and the
// sensor, which pass through unchanged.
namespace calibration_result {

enum : int {
    kInvalidTarget = -1,            // a loop was given a target it cannot work to
    kPatchColourRejected = -1004,   // a patch or the adjusted white failed the sensor's colour check
    kWhitePointFailed = -1011,
    kIntensityNotReached = -1012,   // a warning: the run goes on
    kDriveWritesFailed = -1023,
    kEngineWhiteAtLimit = -1035,
    kStopped = basic_monitor::kStopped,
};

// What a loop iteration returns besides a code.
enum : int { kLoopDone = 0, kLoopGoOn = 1 };

} // namespace calibration_result
