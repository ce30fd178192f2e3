#pragma once

// Codes with which the adjustment dialogs refuse to open on a display.
namespace adjustment_status {
constexpr int kNotPoweredOn = -1036;     // the display is in standby
constexpr int kWrongColourMode = -1022;  // not in a colour mode its calibration uses
} // namespace adjustment_status
