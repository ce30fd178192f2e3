#include "app/services/measurement_preferences.h"

#include <atomic>

namespace measurement_preferences {
namespace {

std::atomic<bool> g_lowLightAveraging{false};

} // namespace

void set_low_light_averaging(bool on)
{
    g_lowLightAveraging.store(on);
}

bool low_light_averaging()
{
    return g_lowLightAveraging.load();
}

} // namespace measurement_preferences
