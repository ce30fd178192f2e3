#include "simulator/sim_channel_response.h"

#include <algorithm>
#include <cmath>

double sim_channel_response::light(double drive) const
{
    if (!std::isfinite(drive) || drive <= 0.0)
        return 0.0;
    const double v = std::min(drive, 1.0);
    const double start = std::pow(toe, gamma);
    const double span = std::pow(1.0 + toe, gamma) - start;
    if (!(span > 0.0))
        return v;
    const double lifted = (std::pow(v + toe, gamma) - start) / span;
    return lifted * (1.0 + shoulder) / (1.0 + shoulder * lifted);
}

double sim_channel_response::drive_for(double fraction) const
{
    if (!std::isfinite(fraction) || fraction <= 0.0)
        return 0.0;
    const double r = std::min(fraction, 1.0);
    const double start = std::pow(toe, gamma);
    const double span = std::pow(1.0 + toe, gamma) - start;
    if (!(span > 0.0))
        return r;
    // Undo the shoulder, then the lifted power law.
    const double lifted = r / (1.0 + shoulder - shoulder * r);
    const double drive = std::pow(lifted * span + start, 1.0 / gamma) - toe;
    return std::isfinite(drive) ? std::clamp(drive, 0.0, 1.0) : 0.0;
}
