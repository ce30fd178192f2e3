#pragma once

#include <QString>

// Luminance is held in cd/m² everywhere; only texts and entry fields show it
// in the operator's unit. The unit choice belongs to the preferences, which
// sit above this library: the shell pushes it here whenever the preferences
// are loaded or changed, so that every layer formats luminance the same way.
namespace luminance_units {

constexpr double kCandelaPerFootLambert = 3.426;

void set_uses_foot_lamberts(bool footLamberts);
bool uses_foot_lamberts();

// "cd/m²"
QString candela_unit_text();
// "fL" when foot-lamberts are selected, else candela_unit_text().
QString luminance_unit_text();

double cd_m2_to_display_units(double cdm2);
double display_units_to_cd_m2(double value);

// The value in the operator's unit with enough decimals to show two
// significant digits below 10 (at least |minimumDecimals| when that is >= 0),
// optionally followed by a space and the unit text.
QString to_display_luminance_text(double cdm2, int minimumDecimals, bool withUnit);

} // namespace luminance_units

using luminance_units::candela_unit_text;
using luminance_units::cd_m2_to_display_units;
using luminance_units::display_units_to_cd_m2;
using luminance_units::luminance_unit_text;
using luminance_units::to_display_luminance_text;
using luminance_units::uses_foot_lamberts;
