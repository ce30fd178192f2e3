#pragma once

#include "calibration/calibration_preferences.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "colour/CXYZ2RGBTransform.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

#include <array>
#include <atomic>
#include <vector>

class basic_monitor;
class CSensor;
class control_list_inputs;
struct vcp_list_item;

// The calibration of one display: configures it, measures its patches,
// brings its white point, luminance and black to the target in closed loops
// over the colour sensor, builds its tone correction (a lookup table, or the
// tone curve of the display's internal engine) and fills its calibration
// record. Created, run once and destroyed on a display job's worker thread;
// it reports only through its signals. Only stop_job may be called from
// another thread. Every wait goes through the wait service.
class CCalibrationObject : public QObject
{
    Q_OBJECT

public:
    // One reading of the white-point loops, kept so that the best drive
    // values found can be written back at the end.
    struct cache_entry
    {
        std::array<int, 3> drive {};
        int brightness = 0;
        int contrast = 0;
        CCIEXYZ reading;
        float error = 0.0f;
    };

    // Counters of one adjusted value (a channel, the brightness, an engine
    // white coordinate).
    struct loop_state
    {
        int value = 0;
        int maximum = 0;
        double step = 0.0;
        int direction = 0;
        int changes = 0;
        int stable = 0;
        int clamps = 0;
    };

    explicit CCalibrationObject(const calibration_preferences &preferences = calibration_preferences::current());
    ~CCalibrationObject() override;

    // --- set-up -------------------------------------------------------------
    void SetAdjustValue(const CAdjustValue &record);
    void SetTargetValue(const CTargetValue &target);
    void SetSensor(CSensor *sensor);
    void SetMonitor(basic_monitor *monitor);
    void SetCalibrationSteps(int steps);
    void SetUseQuillonEngine(bool use);
    void SetBrightnessControlMode(int mode);

    // --- the run ------------------------------------------------------------
    int RunCalibration();
    CAdjustValue GetAdjustValue() const { return m_record; }
    quint8 GetResultFlag() const { return m_resultFlag; }

    // --- steps of the run ----------------------------------------------------
    int ConfigureDisplay();
    int MeasurePatches(QVector<CCIEXYZ> &series, bool withWhiteAndBlack, int red, int green, int blue, bool engine);
    int RestoreDisplay(bool engine);
    int WaitWithCountdown(int ms);

    // --- white point, intensity and black --------------------------------------
    int AdjustWhitePointAndIntensity();
    int AdjustWithQuillonEngine();
    int WhitePointStepLevels(double targetR, double targetG, double targetB, double ratioTolerance, double targetX,
                             double targetY, double targetLuminance);
    int WhitePointStepGains(double targetR, double targetG, double targetB, double ratioTolerance, double targetX,
                            double targetY, double targetLuminance);
    int IntensityStep(double target, double tolerance);
    int QuillonWhitePointStep(double targetX, double targetY);
    int QuillonIntensityStep(double target, double tolerance);
    int QuillonBlackLevelStep(int value, double targetBlack, int maximum);
    void ComputeStepSizes();
    int FindMeasurement(int red, int green, int blue) const;
    int FindBestMeasurement() const;
    int ApplyMeasurementGains(int index);
    int ApplyMeasurementLevels(int index);
    void EmitMeasuredWhite(const CCIEYxy &white);
    void ResetAdjustCounters();
    void ResetQuillonCounters();

    // --- tone curve ------------------------------------------------------------
    int ApplyGammaCorrection();
    int ApplyQuillonToneCurve();
    int MeasureGreySeries(QVector<CCIEXYZ> &series, int red, int green, int blue, bool engine);
    int MeasureCalibratedGreySeries(const QVector<int> &table);

