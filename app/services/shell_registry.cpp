#include "app/services/shell_registry.h"

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
    return preferences && g_preferences.compare_exchange_strong(expected, preferences);
}

void release_preferences(CPreferences *preferences)
{
    CPreferences *expected = preferences;
    if (preferences)
        g_preferences.compare_exchange_strong(expected, nullptr);
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

voice_output *registered_voice_output()
{
    return g_voice.load();
}

} // namespace shell_registry
