#include "app/start.h"

#include "app/controller/MasterControl.h"
#include "app/controller/speech_setup.h"
#include "app/controller/startup_views.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "app/services/ui/message_boxes.h"
#include "app/services/ui/system_voice_output.h"
#include "app/splash_screen_view.h"
#include "app/window/Tessaline.h"
#include "app/window/information_dialog_host.h"
#include "jobs/QueryThreadPool.h"

#include <QCoreApplication>
#include <QTextToSpeech>

namespace {

const char kModelsTable[] = ":/files/Resources/models.txt";

class text_to_speech_access : public speech_engine_access
{
public:
    explicit text_to_speech_access(QTextToSpeech &engine) : m_engine(engine) {}

    bool backend_error() const override { return m_engine.state() == QTextToSpeech::BackendError; }
    QVector<QLocale> locales() const override { return m_engine.availableLocales(); }
    void set_locale(const QLocale &locale) override { m_engine.setLocale(locale); }
    int voice_count() const override { return m_engine.availableVoices().size(); }
    void set_voice(int index) override { m_engine.setVoice(m_engine.availableVoices().at(index)); }

private:
    QTextToSpeech &m_engine;
};

// The machine's sound and speech through the engine, for the shell services.
class system_speech_output : public speech_output_registration
{
public:
    explicit system_speech_output(QTextToSpeech *engine) : m_output(engine)
    {
        shell_registry::register_voice_output(&m_output);
    }
    ~system_speech_output() override { shell_registry::register_voice_output(nullptr); }

private:
    system_voice_output m_output;
};

// Says once, at the start after it happened, that the preferences file could
// not be read and where it is kept.
void report_unreadable_preferences(const CPreferences &preferences)
{
    if (!preferences.HasUnreadableFile())
        return;
    const QString text =
        QCoreApplication::translate("start", "The preferences file could not be read, so the default preferences "
                                             "are used. The file is kept as \"%1\".")
            .arg(CPreferences::UnreadableFilePath(preferences.GetLoadResult()));
    show_notice_box(nullptr, text, nullptr, QMessageBox::Warning, true, false);
}

void start_speech(MasterControl &controller)
{
    QTextToSpeech *engine = create_text_to_speech_engine(nullptr);
    text_to_speech_access access(*engine);
    const speech_setup_result speech = set_up_speech(access, *controller.getPreferences());
    controller.setSpeechAvailability(speech.available, speech.english_locale);
    controller.setTextToSpeech(engine, std::make_unique<system_speech_output>(engine));
}

} // namespace

void start(MasterControl &controller)
{
    report_unreadable_preferences(*controller.getPreferences());
    controller.setQueryThreadPool(new QueryThreadPool());
    controller.setSplash(std::make_unique<splash_screen_view>());
    controller.loadModelList(QString::fromLatin1(kModelsTable));
    auto window = std::make_unique<Tessaline>();
    create_information_dialog(*window);
    controller.setMainWindow(std::move(window));
    controller.startSensorDetection();
    controller.armSplashTimer();
    start_speech(controller);
}
