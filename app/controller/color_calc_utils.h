#pragma once

#include <QObject>

class CAdjustValue;
class CColorValue;
class CSpline;
class CTargetValue;

// Wall-wide colour decisions: the white point every enabled display can
// reach with the most light, the luminance a display and the whole wall can
// reach at a white point, whether the wall has been measured; and the target
// tone curves. The wall is read through the controller (g_master); a display
// counts with the native primaries of its record. A native target white
// means each display's own native white.
class color_calc_utils : public QObject
{
    Q_OBJECT

public:
    explicit color_calc_utils(QObject *parent = nullptr);

    // Moves the target's white point to the chromaticity, on a 0.001 grid
    // within the box of the displays' native whites, at which the dimmest
    // display is brightest. 0, or -1 (target unchanged) when no enabled
    // display has usable native data.
    int calculate_best_common_white_point(CTargetValue &target) const;
    // The white luminance the display at |index| reaches at the target's
    // white point; 0 with |luminance| -1 for a disabled display, -1 without
    // usable native data.
    int calculate_display_max_luminance(int index, const CTargetValue &target, double &luminance) const;
    // The same for a record already at hand (no disabled case).
    static int calculate_record_max_luminance(const CAdjustValue &record, const CTargetValue &target,
                                              double &luminance);
    // The least of the enabled displays' luminances at the target's white
    // point; -1 (|luminance| -1) when one lacks usable native data, 0 with
    // |luminance| -1 for a wall without enabled displays.
    int calculate_max_matching_luminance(const CTargetValue &target, double &luminance) const;
    // True when the wall has displays and every enabled one has usable
    // native data (and at least one is enabled).
    bool all_displays_measured() const;

    static int make_smpte240m_curve(CSpline &curve);
    static int make_lstar_curve(CSpline &curve);
    static int make_ntsc_smpte170m_curve(CSpline &curve);
    static int make_srgb_curve(CSpline &curve);
    static int make_target_curve(const CColorValue &measurements, const CTargetValue &target, CSpline &curve);
};
