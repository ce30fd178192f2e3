#include "app/services/ui/system_voice_output.h"

#include <QApplication>
#include <QSound>
#include <QTextToSpeech>

namespace {

const char kSpeechEngine[] = "flite";

} // namespace

system_voice_output::system_voice_output(QTextToSpeech *engine) : m_engine(engine) {}

void system_voice_output::play_sound_file(const QString &path)
{
    // QSound needs an event loop owner; a tool without one stays silent.
    if (QCoreApplication::instance())
        QSound::play(path);
}

void system_voice_output::beep()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QApplication::beep();
}

voice_output::speech_state system_voice_output::speech() const
{
    if (!m_engine)
        return speech_state::no_engine;
    switch (m_engine->state()) {
    case QTextToSpeech::Speaking:
        return speech_state::speaking;
    case QTextToSpeech::BackendError:
        return speech_state::error;
    case QTextToSpeech::Ready:
    case QTextToSpeech::Paused:
        break;
    }
    return speech_state::ready;
}

void system_voice_output::stop_speaking()
{
    if (m_engine)
        m_engine->stop();
}

void system_voice_output::say(const QString &text)
{
    if (m_engine)
        m_engine->say(text);
}

QTextToSpeech *create_text_to_speech_engine(QObject *parent)
{
    return new QTextToSpeech(QString::fromLatin1(kSpeechEngine), parent);
}
