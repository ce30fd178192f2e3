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
