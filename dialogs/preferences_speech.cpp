#include "dialogs/preferences_speech.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"

#include <QTextToSpeech>
#include <QVoice>

namespace {

class text_to_speech_preferences_speech : public preferences_speech
{
public:
    explicit text_to_speech_preferences_speech(QTextToSpeech *engine)
        : m_engine(engine), m_voices(engine->availableVoices())
    {
        connect(engine, &QTextToSpeech::localeChanged, this, [this](const QLocale &locale) {
            m_voices = m_engine->availableVoices();
            emit localeChanged(locale);
        });
    }

    bool backend_error() const override { return m_engine->state() == QTextToSpeech::BackendError; }
    QVector<QLocale> available_locales() const override { return m_engine->availableLocales(); }
    QLocale locale() const override { return m_engine->locale(); }
    void set_locale(const QLocale &locale) override { m_engine->setLocale(locale); }
    QStringList voice_texts() const override
    {
        QStringList texts;
        for (const QVoice &voice : m_voices)
            texts << QStringLiteral("%1 - %2 - %3")
                         .arg(voice.name(), QVoice::genderName(voice.gender()), QVoice::ageName(voice.age()));
        return texts;
    }
    int current_voice() const override
    {
        const QString name = m_engine->voice().name();
        for (int i = 0; i < m_voices.size(); ++i) {
            if (m_voices[i].name() == name)
                return i;
        }
        return -1;
    }
    void set_voice(int index) override
    {
        if (index >= 0 && index < m_voices.size())
            m_engine->setVoice(m_voices[index]);
    }
    void say(const QString &text) override { m_engine->say(text); }

private:
    QTextToSpeech *m_engine;
    QVector<QVoice> m_voices;
};

preferences_speech_factory &installed_factory()
{
    static preferences_speech_factory factory;
    return factory;
}

} // namespace

std::unique_ptr<preferences_speech> make_preferences_speech()
{
    if (installed_factory())
        return installed_factory()();
    if (!g_master || !g_master->isTextToSpeechAvailable() || !g_master->getTextToSpeech())
        return nullptr;
    return std::make_unique<text_to_speech_preferences_speech>(g_master->getTextToSpeech());
}

void set_preferences_speech_factory(preferences_speech_factory factory)
{
    installed_factory() = std::move(factory);
}
