#pragma once

#include "app/services/shell_registry.h"
#include "app/services/voice_output.h"

#include <QStringList>

// Records what the services asked the sound and speech output to do, and
// registers itself for its lifetime.
class recording_voice_output : public voice_output
{
public:
    explicit recording_voice_output(speech_state state = speech_state::ready) : m_state(state)
    {
        shell_registry::register_voice_output(this);
    }
    ~recording_voice_output() override { shell_registry::register_voice_output(nullptr); }

    void play_sound_file(const QString &path) override { events << QStringLiteral("play ") + path; }
    void beep() override { events << QStringLiteral("beep"); }
    speech_state speech() const override { return m_state; }
    void stop_speaking() override
    {
        events << QStringLiteral("stop");
        m_state = speech_state::ready;
    }
    void say(const QString &text) override
    {
        events << QStringLiteral("say ") + text;
        m_state = speech_state::speaking;
    }

    QStringList events;

private:
    speech_state m_state;
};
