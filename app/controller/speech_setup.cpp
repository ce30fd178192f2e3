#include "app/controller/speech_setup.h"

#include "app/services/preferences.h"

speech_setup_result set_up_speech(speech_engine_access &engine, CPreferences &preferences)
{
    speech_setup_result result;
    if (engine.backend_error()) {
        preferences.SetUseTextToSpeechEngine(false);
        return result;
    }
    result.available = true;

    const QVector<QLocale> offered = engine.locales();
    QLocale preferred = preferences.GetTextToSpeechLocale();
    bool preferredOffered = false;
    const QLocale *firstEnglish = nullptr;
    for (const QLocale &locale : offered) {
        if (locale.language() == preferred.language())
            preferredOffered = true;
        if (locale.language() == QLocale::English) {
            result.english_locale = true;
            if (!firstEnglish)
                firstEnglish = &locale;
        }
    }
    if (!preferences.GetSpeechEngineChoiceMade())
        preferences.SetUseTextToSpeechEngine(result.english_locale);
    if (!preferredOffered && firstEnglish) {
        preferred = *firstEnglish;
        preferences.SetTextToSpeechLocale(preferred);
    }

    engine.set_locale(preferred);
    if (preferences.GetTextToSpeechVoice() < engine.voice_count())
        engine.set_voice(preferences.GetTextToSpeechVoice());
    preferences.SetSpeechEngineChoiceMade(true);
    return result;
}
