#pragma once

#include <QString>

// Where recorded prompts, beeps and speech go. The program uses the system
// output; tests register one that records what it was asked to do.
class voice_output
{
public:
    enum class speech_state { no_engine, ready, speaking, error };

    virtual ~voice_output() = default;

    // Starts playing a .wav file and returns at once.
    virtual void play_sound_file(const QString &path) = 0;
    virtual void beep() = 0;

    virtual speech_state speech() const = 0;
    virtual void stop_speaking() = 0;
    // Starts saying |text| and returns at once.
    virtual void say(const QString &text) = 0;
};
