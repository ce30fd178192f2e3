#pragma once

#include <QLocale>
#include <QVector>

class CPreferences;

// The speech engine as start-up sees it; the program's one wraps its
// text-to-speech engine, tests give their own.
class speech_engine_access
{
public:
    virtual ~speech_engine_access() = default;
    virtual bool backend_error() const = 0;
    virtual QVector<QLocale> locales() const = 0;
    virtual void set_locale(const QLocale &locale) = 0;
    // The voices of the locale set last.
    virtual int voice_count() const = 0;
    virtual void set_voice(int index) = 0;
};

struct speech_setup_result
{
    bool available = false;      // the engine is not in its error state
    bool english_locale = false; // it offers a locale of the English language
};

// Chooses the engine's locale and voice from the preferences and settles the
// speech preferences: a first start turns speech on exactly when English is
// offered, a preferred locale the engine lacks gives way to its first
// English one, and an engine in its error state turns speech off.
speech_setup_result set_up_speech(speech_engine_access &engine, CPreferences &preferences);
