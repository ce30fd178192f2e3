#include "app/controller/MasterControl.h"

#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/controller/splash_message.h"
#include "app/controller/startup_views.h"
#include "app/services/model_table.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "app/services/string_resource.h"
#include "app/services/version_text.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "sensors/CTargetSensor.h"
#include "sensors/SensorDetectThread.h"

#include <QMutexLocker>
#include <QTimer>

namespace {

// The string of the splash logo's resource path.
constexpr int kSplashLogoStringId = 14;

} // namespace

MasterControl::MasterControl(QObject *parent)
    : QObject(parent), m_preferences(std::make_unique<CPreferences>()),
      m_monitorTracker(std::make_unique<CMonitorTracker>())
{
    g_information_dialog = nullptr;
    shell_registry::register_model_list(&m_modelList);

    m_targetSensor = new CTargetSensor();
    g_target_sensor = m_targetSensor;
    m_monitor = new basic_monitor(this);
    g_monitor = m_monitor;
    m_layoutManager = new layout_manager(m_monitorTracker.get(), m_preferences.get(), this);

    // The detection reports from its own thread, so these arrive queued.
    connect(m_targetSensor, &CTargetSensor::detectedSensor, this, &MasterControl::detectedSensorIn);
    connect(m_targetSensor, &CTargetSensor::sensorDetectionComplete, this,
            &MasterControl::sensorDetectionCompleteIn);
}

MasterControl::~MasterControl()
{
    // A detection still running uses the sensor factory: it ends first.
    m_detectThread.reset();
    g_target_sensor = nullptr;
    delete m_targetSensor;
    m_targetSensor = nullptr;
    g_monitor = nullptr;
    delete m_monitor;
    m_monitor = nullptr;
    m_splash.reset();
    g_information_dialog = nullptr; // goes with the main window
    m_mainWindow.reset();
    destroyTextToSpeech();
    destroyQueryThreadPool();
    shell_registry::register_model_list(nullptr);
    m_modelList.clear();
    m_monitorTracker.reset();
    // Writes the preferences file: the only time it is written.
    m_preferences.reset();
    if (g_master == this)
        g_master = nullptr;
}

CTargetValue MasterControl::getTarget() const
{
    QMutexLocker lock(&m_targetMutex);
    return m_target;
}

void MasterControl::setTarget(CTargetValue target)
{
    {
        QMutexLocker lock(&m_targetMutex);
        m_target = target;
    }
    emit targetChanged();
}

int MasterControl::nextOperationId()
{
    return ++m_operationCounter;
}

QString MasterControl::getProjectFilePath() const
{
    return m_mainWindow ? m_mainWindow->project_file_path() : QString();
}

int MasterControl::loadModelList(const QString &path)
{
    return read_model_list(path, m_modelList);
}

void MasterControl::startSensorDetection()
{
    if (!m_detectThread)
        m_detectThread = std::make_unique<SensorDetectThread>(m_targetSensor);
    m_detectThread->startDetection();
}

void MasterControl::armSplashTimer()
{
    QTimer::singleShot(wait_service::timer_interval_ms(kSplashMilliseconds), this, &MasterControl::splash_timer_timeout);
}

void MasterControl::setSplash(std::unique_ptr<splash_view> splash)
{
    m_splash = std::move(splash);
    updateSplashMessage();
}

void MasterControl::setMainWindow(std::unique_ptr<main_window_view> window)
{
    m_mainWindow = std::move(window);
}

void MasterControl::setSpeechAvailability(bool available, bool englishLocale)
{
    m_speechAvailable = available;
    m_englishSpeechLocale = englishLocale;
}

void MasterControl::adoptTextToSpeech(QTextToSpeech *engine, std::unique_ptr<QObject> engineObject,
                                      std::unique_ptr<speech_output_registration> output)
{
    destroyTextToSpeech();
    m_textToSpeech = engine;
    m_textToSpeechObject = std::move(engineObject);
    m_speechOutput = std::move(output);
}

void MasterControl::destroyTextToSpeech()
{
    m_speechOutput.reset();
    m_textToSpeech = nullptr;
    m_textToSpeechObject.reset();
}

void MasterControl::destroyQueryThreadPool()
{
    m_queryThreadPool = nullptr;
    m_queryThreadPoolObject.reset();
}

QString MasterControl::splashMessage() const
{
    return splash_message_html(string_resource(kSplashLogoStringId), version_text(), m_sensorName);
}

void MasterControl::updateSplashMessage()
{
    if (m_splash)
        m_splash->show_message(splashMessage());
}

void MasterControl::detectedSensorIn(QString message)
{
    m_sensorName = message;
    updateSplashMessage();
}

void MasterControl::sensorDetectionCompleteIn()
{
    m_detectionFinished = true;
    if (m_splashTimerFired)
        completeStartup();
}

void MasterControl::splash_timer_timeout()
{
    m_splashTimerFired = true;
    if (m_detectionFinished)
        completeStartup();
}

void MasterControl::completeStartup()
{
    m_splash.reset();
    if (m_startupCompleted)
        return;
    m_startupCompleted = true;
    emit startup_complete();
    if (m_mainWindow)
        m_mainWindow->show_main_window();
    emit start_check_calibration_sensor();
}
