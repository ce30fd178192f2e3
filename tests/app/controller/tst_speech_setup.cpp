#include "app/controller/speech_setup.h"
#include "app/services/preferences.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// An engine that offers the given locales, each with its number of voices,
// and records what start-up gives it.
class fake_engine : public speech_engine_access
{
public:
    bool error = false;
    QVector<QLocale> offered;
    QMap<QString, int> voices; // by locale name
    QStringList calls;

    bool backend_error() const override { return error; }
    QVector<QLocale> locales() const override { return offered; }
    void set_locale(const QLocale &locale) override
    {
        calls << QStringLiteral("locale ") + locale.name();
        m_locale = locale;
    }
    int voice_count() const override { return voices.value(m_locale.name()); }
    void set_voice(int index) override { calls << QStringLiteral("voice %1").arg(index); }

private:
    QLocale m_locale;
};

QVector<QLocale> locales_of(const QStringList &names)
{
    QVector<QLocale> list;
    for (const QString &name : names)
        list << QLocale(name);
    return list;
}

} // namespace

class tst_speech_setup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    }

    void set_up_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("preferred");    // the stored locale
        QTest::addColumn<bool>("choiceMade");      // a choice stored by an earlier start
        QTest::addColumn<bool>("useSpeech");       // the stored switch
        QTest::addColumn<int>("voice");            // the stored voice index
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("useSpeechAfter");
        QTest::addColumn<bool>("choiceMadeAfter");
        QTest::addColumn<QString>("preferredAfter");
        QTest::addColumn<QStringList>("calls");

        const QStringList none;
        QTest::newRow("engine error") << true << QStringList{"en_US"} << "en_US" << false << true << 0
                                      << false << false << false << false << "en_US" << none;
        QTest::newRow("engine error after a choice") << true << QStringList{"en_US"} << "en_US" << true << true << 0
                                                     << false << false << false << true << "en_US" << none;
        QTest::newRow("first start with English") << false << QStringList{"de_DE", "en_GB"} << "en_US" << false
                                                  << false << 0 << true << true << true << true << "en_US"
                                                  << QStringList{"locale en_US"};
        QTest::newRow("first start without English") << false << QStringList{"de_DE", "fr_FR"} << "de_DE" << false
                                                     << true << 0 << true << false << false << true << "de_DE"
                                                     << QStringList{"locale de_DE", "voice 0"};
        QTest::newRow("a later start keeps the user's switch") << false << QStringList{"de_DE"} << "de_DE" << true
                                                               << true << 0 << true << false << true << true
                                                               << "de_DE" << QStringList{"locale de_DE", "voice 0"};
        QTest::newRow("a later start keeps speech off") << false << QStringList{"en_US"} << "en_US" << true << false
                                                        << 0 << true << true << false << true << "en_US"
                                                        << QStringList{"locale en_US", "voice 0"};
        QTest::newRow("preferred language missing: first English") << false << QStringList{"fr_FR", "en_GB", "en_US"}
                                                                    << "de_DE" << true << true << 1 << true << true
                                                                    << true << true << "en_GB"
                                                                    << QStringList{"locale en_GB", "voice 1"};
        QTest::newRow("preferred language missing, no English") << false << QStringList{"fr_FR"} << "de_DE" << true
                                                                << true << 0 << true << false << true << true
                                                                << "de_DE" << QStringList{"locale de_DE"};
        QTest::newRow("same language, other country") << false << QStringList{"de_AT"} << "de_DE" << true << true
                                                       << 0 << true << false << true << true << "de_DE"
                                                       << QStringList{"locale de_DE"};
        QTest::newRow("no locales") << false << QStringList() << "en_US" << false << true << 0 << true << false
                                    << false << true << "en_US" << QStringList{"locale en_US"};
        QTest::newRow("voice beyond the list") << false << QStringList{"en_US"} << "en_US" << true << true << 2
                                               << true << true << true << true << "en_US"
                                               << QStringList{"locale en_US"};
    }

    void set_up()
    {
        QFETCH(bool, error);
        QFETCH(QStringList, offered);
        QFETCH(QString, preferred);
        QFETCH(bool, choiceMade);
        QFETCH(bool, useSpeech);
        QFETCH(int, voice);
        QFETCH(bool, available);
        QFETCH(bool, english);
        QFETCH(bool, useSpeechAfter);
        QFETCH(bool, choiceMadeAfter);
        QFETCH(QString, preferredAfter);
        QFETCH(QStringList, calls);

        fake_engine engine;
        engine.error = error;
        engine.offered = locales_of(offered);
        // Two voices for each offered English or German locale, one for the others.
        for (const QString &name : offered)
            engine.voices[name] = name.startsWith(QLatin1String("en")) || name.startsWith(QLatin1String("de")) ? 2 : 1;

        CPreferences preferences;
        preferences.SetTextToSpeechLocale(QLocale(preferred));
        preferences.SetSpeechEngineChoiceMade(choiceMade);
        preferences.SetUseTextToSpeechEngine(useSpeech);
        preferences.SetTextToSpeechVoice(quint8(voice));

        const speech_setup_result result = set_up_speech(engine, preferences);
        QCOMPARE(result.available, available);
        QCOMPARE(result.english_locale, english);
        QCOMPARE(preferences.GetUseTextToSpeechEngine(), useSpeechAfter);
        QCOMPARE(preferences.GetSpeechEngineChoiceMade(), choiceMadeAfter);
        QCOMPARE(preferences.GetTextToSpeechLocale().name(), preferredAfter);
        QCOMPARE(engine.calls, calls);
    }
};

QTEST_GUILESS_MAIN(tst_speech_setup)
#include "tst_speech_setup.moc"
