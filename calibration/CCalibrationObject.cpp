#include "calibration/CCalibrationObject.h"

#include "calibration/calibration_constants.h"
#include "calibration/calibration_result_codes.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "jobs/defined_task.h"
#include "sensors/CSensor.h"

#include <QDateTime>
#include <QThread>

namespace {

using namespace calibration_constants;
using namespace calibration_result;

constexpr int kGeneratorOff = 1;
constexpr int kGeneratorOn = 2;
constexpr int kSliceMs = 10;

} // namespace

CCalibrationObject::CCalibrationObject(const calibration_preferences &preferences)
    : m_preferences(preferences),
      m_stabilisationFactor(preferences.extended_stabilisation ? kExtendedStabilisationFactor : 1)
{
    SetCalibrationSteps(preferences.grey_steps);
}

CCalibrationObject::~CCalibrationObject() = default;

// --- set-up ------------------------------------------------------------------

void CCalibrationObject::SetAdjustValue(const CAdjustValue &record)
{
    m_record = record;
}

void CCalibrationObject::SetTargetValue(const CTargetValue &target)
{
    m_target = target;
}

void CCalibrationObject::SetSensor(CSensor *sensor)
{
    m_sensor = sensor;
}

void CCalibrationObject::SetMonitor(basic_monitor *monitor)
{
    m_monitor = monitor;
}

void CCalibrationObject::SetCalibrationSteps(int steps)
{
    // The preferences byte allows 0 and 1, which give no grey series.
    m_greySteps = steps < 2 ? kDefaultGreySteps : steps;
}

void CCalibrationObject::SetUseQuillonEngine(bool use)
{
    m_engine = use ? 1 : 0;
}

void CCalibrationObject::SetBrightnessControlMode(int mode)
{
    m_preferences.display.brightness_control_mode = mode;
}

void CCalibrationObject::stop_job()
{
    m_stop.store(true);
}

// --- the run -------------------------------------------------------------------

int CCalibrationObject::RunCalibration()
{
    if (!m_sensor || !m_monitor)
        return kInvalidTarget;
    ResetCalibrationBlock();
    m_started.start();

    CCIEXYZ probe;
    if (const int status = Measure(probe)) {
        m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, false);
        return status;
    }

    const int configured = ConfigureDisplay();
    if (configured == kStopped)
        return FailWith(configured);
    if (configured != 0) {
        // The placement check left the plain generator on.
        m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, false);
        if (m_engine)
            m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, true);
        return configured;
    }

    if (!m_engine) {
        emit calibration_task_progress(tr("Measuring display"));
        if (const int status = MeasureNativePatches())
            return FailWith(status);
        if (gain_mode()) {
            if (const int status = m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, false))
                return FailWith(status);
        } else {
            m_monitor->set_rgb_levels(m_levelMax[0], m_levelMax[1], m_levelMax[2], false);
        }
        if (const int status = AdjustWhitePointAndIntensity())
            return FailWith(status);
        StoreAdjustment();
    } else {
        m_record.black_level_value = 0;
        if (const int status = AdjustWithQuillonEngine())
            return FailWith(status);
        StoreEngineAdjustment();
    }

    int tone = 0;
    if (m_engine) {
        emit calibration_task_progress(tr("Updating LUTs"));
        tone = ApplyQuillonToneCurve();
    } else if (!gain_mode()) {
        emit calibration_task_progress(tr("Gamma Correction"));
        tone = ApplyGammaCorrection();
    }
    if (tone != 0)
        return FailWith(tone);
    return Finish();
}

void CCalibrationObject::ResetCalibrationBlock()
{
    m_record.SetCalibrationDateTime(QDateTime());
    m_record.SetCalibrationOperatingHours(0.0);
    m_record.SetSensorSerialNumber(m_sensor->GetSerialNumber());
    m_record.SetSensorName(m_sensor->GetName());
    m_record.SetCalibrated(false);
    m_record.engine_calibrated_word = 0;
    m_record.software_build = 0;
    m_record.video_input = 0;
    m_record.uniformity_level = 0;
    m_record.engine_no_sensor_flag = 0;
    m_record.calibration_duration = 0;
    m_record.visual_trim_flags = static_cast<qint16>(m_record.visual_trim_flags & kKeptStatusBits);
    CColorValue &colour = m_record.measurements;
    colour.uncorrected_greyscale.clear();
    colour.native.white = CCIEXYZ();
    colour.native.black = CCIEXYZ();
    colour.adjusted_white = CCIEXYZ();
    m_record.gain = {{1.0, 1.0, 1.0}};
}

