#pragma once

#include <QString>

#include <array>

class CAdjustValue;
class CTargetValue;
struct display_layout_item;

// Texts and values that the information dialog, its report and the
// diagnostics file show alike.

// A display's status: the first that applies of disabled, ID conflict,
// duplicate display, then by its verification status (verified ones as
// calibrated, measured or verified by |record|; null for a display without
// a record). Empty for an unknown verification status.
QString display_status_text(const display_layout_item &item, const CAdjustValue *record);

// The target's white point text; a white given in kelvin is followed by
// " (CIE xy x, y)" in the operator's locale.
QString target_white_point_text(const CTargetValue &target);

// A stored gain (0..1) as the 8-bit drive value the display shows.
unsigned int gain_code(double gain);
// v rounded half up to an integer.
long long rounded(double value);

// Per channel: the trimmed drive value and the untrimmed one.
struct trimmed_gain_codes
{
    std::array<long long, 3> trimmed;
    std::array<unsigned int, 3> untrimmed;
};
trimmed_gain_codes gain_codes(const CAdjustValue &record);
