#pragma once

#include "simulator/sim_panel.h"

#include <array>

// How the internal calibration engine sets its white and black: the channel
// gains and the backlight that give full white the target chromaticity and
// luminance on the panel as the engine knows it, and the lift that brings
// black up to its target. The gains live in 10-bit registers, so the white
// it reaches is off by their rounding.
struct sim_white_balance
{
    static constexpr int kGainSteps = 1023;

    std::array<double, 3> gain {{1.0, 1.0, 1.0}};
    double backlight = 1.0;
    std::array<double, 3> black_lift {{0.0, 0.0, 0.0}};   // sim_video_state::engine_black_lift
    // On the panel it was worked out for, cd/m²: the white at full
    // backlight, and the white and black it holds.
    double full_luminance = 0.0;
    double white_luminance = 0.0;
    double black_luminance = 0.0;

    // The brightest white of chromaticity |target| on |panel|, dimmed to
    // |luminance| cd/m² where the panel is brighter. A chromaticity outside
    // the panel's primaries comes as near as they allow (a channel that would
    // need negative light stays dark); a target that is no chromaticity (y
    // not above 0) leaves the panel's native white. Black is lifted to
    // |black| cd/m² where the panel's own black is darker, by adding light of
    // the white's mix of channels; it cannot go below that black, nor above
    // the white.
    static sim_white_balance for_target(const sim_panel &panel, const sim_chromaticity &target, double luminance,
                                        double black = 0.0);
};
