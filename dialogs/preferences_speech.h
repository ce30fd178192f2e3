#pragma once

#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class QTextToSpeech;

// What the Preferences dialog does with the text-to-speech engine while the
// operator tries languages and voices. The program's engine is wrapped by
// text_to_speech_preferences_speech; tests give their own.
class preferences_speech : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool backend_error() const = 0;
    virtual QVector<QLocale> available_locales() const = 0;
    virtual QLocale locale() const = 0;
    virtual void set_locale(const QLocale &locale) = 0;
    // Voice items of the current locale ("name - gender - age"), in the engine's order.
    virtual QStringList voice_texts() const = 0;
    virtual int current_voice() const = 0; // index in voice_texts(); -1 when none
    virtual void set_voice(int index) = 0;
    virtual void say(const QString &text) = 0;

signals:
    void localeChanged(const QLocale &locale);
};

// The controller's engine; none when speech is unavailable.
std::unique_ptr<preferences_speech> make_preferences_speech();

// Test seam: while a factory is installed, make_preferences_speech asks it
// instead of the controller. An empty function restores the controller's.
using preferences_speech_factory = std::function<std::unique_ptr<preferences_speech>()>;
void set_preferences_speech_factory(preferences_speech_factory factory);
