#pragma once

#include "simulator/instrument/instrument_config.h"

#include <random>

// Turns the light that reaches a simulated instrument into what it reports:
// seeded Gaussian noise, a low-light floor and quantisation. Runs with the
// same seed give the same readings.
namespace sim_instrument {

class reading_model
{
public:
    void reseed(quint64 seed);
    tristimulus emission(const tristimulus &light, const instrument_config &config);
    double ambient_lux(double lux, const instrument_config &config);

private:
    double noisy(double value, const instrument_config &config);
    static double quantised(double value, const instrument_config &config);

    std::mt19937_64 m_random{1};
};

} // namespace sim_instrument
