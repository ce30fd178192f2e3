#pragma once

#include "simulator/light/light_channel.h"
#include "simulator/sim_panel.h"
#include "simulator/sim_video_state.h"

#include <QString>

#include <array>

// The light a simulated display emits: its video state (input through the
// uploaded lookup table, or the internal test patch that bypasses it; then
// gains, offsets and backlight) on its panel. Installed as the display's
// video observer, it keeps the light of the latest state and, when asked
// to, publishes it on the light channel under the display's key.
class sim_light_model : public sim_video_observer
{
public:
    sim_light_model(const QString &display_key, const sim_panel &panel);

    void video_changed(const sim_video_state &state, bool became_active) override;

    // What an instrument on the panel measures for |state| (cd/m²).
    light_channel::light_reading light(const sim_video_state &state) const;
    // The light of the last state seen (black until a state was seen).
    light_channel::light_reading current_light() const { return m_current; }

    const sim_panel &panel() const { return m_panel; }
    // Changes the panel; the current light follows (and is published).
    void set_panel(const sim_panel &panel);
    QString display_key() const { return m_key; }

    // While on, every change is published; switching on publishes at once.
    void set_publishing(bool on);
    bool publishing() const { return m_publishing; }

private:
    void derive_primaries();
    // The drive of channel |c| into the panel, in [0, 1].
    double drive(const sim_video_state &state, int c) const;
    void publish(bool became_active) const;

    QString m_key;
    sim_panel m_panel;
    sim_xyz m_black {};
    // Each primary's light at full drive above black, at full backlight.
    std::array<sim_xyz, 3> m_primary {};
    sim_video_state m_state;
    light_channel::light_reading m_current;
    bool m_publishing = false;
};
