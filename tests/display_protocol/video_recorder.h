#pragma once

#include "simulator/sim_video_state.h"

#include <QList>

// Keeps every video state a simulated display publishes (called under the
// wall's lock, read by the test after the display is idle).
struct video_recorder : sim_video_observer
{
    struct publication
    {
        sim_video_state state;
        bool became_active;
    };

    void video_changed(const sim_video_state &state, bool became_active) override
    {
        publications.append({state, became_active});
    }

    int activations() const
    {
        int n = 0;
        for (const publication &p : publications)
            n += p.became_active ? 1 : 0;
        return n;
    }

    QList<publication> publications;
};
