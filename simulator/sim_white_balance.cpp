#include "simulator/sim_white_balance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double register_step(double gain)
{
    const int steps = sim_white_balance::kGainSteps;
    return std::round(unit_interval(gain) * steps) / steps;
}

// The white's luminance at full backlight with |gain| on |panel|.
double white_at_full_backlight(const sim_panel &panel, const std::array<double, 3> &gain)
{
    const std::array<sim_xyz, 3> primary = panel.primaries_xyz();
    double Y = panel.black_xyz()[1];
    for (std::size_t c = 0; c < 3; ++c)
        Y += panel.response[c].light(gain[c]) * primary[c][1];
    return Y;
}

// The lift of each channel that brings black to |black| cd/m²: the same
// share k of every channel's light in the white, so that what is added has
// the white's chromaticity and black rises along a straight line from the
// panel's own black (k = 0) to the white (k = 1).
std::array<double, 3> lift_for(const sim_panel &panel, const sim_white_balance &balance, double black)
{
    const double own = panel.black_xyz()[1];
    const double span = (white_at_full_backlight(panel, balance.gain) - own) * balance.backlight;
    const double k = span > 0.0 ? unit_interval((black - own * balance.backlight) / span) : 0.0;
    std::array<double, 3> lift {};
    for (std::size_t c = 0; c < 3; ++c) {
        const sim_channel_response &response = panel.response[c];
        const double gain = balance.gain[c];
        lift[c] = gain > 0.0 ? unit_interval(response.drive_for(k * response.light(gain)) / gain) : 0.0;
    }
    return lift;
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
        (*shares)[c] = unit_interval(t * u[c] - v[c]);
    return true;
}

} // namespace

sim_white_balance sim_white_balance::for_target(const sim_panel &panel, const sim_chromaticity &target,
                                                double luminance, double black)
{
    sim_white_balance out;
    std::array<double, 3> shares {};
    if (channel_shares(panel, target, &shares)) {
        for (std::size_t c = 0; c < 3; ++c)
            out.gain[c] = register_step(panel.response[c].drive_for(shares[c]));
    }
    const double full = white_at_full_backlight(panel, out.gain);
    out.backlight = full > 0.0 ? unit_interval(luminance / full) : 0.0;
    out.black_lift = lift_for(panel, out, black);
    out.full_luminance = full;
    out.white_luminance = full * out.backlight;
    const double own_black = panel.black_xyz()[1] * out.backlight;
    out.black_luminance = std::isfinite(black) ? std::clamp(black, own_black, std::max(own_black, out.white_luminance))
                                               : own_black;
    return out;
}
