#include "app/services/ui/voice_registry.h"

#include "app/services/ui/system_voice_output.h"

#include <atomic>

namespace voice_registry {
namespace {

std::atomic<voice_output *> g_output{nullptr};

} // namespace

void register_output(voice_output *output)
{
    g_output.store(output);
}

voice_output &output()
{
    static system_voice_output fallback;
    voice_output *registered = g_output.load();
    return registered ? *registered : fallback;
}

} // namespace voice_registry
