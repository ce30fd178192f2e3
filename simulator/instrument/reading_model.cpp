#include "simulator/instrument/reading_model.h"

#include <cmath>

namespace sim_instrument {

void reading_model::reseed(quint64 seed)
{
    m_random.seed(seed);
}

double reading_model::noisy(double value, const instrument_config &config)
{
    const double deviation = std::abs(value) * config.noiseRelative + config.noiseAbsolute;
    if (!(deviation > 0.0))
        return value;
    std::normal_distribution<double> noise(0.0, deviation);
    return value + noise(m_random);
}

double reading_model::quantised(double value, const instrument_config &config)
{
    if (!(config.resolution > 0.0))
        return value;
    return std::round(value / config.resolution) * config.resolution;
}

tristimulus reading_model::emission(const tristimulus &light, const instrument_config &config)
{
    tristimulus reading{noisy(light.X, config), noisy(light.Y, config), noisy(light.Z, config)};
    if (reading.Y < config.lowLightFloor)
        return tristimulus();
    return tristimulus{quantised(reading.X, config), quantised(reading.Y, config), quantised(reading.Z, config)};
}

double reading_model::ambient_lux(double lux, const instrument_config &config)
{
    const double reading = noisy(lux, config);
    if (reading < config.lowLightFloor)
        return 0.0;
    return quantised(reading, config);
}

} // namespace sim_instrument