    // --- state the tests look at ------------------------------------------------
    const std::vector<cache_entry> &cache() const { return m_cache; }
    void SetCacheReuse(bool on) { m_cacheReuse = on; }
    const loop_state &channel(int c) const { return m_channels[static_cast<size_t>(c)]; }
    loop_state &channel(int c) { return m_channels[static_cast<size_t>(c)]; }
    loop_state &intensity() { return m_intensity; }
    int limiting_channel() const { return m_limiting; }
    int brightness() const { return m_intensity.value; }
    bool SetTransform(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue);

public slots:
    void stop_job();

signals:
    void calibration_task_progress(QString text);
    void calibration_sub_task_progress(int step, int total_steps, QString text);
    void StartingDefinedTask(int task);
    void StartingDefinedSubTask(int task);
    void SetInstructionMessageString(QString text);
    void SetWhitePointMeasuredValue(double x, double y, double Y);
    void SetWhitePointTargetxy(double x, double y);
    void SetWhiteLevelTarget(double value);
    void ShowWhiteLevelTarget(bool show);
    void SetAdjustingWhitePoint(bool bAdjusting);
    void play_audio_message(int message, QString message_string);
    void SetWhiteLevelTargetMinMax(double min, double max);
    void SetBlackLevelTargetMinMax(double min, double max);
    void SetBlackLevelMeasuredValue(double value);
    void sleepTime(int time_ms);
    void misc_status(int status);

private:
    bool stopped() const { return m_stop.load(); }
    bool gain_mode() const;
    bool luminance_targeted() const;
    // One reading of the sensor: 0 or its code.
    int Measure(CCIEXYZ &reading);
    // A white reading, shown to the meters.
    int MeasureWhite(CCIEXYZ &reading);
    // Waits |ms| in one piece, cut short by a stop.
    void Sleep(int ms);
    int SettleTime(double luminance) const;

    void ResetCalibrationBlock();
    int MeasureNativePatches();
    void StoreNativePatches(const QVector<CCIEXYZ> &patches);
    void StoreAdjustment();
    void StoreEngineAdjustment();
    int Finish();
    int FailWith(int code);

    control_list_inputs ListInputs() const;
    int ConfigureWithoutEngine();
    int ConfigureEngine();

    // The white-point iteration of both forms.
    int WhitePointStep(bool gains, const RGBTriple &target, double ratioTolerance, double targetX, double targetY,
                       double targetLuminance);
    bool WhiteInTolerance(const CCIEXYZ &reading, double targetX, double targetY, double targetLuminance) const;
    void AddToCache(const CCIEXYZ &reading, float error);
    int WriteDrive(bool gains, int channel, int value);
    int ApplyMeasurement(int index, bool gains);
    int RunWhitePointLoop(double luminance, double luminanceTest);
    int RunIntensityLoop(double target, double tolerance);
    int AdjustIntensity(double fullLuminance, double &target);
    int MatchIntensityAgain(double target);
    int RunEngineWhitePointLoop();
    int AdjustEngineIntensity(int intensityMode);
    int AdjustEngineBlack(int intensityMode);
    int WriteEngineControls(QList<vcp_list_item> &list);

    calibration_preferences m_preferences;
    CTargetValue m_target;
    CAdjustValue m_record;
    CSensor *m_sensor = nullptr;
    basic_monitor *m_monitor = nullptr;
    int m_greySteps = 32;
    std::atomic<bool> m_stop {false};
    QElapsedTimer m_started;
    quint8 m_engine = 0;
    quint8 m_resultFlag = 0;
    int m_stabilisationFactor = 1;

    // Drive values the configuration reads and the loops change.
    std::array<int, 3> m_levelMax {};
    std::array<int, 3> m_gainMax {};
    int m_contrast = 0;
    int m_contrastMax = 0;
    int m_engineLowerLimit = 0;
    int m_uniformityLevel = 0;

    // Loop state.
    std::array<loop_state, 3> m_channels {};
    loop_state m_intensity;
    std::array<loop_state, 2> m_engineWhite {};   // x, y in thousandths
    std::array<int, 2> m_engineLastSign {};
    std::array<int, 4> m_engineWhiteClamps {};    // x high, x low, y high, y low
    int m_limiting = 0;
    int m_minimumStep = 1;
    int m_iterations = 0;
    int m_writeFailures = 0;
    std::vector<cache_entry> m_cache;
    bool m_cacheReuse = false;
    CXYZ2RGBTransform m_transform;
};
