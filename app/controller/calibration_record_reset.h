#pragma once

#include <QList>

class CAdjustValue;
class CMonitorTracker;
class layout_manager;

// Forgetting a display's last calibration, the one way every caller does it.
// The reset always clears the calibration date-time (the display counts as
// uncalibrated), the calibrated flag, the operating hours at calibration,
// the calibrating sensor's name and serial number, the calibration time
// (16-bit), the video input used (16-bit) and the software build (32-bit),
// zeroes the ten colour values the calibration measured (the uncorrected and
// the corrected red, green, blue, white and black) and empties the two
// greyscale series. What differs between callers is data:
struct calibration_reset
{
    enum trim_word {
        keep_trim_word,     // the visual trim stays as the operator set it
        mask_trim_word,     // only the uniformity-level and corner bits survive
    };
    trim_word trim = keep_trim_word;
    bool zero_gains = false; // the three channel gains become 0
};

// Initialize: a re-initialised display loses its channel trim.
constexpr calibration_reset kInitializeReset{calibration_reset::mask_trim_word, false};
// The Reset dock over all displays, and a target change.
constexpr calibration_reset kRecordReset{calibration_reset::keep_trim_word, false};
// The Reset dock on the selected display.
constexpr calibration_reset kSelectedRecordReset{calibration_reset::keep_trim_word, true};

void reset_calibration_results(CAdjustValue &record, const calibration_reset &variant);

// reset_calibration_results on the record of each display at |indexes|, each
// stored back; indexes without an item or a record are passed over.
void reset_calibration_records(const layout_manager &layout, CMonitorTracker &records, const QList<int> &indexes,
                               const calibration_reset &variant);
