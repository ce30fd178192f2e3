#pragma once

#include "simulator/sim_channel_response.h"
#include "simulator/sim_colour_math.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The optical character of one simulated panel: what an instrument measures
// on it at full backlight. Full white is |white| at |max_luminance| cd/m²;
// with no drive the panel still leaks |black_luminance| cd/m² of light of
// chromaticity |black|; each channel's primary adds its own light above that
// black through its own response curve.
struct sim_panel
{
    std::array<sim_chromaticity, 3> primaries;   // red, green, blue
    sim_chromaticity white;
    double max_luminance = 0.0;                  // cd/m²
    sim_chromaticity black;
    double black_luminance = 0.0;                // cd/m²
    std::array<sim_channel_response, 3> response;

    // In XYZ (cd/m², full backlight): the leakage with no drive, and each
    // primary's light at full drive above it. The primaries' luminances
    // follow from white: together with black they add up to it. Primaries
    // that span no colour space give no light.
    sim_xyz black_xyz() const;
    std::array<sim_xyz, 3> primaries_xyz() const;

    // The panel of the simulated model as designed, without deviations.
    static sim_panel nominal();
    // |base| with one display's own deviations: |seed| picks them, |spread|
    // scales them (0 none, 1 typical for a production run, more for a worse
    // batch). The same seed and spread give the same panel.
    static sim_panel with_imperfections(const sim_panel &base, quint64 seed, double spread);
    // The seed of one display: the wall's seed mixed with a key that names
    // the display's place on the wall.
    static quint64 display_seed(quint64 wall_seed, const QString &display_key);
};
