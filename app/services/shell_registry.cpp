#include "app/services/shell_registry.h"

#include "app/services/preferences.h"
#include "app/services/system_voice_output.h"
#include "colour/luminance_units.h"

#include <atomic>

namespace shell_registry {
namespace {

std::atomic<CPreferences *> g_preferences{nullptr};
std::atomic<const QStringList *> g_models{nullptr};
std::atomic<voice_output *> g_voice{nullptr};

} // namespace

CPreferences *preferences()
{
    return g_preferences.load();
}

bool claim_preferences(CPreferences *preferences)
{
    CPreferences *expected = nullptr;
    if (!preferences || !g_preferences.compare_exchange_strong(expected, preferences))
        return false;
    luminance_units::set_uses_foot_lamberts(preferences->GetLuminanceUnits() == 1);
    return true;
}

void release_preferences(CPreferences *preferences)
{
    CPreferences *expected = preferences;
    if (preferences && g_preferences.compare_exchange_strong(expected, nullptr))
        luminance_units::set_uses_foot_lamberts(false);
}

void register_model_list(const QStringList *models)
{
    g_models.store(models);
}

QStringList model_list()
{
    const QStringList *models = g_models.load();
    return models ? *models : QStringList();
}

void register_voice_output(voice_output *output)
{
    g_voice.store(output);
}

voice_output &voice()
{
    static system_voice_output fallback;
    voice_output *output = g_voice.load();
    return output ? *output : fallback;
}

} // namespace shell_registry
