#pragma once

#include "app/services/voice_output.h"

#include <QPointer>

class QObject;
class QTextToSpeech;

// The machine's sound and speech. Nothing here waits for a sound server or
// a speech service: sound files play asynchronously, and without an engine
// (or an audio device) speech and sound are skipped.
class system_voice_output : public voice_output
{
public:
    explicit system_voice_output(QTextToSpeech *engine = nullptr);

    void play_sound_file(const QString &path) override;
    void beep() override;
    speech_state speech() const override;
    void stop_speaking() override;
    void say(const QString &text) override;

private:
    QPointer<QTextToSpeech> m_engine;
};

// The program's speech engine. The engine is named explicitly: the default
// one may be a speech service that hangs its users when it is not running.
QTextToSpeech *create_text_to_speech_engine(QObject *parent);
