#pragma once

#include <array>
#include <vector>

// The tone curve the internal calibration engine realises: for a level of
// the input or of its own test patch in [0, 1], the share of the way from
// the black it holds to the white it holds, in light. With no form the
// engine leaves the panel's own response alone.
struct sim_tone_curve
{
    enum form_kind : int { kNone = 0, kPower, kDicom, kSrgb, kLstar, kTable };

    form_kind form = kNone;
    double gamma = 2.2;                        // kPower
    double black = 0.0, white = 0.0;           // kDicom: the luminances it spans, cd/m²
    std::array<std::vector<double>, 3> table;  // kTable: per channel, entries spread over the level

    bool active() const { return form != kNone; }
    // The share of light (0 … 1) at |level| for |channel|.
    double share(int channel, double level) const;

    // |table| read at |level| (entries evenly spaced over [0, 1], straight
    // lines between them); an empty table is the identity.
    static double look_up(const std::vector<double> &table, double level);
};