int CCalibrationObject::MeasureNativePatches()
{
    if (const int status = m_monitor->set_vcp_2c8_or_2c3(kGeneratorOn, false))
        return status;
    std::array<int, 3> level {};
    if (const int status = m_monitor->get_rgb_levels(level[0], level[1], level[2], m_levelMax[0], m_levelMax[1],
                                                     m_levelMax[2], false))
        return status;
    QVector<CCIEXYZ> patches;
    if (const int status = MeasurePatches(patches, true, m_levelMax[0], m_levelMax[1], m_levelMax[2], false))
        return status;
    StoreNativePatches(patches);
    return 0;
}

void CCalibrationObject::StoreNativePatches(const QVector<CCIEXYZ> &patches)
{
    if (patches.size() != 5)
        return;
    CColorValue::Patches measured;
    measured.white = patches.at(0);
    measured.red = patches.at(1);
    measured.green = patches.at(2);
    measured.blue = patches.at(3);
    measured.black = patches.at(4);
    // The transform of a first calibration needs primaries measured with the
    // display as configured: keep them as the uncorrected ones too.
    m_record.measurements.native = measured;
    m_record.measurements.uncorrected = measured;
    const double white = measured.white.Y;
    emit SetBlackLevelMeasuredValue(measured.black.Y);
    emit SetWhiteLevelTargetMinMax(0.0, kWhiteMeterSpan * white);
    emit SetBlackLevelTargetMinMax(0.0, white / kBlackMeterDivisor);
    if (luminance_targeted()) {
        emit SetWhiteLevelTarget(m_target.GetIntensity());
        emit ShowWhiteLevelTarget(true);
    }
    EmitMeasuredWhite(measured.white.ToYxy());
}

void CCalibrationObject::StoreAdjustment()
{
    m_record.backlight_setting = static_cast<quint16>(m_intensity.value);
    m_record.backlight_maximum = static_cast<quint16>(m_intensity.maximum);
    m_record.contrast = static_cast<quint16>(m_contrast);
    for (size_t c = 0; c < 3; ++c) {
        const int maximum = gain_mode() ? m_gainMax[c] : m_levelMax[c];
        // Kept as a fraction of the maximum; a maximum of 0 leaves the channel full.
        m_record.gain[c] = maximum > 0 ? static_cast<double>(m_channels[c].value) / maximum : 1.0;
    }
    m_record.visual_trim_flags = 0;
    m_record.backlight_minimum = 0;
    m_record.visual_trim_multiplier = {{1.0, 1.0, 1.0}};
    m_record.backlight_visual_trim = 0;
}

void CCalibrationObject::StoreEngineAdjustment()
{
    m_record.visual_trim_flags = static_cast<qint16>(m_record.visual_trim_flags & kKeptStatusBits);
    m_record.backlight_setting = static_cast<quint16>(m_intensity.value);
    m_record.backlight_maximum = static_cast<quint16>(m_intensity.maximum);
    m_record.engine_white_x = static_cast<quint16>(m_engineWhite[0].value);
    m_record.engine_white_y = static_cast<quint16>(m_engineWhite[1].value);
    m_record.backlight_minimum = static_cast<qint16>(m_engineLowerLimit);
    m_record.uniformity_level = static_cast<qint16>(m_uniformityLevel);
    m_record.visual_trim_multiplier = {{1.0, 1.0, 1.0}};
    m_record.backlight_visual_trim = 0;
}

int CCalibrationObject::Finish()
{
    emit misc_status(1);
    m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, m_engine != 0);
    if (m_engine)
        m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, false);
    if (const int status = m_monitor->save_current_settings())
        return status;
    double hours = 0.0;
    if (m_monitor->get_usage_hours_a(hours) == 0)
        m_record.SetCalibrationOperatingHours(hours);
    m_record.SetCalibrationMode(static_cast<qint16>(m_preferences.display.calibration_method));
    m_record.SetCalibrated(true);
    // The white the adjustment ended on is the display's white after
    // calibration: the tiles, the report and the ICC profile show it.
    m_record.measurements.corrected.white = m_record.measurements.adjusted_white;
    m_record.SetCalibrationDateTime(QDateTime::currentDateTime());
    // An elapsed timer: the time of day wraps at midnight.
    m_record.calibration_duration = static_cast<quint16>(qMin<qint64>(m_started.elapsed() / 1000, 0xFFFF));
    m_record.engine_calibrated_word = m_engine;
    m_record.SetCalibrationSoftwareBuild(kSoftwareBuild);
    uint input = 0;
    if (m_monitor->get_input_source(input) == 0)
        m_record.SetVideoInput(static_cast<qint16>(input));
    m_record.leading_flag = 1;
    if (stopped())
        return FailWith(kStopped);
    return 0;
}

