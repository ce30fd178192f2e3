#pragma once

#include "simulator/sim_tone_curve.h"

#include <array>
#include <vector>

// Everything a simulated display's light output depends on at this moment.
// The display model keeps it current as commands change its controls, lookup
// table, backlight or test patch; the light model turns it into the XYZ an
// instrument would measure. Levels are normalised drive values in [0, 1].
struct sim_video_state
{
    bool power_on = true;
    // Colour gains of the video path as a fraction of their maximum.
    std::array<double, 3> gain{{1.0, 1.0, 1.0}};
    // The internal calibration engine's own channel gains, applied with the
    // colour gains to the input and the test patch alike; 1 while the engine
    // is off.
    std::array<double, 3> engine_gain{{1.0, 1.0, 1.0}};
    // The engine's black level: per channel, the fraction of full level it
    // lifts black by, before its gains, keeping full level where it is
    // (input and test patch alike); 0 while the engine is off or holds no
    // black.
    std::array<double, 3> engine_black_lift{{0.0, 0.0, 0.0}};
    // The tone curve the engine realises on the input and on its own test
    // patch (none while it is off): light then runs from the black to the
    // white it holds along the curve, through the panel's own responses.
    sim_tone_curve engine_curve;
    // Black-level offsets of the video path, as a fraction of full drive.
    std::array<double, 3> offset{{0.0, 0.0, 0.0}};
    // Backlight as a fraction of the panel's maximum luminance.
    double backlight = 1.0;
    // The uploaded lookup table per channel (entries in [0, 1], evenly
    // spaced over the input); empty means identity.
    std::array<std::vector<double>, 3> lut;
    // The input signal the display shows when no test patch is on; it passes
    // through the lookup table. Tests and the wall configuration set it.
    std::array<double, 3> input_level{{1.0, 1.0, 1.0}};
    // The internal test-patch generator; it bypasses the lookup table.
    bool patch_on = false;
    std::array<double, 3> patch_level{{1.0, 1.0, 1.0}};
};

// Told of every change of a display's video state (under the wall's lock).
// |became_active| is true when the display just switched on a test patch or
// flashed, so that an instrument following the operator can move to it.
class sim_video_observer
{
public:
    virtual ~sim_video_observer() = default;
    virtual void video_changed(const sim_video_state &state, bool became_active) = 0;
};
