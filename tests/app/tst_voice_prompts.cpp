#include "app/services/preferences.h"
#include "app/services/ui/system_voice_output.h"
#include "app/services/ui/voice_prompts.h"
#include "recording_voice_output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QtTest>

Q_DECLARE_METATYPE(voice_output::speech_state)

class tst_voice_prompts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void prompt_files_data();
    void prompt_files();
    void present_prompt_plays();
    void missing_prompt_beeps();
    void unknown_kind_stays_silent();
    void switched_off_prompts_stay_silent();
    void program_folder_is_searched();
    void speech_by_engine_state_data();
    void speech_by_engine_state();
    void switched_off_speech_says_nothing();
    void system_output_without_engine_never_speaks();
    void program_speech_engine_never_blocks();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_prompts;
};

void tst_voice_prompts::initTestCase()
{
    QVERIFY(m_home.isValid() && m_prompts.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    QFile prompt(m_prompts.path() + QStringLiteral("/place color sensor on flashing display.wav"));
    QVERIFY(prompt.open(QIODevice::WriteOnly));
}

void tst_voice_prompts::init()
{
    QDir(m_home.path() + QStringLiteral("/Documents")).removeRecursively();
}

void tst_voice_prompts::prompt_files_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::newRow("error") << 0 << QStringLiteral("/an error has occurred.wav");
    QTest::newRow("place sensor") << 1 << QStringLiteral("/place color sensor on flashing display.wav");
    QTest::newRow("remove sensor") << 2 << QStringLiteral("/remove the color sensor from the display.wav");
    QTest::newRow("3") << 3 << QString();
    QTest::newRow("-1") << -1 << QString();
}

void tst_voice_prompts::prompt_files()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QCOMPARE(voice_prompt_file_name(kind), file);
}

void tst_voice_prompts::present_prompt_plays()
{
    recording_voice_output voice;
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), kVoicePromptPlaceSensor), 0);
    QCOMPARE(voice.events, QStringList{QStringLiteral("play ") + m_prompts.path()
                                       + QStringLiteral("/place color sensor on flashing display.wav")});
}

void tst_voice_prompts::missing_prompt_beeps()
{
    recording_voice_output voice;
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), kVoicePromptRemoveSensor), -1);
    QCOMPARE(voice.events, QStringList{QStringLiteral("beep")});
}

void tst_voice_prompts::unknown_kind_stays_silent()
{
    recording_voice_output voice;
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), 3), -2);
    QCOMPARE(play_voice_prompt(3), -2);
    QVERIFY(voice.events.isEmpty());
}

void tst_voice_prompts::switched_off_prompts_stay_silent()
{
    recording_voice_output voice;
    CPreferences preferences;
    preferences.SetPlayVoicePromptAudio(false);
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), kVoicePromptPlaceSensor), 0);
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), kVoicePromptRemoveSensor), 0);
    QCOMPARE(play_voice_prompt(7), 0);
    QVERIFY(voice.events.isEmpty());
    preferences.SetPlayVoicePromptAudio(true);
    QCOMPARE(play_voice_prompt_from(m_prompts.path(), kVoicePromptPlaceSensor), 0);
    QCOMPARE(voice.events.size(), 1);
}

void tst_voice_prompts::program_folder_is_searched()
{
    // Nothing lies beside the test program, so the prompt ends in a beep.
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + voice_prompt_file_name(0)));
    recording_voice_output voice;
    QCOMPARE(play_voice_prompt(kVoicePromptError), -1);
    QCOMPARE(voice.events, QStringList{QStringLiteral("beep")});
}

void tst_voice_prompts::speech_by_engine_state_data()
{
    QTest::addColumn<voice_output::speech_state>("state");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("ready") << voice_output::speech_state::ready << 0 << QStringList{QStringLiteral("say Hello")};
    QTest::newRow("speaking") << voice_output::speech_state::speaking << 0
                              << QStringList{QStringLiteral("stop"), QStringLiteral("say Hello")};
    QTest::newRow("error") << voice_output::speech_state::error << -1 << QStringList();
    QTest::newRow("no engine") << voice_output::speech_state::no_engine << 0 << QStringList();
}

void tst_voice_prompts::speech_by_engine_state()
{
    QFETCH(voice_output::speech_state, state);
    QFETCH(int, result);
    QFETCH(QStringList, events);
    recording_voice_output voice(state);
    QCOMPARE(speak_text(QStringLiteral("Hello")), result);
    QCOMPARE(voice.events, events);
}

void tst_voice_prompts::switched_off_speech_says_nothing()
{
    recording_voice_output voice(voice_output::speech_state::error);
    CPreferences preferences;
    preferences.SetPlayVoicePromptAudio(false);
    QCOMPARE(speak_text(QStringLiteral("Hello")), 0);
    QVERIFY(voice.events.isEmpty());
}

void tst_voice_prompts::system_output_without_engine_never_speaks()
{
    system_voice_output output;
    QCOMPARE(output.speech(), voice_output::speech_state::no_engine);
    output.say(QStringLiteral("nothing"));
    output.stop_speaking();
    // Without a registered output the services use the silent system one.
    QCOMPARE(speak_text(QStringLiteral("Hello")), 0);
}

void tst_voice_prompts::program_speech_engine_never_blocks()
{
    QObject owner;
    QTextToSpeech *engine = create_text_to_speech_engine(&owner);
    QVERIFY(engine);
    QCOMPARE(engine->parent(), &owner);
    system_voice_output output(engine);
    shell_registry::register_voice_output(&output);
    QElapsedTimer clock;
    clock.start();
    const int result = speak_text(QStringLiteral("Testing"));
    const int again = speak_text(QStringLiteral("Testing again"));
    shell_registry::register_voice_output(nullptr);
    // Without a sound device the engine fails at once or plays nowhere; it
    // must not wait for a speech service either way.
    QVERIFY(clock.elapsed() < 5000);
    const int expected = engine->state() == QTextToSpeech::BackendError ? -1 : 0;
    QCOMPARE(result, expected);
    QCOMPARE(again, expected);
}

QTEST_GUILESS_MAIN(tst_voice_prompts)
#include "tst_voice_prompts.moc"