int CCalibrationObject::FailWith(int code)
{
    m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, false);
    if (m_engine)
        m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, true);
    RestoreDisplay(m_engine != 0);
    return code;
}

// --- patches ---------------------------------------------------------------------

int CCalibrationObject::MeasurePatches(QVector<CCIEXYZ> &series, bool withWhiteAndBlack, int red, int green,
                                       int blue, bool engine)
{
    struct patch
    {
        const char *name;
        int task;
        int kind;
        std::array<int, 3> levels;
        bool white_or_black;
    };
    const patch patches[] = {
        {QT_TR_NOOP("White"), kDefinedTaskWhite, kPatchBright, {red, green, blue}, true},
        {QT_TR_NOOP("Red"), kDefinedTaskRed, kPatchRed, {red, 0, 0}, false},
        {QT_TR_NOOP("Green"), kDefinedTaskGreen, kPatchGreen, {0, green, 0}, false},
        {QT_TR_NOOP("Blue"), kDefinedTaskBlue, kPatchBlue, {0, 0, blue}, false},
        {QT_TR_NOOP("Black"), kDefinedTaskBlack, kPatchDark, {0, 0, 0}, true},
    };
    series.clear();
    const int total = withWhiteAndBlack ? 10 : 6;
    int step = 0;
    for (const patch &p : patches) {
        if (p.white_or_black && !withWhiteAndBlack)
            continue;
        emit calibration_sub_task_progress(step++, total, tr(p.name));
        emit StartingDefinedTask(p.task);
        if (const int status = m_monitor->set_rgb_levels(p.levels[0], p.levels[1], p.levels[2], engine))
            return status;
        emit calibration_sub_task_progress(step++, total, QString());
        Sleep(kPatchSettleMs);
        CCIEXYZ reading;
        int status = Measure(reading);
        if (status == 0 && m_sensor->CheckPatchColor(reading, p.kind) != 0)
            status = kPatchColourRejected;
        if (status == 0)
            series.append(reading);
        if (status == 0 && stopped())
            status = kStopped;
        if (status != 0) {
            m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, engine);
            return status;
        }
    }
    return 0;
}

// --- waits and readings -----------------------------------------------------------

int CCalibrationObject::WaitWithCountdown(int ms)
{
    for (int left = ms; left > 0; left -= kWaitStepMs) {
        emit sleepTime(left);
        Sleep(qMin(left, kWaitStepMs));
        if (stopped())
            return kStopped;
    }
    return 0;
}

void CCalibrationObject::Sleep(int ms)
{
    wait_service::count_wait(ms);
    const qint64 real_ms = wait_service::scaled_ms(ms);
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = real_ms; left > 0 && !stopped(); left = real_ms - clock.elapsed())
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, kSliceMs)));
}

int CCalibrationObject::SettleTime(double luminance) const
{
    return basic_monitor::settle_time_for_luminance(luminance) * m_stabilisationFactor;
}

int CCalibrationObject::Measure(CCIEXYZ &reading)
{
    if (const int status = m_sensor->MeasureXYZ(kReadingsPerMeasurement))
        return status;
    return m_sensor->GetXYZ(reading);
}

int CCalibrationObject::MeasureWhite(CCIEXYZ &reading)
{
    if (const int status = Measure(reading))
        return status;
    EmitMeasuredWhite(reading.ToYxy());
    return 0;
}

void CCalibrationObject::EmitMeasuredWhite(const CCIEYxy &white)
{
    emit SetWhitePointMeasuredValue(white.x, white.y, white.Y);
}

bool CCalibrationObject::gain_mode() const
{
    return m_preferences.display.calibration_method == CAdjustValue::kModeGains;
}

bool CCalibrationObject::luminance_targeted() const
{
    const int mode = m_target.GetIntensityMode();
    return mode == CTargetValue::kIntensityMaximumMatching || mode == CTargetValue::kIntensitySpecified;
}
