#include "simulator/sim_white_balance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double unit(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

double register_step(double gain)
{
    const int steps = sim_white_balance::kGainSteps;
    return std::round(unit(gain) * steps) / steps;
}

// The white's luminance at full backlight with |gain| on |panel|.
double white_luminance(const sim_panel &panel, const std::array<double, 3> &gain)
{
    const std::array<sim_xyz, 3> primary = panel.primaries_xyz();
    double Y = panel.black_xyz()[1];
    for (std::size_t c = 0; c < 3; ++c)
        Y += panel.response[c].light(gain[c]) * primary[c][1];
    return Y;
}

// Each channel's share of its full light for the brightest white of
// chromaticity |target|; false when the panel cannot mix that chromaticity.
bool channel_shares(const sim_panel &panel, const sim_chromaticity &target, std::array<double, 3> *shares)
{
    if (!(target.y > 0.0) || !(target.x >= 0.0) || !std::isfinite(target.x) || !std::isfinite(target.y))
        return false;
    // Black plus the shares of the primaries is t times the target at unit
    // luminance: share = t u - v, with the primaries mixing u to the target
    // and v to black.
    const std::array<sim_xyz, 3> primary = panel.primaries_xyz();
    sim_xyz u {}, v {};
    if (!solve_columns(primary, xyz_of(target, 1.0), &u) || !solve_columns(primary, panel.black_xyz(), &v))
        return false;
    // The brightest such white: the largest t at which no channel needs more
    // than its full light.
    double t = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < 3; ++c) {
        if (u[c] > 0.0)
            t = std::min(t, (1.0 + v[c]) / u[c]);
    }
    if (!std::isfinite(t) || t <= 0.0)
        return false;
    for (std::size_t c = 0; c < 3; ++c)
        (*shares)[c] = unit(t * u[c] - v[c]);
    return true;
}

} // namespace

sim_white_balance sim_white_balance::for_target(const sim_panel &panel, const sim_chromaticity &target,
                                                double luminance)
{
    sim_white_balance out;
    std::array<double, 3> shares {};
    if (channel_shares(panel, target, &shares)) {
        for (std::size_t c = 0; c < 3; ++c)
            out.gain[c] = register_step(panel.response[c].drive_for(shares[c]));
    }
    const double full = white_luminance(panel, out.gain);
    out.backlight = full > 0.0 ? unit(luminance / full) : 0.0;
    return out;
}
