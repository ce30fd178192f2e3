#pragma once

#include "colour/colour_values.h"

// CIE 1976 L*a*b* and the CIEDE2000 colour difference, for judging how far a
// calibrated display lands from its target.
struct CIELab
{
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

// |xyz| relative to the reference white |white| (same units); a white
// without light gives black.
CIELab xyz_to_lab(const CCIEXYZ &xyz, const CCIEXYZ &white);

// ΔE00 with the parametric factors kL = kC = kH = 1.
double delta_e_2000(const CIELab &first, const CIELab &second);
