#include "app/services/ui/voice_prompts.h"

#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "app/services/ui/system_voice_output.h"
#include "app/services/voice_output.h"

#include <QFileInfo>

#include <iterator>

namespace {

const char *const kPromptFiles[] = {
    "/an error has occurred.wav",
    "/place color sensor on flashing display.wav",
    "/remove the color sensor from the display.wav",
};

voice_output &voice()
{
    static system_voice_output fallback;
    voice_output *registered = shell_registry::registered_voice_output();
    return registered ? *registered : fallback;
}

bool prompts_switched_off()
{
    const CPreferences *preferences = shell_registry::preferences();
    return preferences && !preferences->GetPlayVoicePromptAudio();
}

} // namespace

QString voice_prompt_file_name(int kind)
{
    if (kind < 0 || kind >= static_cast<int>(std::size(kPromptFiles)))
        return QString();
    return QString::fromLatin1(kPromptFiles[kind]);
}

int play_voice_prompt(int kind)
{
    return play_voice_prompt_from(program_folder(), kind);
}

int play_voice_prompt_from(const QString &folder, int kind)
{
    if (prompts_switched_off())
        return 0;
    const QString name = voice_prompt_file_name(kind);
    if (name.isEmpty())
        return -2;
    voice_output &output = voice();
    const QString path = folder + name;
    if (!QFileInfo::exists(path)) {
        output.beep();
        return -1;
    }
    output.play_sound_file(path);
    return 0;
}

int speak_text(const QString &text)
{
    if (prompts_switched_off())
        return 0;
    voice_output &output = voice();
    switch (output.speech()) {
    case voice_output::speech_state::no_engine:
        return 0;
    case voice_output::speech_state::error:
        return -1;
    case voice_output::speech_state::speaking:
        output.stop_speaking();
        break;
    case voice_output::speech_state::ready:
        break;
    }
    output.say(text);
    return 0;
}
