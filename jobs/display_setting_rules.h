#pragma once

#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"

#include <QtGlobal>

#include <array>
#include <optional>

// The rules by which the display jobs and the calibration engine turn the
// target, the preferences and a display's record into control values. Each
// rule lives here once; the control lists and the calibration engine call it.

// --- primaries the internal engine works to --------------------------------

// Red x, red y, green x, green y, blue x, blue y in thousandths.
using engine_primaries = std::array<qint32, 6>;

// Whether the engine colour-gamut preference names a row of the gamut table
// (1 to 6); any other setting keeps the display's own primaries.
bool is_engine_gamut_table_setting(int setting);
// The primaries for the engine colour-gamut preference: the table's row for
// 1 to 6, else |own| (the display's own primaries, as read back or stored).
engine_primaries engine_gamut_primaries(int setting, const engine_primaries &own);

// --- uniformity --------------------------------------------------------------

// What to write to the engine's uniformity level for the uniformity
// preference |preference| when the display holds |current|: preferences 0 to
// 5 set that level when it differs; 10 to 15 raise it to preference - 10
// when it is lower; any other preference leaves it alone (nothing).
std::optional<qint32> uniformity_level_to_write(int preference, qint32 current);

// --- tone curve ---------------------------------------------------------------

// The colour mode (0x268) for a calibration held in gains or a lookup table
// without the engine: 1 for a native tone curve; for a power curve 8 from
// gamma 2.3 up, else 4; 4 for every other curve.
qint32 gain_mode_color_mode(const CTargetValue &target);

// How the internal engine realises the target's tone curve.
struct engine_tone_setting
{
    qint32 color_mode = 0;           // 0x268
    std::optional<qint32> gamma;     // 0x2E8, with colour mode 9
    bool uploads_curve = false;      // colour mode 6: the curve goes up as a table
};
engine_tone_setting engine_tone_for_target(const CTargetValue &target);
// The tone the engine holds while the colour sensor calibrates through it,
// and for a native target: a power law of 2.2.
engine_tone_setting engine_standard_tone();
// The curve the engine is given as its table when engine_tone_for_target
// asks for one: the target curve worked out on the display's measurements
// for BT.1886, else the target's own curve.
CSpline engine_tone_curve(const CTargetValue &target, const CAdjustValue &record);

// --- intensity and black ---------------------------------------------------------

// The engine's black level (0x1054, tenths of cd/m²): the target intensity
// over its contrast ratio, rounded; 0 without a contrast ratio or when the
// intensity is the most possible.
qint32 engine_black_level(const CTargetValue &target);
// A white-point coordinate in thousandths, rounded.
qint32 thousandths(double coordinate);

// --- per-display target offset ---------------------------------------------------

// Which intensity modes the record's intensity factor scales: the
// calibration scales modes 2 and 3, the engine set-up without a sensor only
// the specified intensity (mode 3).
enum class offset_intensity_modes { matching_and_specified, specified_only };
// |target| moved by the record's target offset when its switch is on: the
// white point by the record's offsets (thousandths), the intensity scaled by
// its factor in the modes named. Unchanged when the switch is off; a native
// white stays native.
CTargetValue target_with_offset(const CTargetValue &target, const CAdjustValue &record,
                                offset_intensity_modes modes);

// --- values the record keeps ---------------------------------------------------------

// A setting the record holds both as calibrated and as visually trimmed.
enum class trimmed_setting { backlight, engine_white_x, engine_white_y, uniformity_level };
// The trimmed value when the record's trim flags mark that setting trimmed,
// else the calibrated one.
qint32 trimmed_or_stored(const CAdjustValue &record, trimmed_setting setting);

// The record's gain (or patch level) of |channel| (0 red, 1 green, 2 blue)
// on a display whose channel reaches |maximum|: maximum x the channel's
// ratio (x its trim factor when |with_trim| and the record's gains are
// trimmed), rounded, within 0 and the maximum. Always from the maximum, so
// that writing it again and again gives the same value.
qint32 channel_level_from_record(const CAdjustValue &record, int channel, qint32 maximum, bool with_trim);
