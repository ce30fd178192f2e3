#pragma once

#include "simulator/sim_channel_response.h"

#include <QString>
#include <QtGlobal>

#include <array>

struct sim_chromaticity
{
    double x = 0.0;
    double y = 0.0;
};

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

    // The panel of the simulated model as designed, without deviations.
    static sim_panel nominal();
    // |base| with one display's own deviations: |seed| picks them, |spread|
    // scales them (0 none, 1 typical for a production run, more for a worse
    // batch). The same seed and spread give the same panel.
    static sim_panel with_imperfections(const sim_panel &base, quint64 seed, double spread);
    // The seed of one display: the wall's seed mixed with the display's key,
    // so that a display keeps its panel wherever it sits in the wall's order.
    static quint64 display_seed(quint64 wall_seed, const QString &display_key);
};
