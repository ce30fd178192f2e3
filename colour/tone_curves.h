#pragma once

class CColorValue;
class CSpline;
class CTargetValue;

// Target tone curves as 256-point Catmull-Rom curves over [0, 1]: x is the
// encoded signal, y the linear light. Each builder fills |curve|, marks it
// valid and returns 0.

int make_smpte240m_curve(CSpline &curve);
int make_ntsc_smpte170m_curve(CSpline &curve);
int make_srgb_curve(CSpline &curve);
int make_lstar_curve(CSpline &curve);

// The curve a display is corrected to, by the target's gamma type: a power
// curve (2), the DICOM greyscale function between the display's measured
// black and white (3), the target's own curve (4), else the straight line.
int make_target_curve(const CColorValue &measurements, const CTargetValue &target, CSpline &curve);
