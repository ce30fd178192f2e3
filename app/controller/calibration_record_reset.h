#pragma once

#include <QList>

class CAdjustValue;
class CMonitorTracker;
class layout_manager;

// Forgetting what a display's record holds, the one way every caller does it.
// A calibration reset clears the calibration date-time (the display counts as
// uncalibrated), the calibrated flag, the operating hours at calibration, the
// calibrating sensor's name and serial number, the calibration time (16-bit),
// the video input used (16-bit) and the software build (32-bit), zeroes the
// ten colour values the calibration measured (the uncorrected and the
// corrected red, green, blue, white and black) and empties the two greyscale
// series. A measurement reset zeroes the five colour values Measure stored
// (the native red, green, blue, white and black) and clears their date-time.
// What differs between callers is data:
struct calibration_reset
{
    enum trim_word {
        keep_trim_word,     // the visual trim stays as the operator set it
        mask_trim_word,     // only the uniformity-level and corner bits survive
    };
    trim_word trim = keep_trim_word;
    bool zero_gains = false; // the three channel gains become 0
    bool forget_calibration = true;
    bool forget_measurements = false;
};

// Initialize: a re-initialised display loses its channel trim.
constexpr calibration_reset kInitializeReset{calibration_reset::mask_trim_word, false};
// The Reset dock's calibration reset over all displays, and a target change.
constexpr calibration_reset kRecordReset{calibration_reset::keep_trim_word, false};
// The Reset dock's calibration reset on the selected display.
constexpr calibration_reset kSelectedRecordReset{calibration_reset::keep_trim_word, true};
// The Reset dock's measurement reset: the calibration stays.
constexpr calibration_reset kMeasurementReset{calibration_reset::keep_trim_word, false, false, true};

void reset_calibration_results(CAdjustValue &record, const calibration_reset &variant);

// reset_calibration_results on the record of each display at |indexes|, each
// stored back; indexes without an item or a record are passed over.
void reset_calibration_records(const layout_manager &layout, CMonitorTracker &records, const QList<int> &indexes,
                               const calibration_reset &variant);
