#include "simulator/sim_light_model.h"

#include <algorithm>
#include <cmath>

namespace {

double non_negative(double value)
{
    return std::isfinite(value) ? std::max(value, 0.0) : 0.0;
}

} // namespace

sim_light_model::sim_light_model(const QString &display_key, const sim_panel &panel)
    : m_key(display_key), m_panel(panel)
{
    derive_primaries();
    m_current = light(m_state);
}

void sim_light_model::derive_primaries()
{
    m_black = m_panel.black_xyz();
    m_primary = m_panel.primaries_xyz();
}

double sim_light_model::drive(const sim_video_state &state, int c) const
{
    const double level = state.patch_on ? unit_interval(state.patch_level[c])
                                        : sim_tone_curve::look_up(state.lut[c], unit_interval(state.input_level[c]));
    const double lift = unit_interval(state.engine_black_lift[c]);
    const double gain = non_negative(state.gain[c]) * non_negative(state.engine_gain[c]);
    const double offset = std::isfinite(state.offset[c]) ? state.offset[c] : 0.0;
    if (!state.engine_curve.active())
        return unit_interval(offset + gain * (lift + (1.0 - lift) * level));
    // The engine knows the panel's own responses from the factory: it spends
    // its drive so that the light follows its curve from the black it holds
    // to the white.
    const sim_channel_response &response = m_panel.response[static_cast<std::size_t>(c)];
    const double top = response.light(unit_interval(gain));
    const double bottom = response.light(unit_interval(gain * lift));
    return unit_interval(offset + response.drive_for(bottom + (top - bottom) * state.engine_curve.share(c, level)));
}

light_channel::light_reading sim_light_model::light(const sim_video_state &state) const
{
    if (!state.power_on)
        return {};
    sim_xyz xyz = m_black;
    for (int c = 0; c < 3; ++c) {
        const double share = m_panel.response[c].light(drive(state, c));
        for (int k = 0; k < 3; ++k)
            xyz[k] += share * m_primary[c][k];
    }
    // The backlight lights the leakage as much as the open cells.
    const double backlight = unit_interval(state.backlight);
    return {xyz[0] * backlight, xyz[1] * backlight, xyz[2] * backlight};
}

void sim_light_model::video_changed(const sim_video_state &state, bool became_active)
{
    m_state = state;
    m_current = light(state);
    publish(became_active);
}

void sim_light_model::set_panel(const sim_panel &panel)
{
    m_panel = panel;
    derive_primaries();
    video_changed(m_state, false);
}

void sim_light_model::set_publishing(bool on)
{
    m_publishing = on;
    publish(false);
}

void sim_light_model::publish(bool became_active) const
{
    if (!m_publishing)
        return;
    light_channel::publish_light(m_key, m_current);
    if (became_active)
        light_channel::publish_active_display(m_key);
}
