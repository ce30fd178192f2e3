#pragma once

#include "colour/colour_values.h"

// Chromaticity of a colour temperature: the Planckian locus below 4000 K, the
// CIE daylight locus from 4000 K. False (xy left at (0, 0)) outside 1667..25000 K.
bool kelvin_to_xy(quint16 kelvin, CIExy &xy);

// Correlated colour temperature of a chromaticity by the isotemperature-line
// method, with the distance from the locus in CIE 1960 uv. False, with kelvin and
// deviation 0, outside x 0.2..0.6 / y 0.2..0.5, beyond the table's lines, or when
// the temperature does not fit 16 bits.
bool xy_to_kelvin(const CIExy &xy, quint16 &kelvin, double &deviation);
