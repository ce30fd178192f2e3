#pragma once

#include "colour/CTargetValue.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <type_traits>

class CMonitorTracker;
class CPreferences;
class CTargetSensor;
class QTextToSpeech;
class QueryThreadPool;
class SensorDetectThread;
class basic_monitor;
class layout_manager;
class main_window_view;
class speech_output_registration;
class splash_view;

// The application controller: owns the program's shared state for the whole
// run and hands it out through its accessors. Widget-free: the splash, the
// main window, the speech engine and the job pool are built above this
// library and handed over; the controller destroys each at its place in the
// shutdown order. Start-up completes once both the sensor detection has
// ended and the splash timer has fired, whichever comes second.
class MasterControl : public QObject
{
    Q_OBJECT

public:
    // The splash stays at least this long (nominal; through the wait service).
    static constexpr int kSplashMilliseconds = 4000;

    explicit MasterControl(QObject *parent = nullptr);
    // Shutdown: detection first, the preferences file last.
    ~MasterControl() override;

    layout_manager *getLayoutManager() const { return m_layoutManager; }
    basic_monitor *getMonitor() const { return m_monitor; }
    CMonitorTracker *getMonitorTracker() const { return m_monitorTracker.get(); }
    CPreferences *getPreferences() const { return m_preferences.get(); }
    // Null until start-up hands the engine over.
    QTextToSpeech *getTextToSpeech() const { return m_textToSpeech; }
    // Null until the application hands its pool over.
    QueryThreadPool *getQueryThreadPool() const { return m_queryThreadPool; }
    CTargetSensor *getTargetSensor() const { return m_targetSensor; }

    // Job threads copy the target while the user interface replaces it.
    CTargetValue getTarget() const;
    void setTarget(CTargetValue target);

    // 1 on the first call, then strictly increasing.
    int nextOperationId();
    QStringList getModelList() const { return m_modelList; }
    // Empty while no main window exists.
    QString getProjectFilePath() const;
    bool hasEnglishSpeechLocale() const { return m_englishSpeechLocale; }
    bool isTextToSpeechAvailable() const { return m_speechAvailable; }

    // Start-up steps, run by start (or by a headless test as it needs them).

    // Reads the display models of the models table at |path|; 0 or -1.
    int loadModelList(const QString &path);
    // Starts one sensor detection on the detection thread.
    void startSensorDetection();
    // Arms the single-shot splash timer.
    void armSplashTimer();
    void setSplash(std::unique_ptr<splash_view> splash);
    void setMainWindow(std::unique_ptr<main_window_view> window);
    void setSpeechAvailability(bool available, bool englishLocale);

    // The speech engine and the output that speaks through it; the output
    // goes first. The engine type is complete only where the speech module
    // is linked, hence the template.
    template <class Engine>
    void setTextToSpeech(Engine *engine, std::unique_ptr<speech_output_registration> output)
    {
        static_assert(std::is_base_of<QObject, Engine>::value, "the speech engine is a QObject");
        adoptTextToSpeech(engine, std::unique_ptr<QObject>(engine), std::move(output));
    }
    // The job pool, built by the jobs library above this one.
    template <class Pool> void setQueryThreadPool(Pool *pool)
    {
        static_assert(std::is_base_of<QObject, Pool>::value, "the job pool is a QObject");
        destroyQueryThreadPool();
        m_queryThreadPool = pool;
        m_queryThreadPoolObject.reset(pool);
    }

    // The splash message: the logo, the version and the detection state.
    QString splashMessage() const;
    bool isStartupCompleted() const { return m_startupCompleted; }
    // The last name the detection reported; "-" when no sensor was found.
    QString sensorName() const { return m_sensorName; }

signals:
    void startup_complete();
    void start_check_calibration_sensor();
    void targetChanged();

public slots:
    void detectedSensorIn(QString message);
    void sensorDetectionCompleteIn();
    void splash_timer_timeout();

private:
    void updateSplashMessage();
    void completeStartup();
    void adoptTextToSpeech(QTextToSpeech *engine, std::unique_ptr<QObject> engineObject,
                           std::unique_ptr<speech_output_registration> output);
    void destroyTextToSpeech();
    void destroyQueryThreadPool();

    bool m_detectionFinished = false;
    std::unique_ptr<main_window_view> m_mainWindow;
    std::unique_ptr<splash_view> m_splash;
    std::unique_ptr<SensorDetectThread> m_detectThread;
    QString m_sensorName;
    std::unique_ptr<CPreferences> m_preferences;
    std::unique_ptr<CMonitorTracker> m_monitorTracker;
    bool m_startupCompleted = false;
    layout_manager *m_layoutManager = nullptr;
    mutable QMutex m_targetMutex;
    CTargetValue m_target;
    QStringList m_modelList;
    QueryThreadPool *m_queryThreadPool = nullptr;
    std::unique_ptr<QObject> m_queryThreadPoolObject;
    std::atomic<int> m_operationCounter{0};
    bool m_splashTimerFired = false;
    QTextToSpeech *m_textToSpeech = nullptr;
    std::unique_ptr<QObject> m_textToSpeechObject;
    std::unique_ptr<speech_output_registration> m_speechOutput;
    bool m_speechAvailable = false;
    bool m_englishSpeechLocale = false;
    CTargetSensor *m_targetSensor = nullptr;
    basic_monitor *m_monitor = nullptr;
};
