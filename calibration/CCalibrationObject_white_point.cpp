// The white-point and intensity loops without the display's engine.
#include "calibration/CCalibrationObject.h"

#include "calibration/calibration_constants.h"
#include "calibration/calibration_result_codes.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/defined_task.h"
#include "sensors/CSensor.h"

#include <cmath>

namespace {

using namespace calibration_constants;
using namespace calibration_result;

double channel_of(const RGBTriple &rgb, size_t c)
{
    return c == 0 ? rgb.R : c == 1 ? rgb.G : rgb.B;
}

} // namespace

void CCalibrationObject::ResetAdjustCounters()
{
    for (loop_state &channel : m_channels) {
        channel.direction = 0;
        channel.changes = 0;
        channel.stable = 0;
        channel.clamps = 0;
    }
    m_intensity.direction = 0;
    m_intensity.changes = 0;
    m_intensity.stable = 0;
    m_intensity.clamps = 0;
    m_limiting = 0;
    m_iterations = 0;
    m_writeFailures = 0;
}

void CCalibrationObject::ComputeStepSizes()
{
    for (loop_state &channel : m_channels)
        channel.step = channel.maximum * kStepShare;
    const int reference = gain_mode() ? m_channels[2].maximum : m_channels[0].maximum;
    m_minimumStep = qMax(1, reference / kMinimumStepDivisor);
}

bool CCalibrationObject::SetTransform(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue)
{
    return m_transform.SetPrimaries(red, green, blue) == 0;
}

int CCalibrationObject::FindMeasurement(int red, int green, int blue) const
{
    const std::array<int, 3> drive {red, green, blue};
    for (size_t i = 0; i < m_cache.size(); ++i) {
        if (m_cache[i].drive == drive)
            return static_cast<int>(i);
    }
    return -1;
}

int CCalibrationObject::FindBestMeasurement() const
{
    int best = -1;
    float smallest = kNoCachedError;
    for (size_t i = 0; i < m_cache.size(); ++i) {
        if (m_cache[i].error < smallest) {
            smallest = m_cache[i].error;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int CCalibrationObject::ApplyMeasurementGains(int index)
{
    return ApplyMeasurement(index, true);
}

int CCalibrationObject::ApplyMeasurementLevels(int index)
{
    return ApplyMeasurement(index, false);
}

int CCalibrationObject::ApplyMeasurement(int index, bool gains)
{
    if (index < 0 || index >= static_cast<int>(m_cache.size()))
        return kInvalidTarget;
    const cache_entry &entry = m_cache[static_cast<size_t>(index)];
    for (int c = 0; c < 3; ++c) {
        m_channels[static_cast<size_t>(c)].value = entry.drive[static_cast<size_t>(c)];
        if (const int status = WriteDrive(gains, c, entry.drive[static_cast<size_t>(c)]))
            return status;
    }
    m_record.measurements.adjusted_white = entry.reading;
    return 0;
}

int CCalibrationObject::WriteDrive(bool gains, int channel, int value)
{
    const bool engine = m_engine != 0;
    if (gains) {
        switch (channel) {
        case 0: return m_monitor->set_video_gain_red(value);
        case 1: return m_monitor->set_video_gain_green(value);
        default: return m_monitor->set_video_gain_blue(value);
        }
    }
    switch (channel) {
    case 0: return m_monitor->set_rgb_level_red(value, engine);
    case 1: return m_monitor->set_rgb_level_green(value, engine);
    default: return m_monitor->set_rgb_level_blue(value, engine);
    }
}

void CCalibrationObject::AddToCache(const CCIEXYZ &reading, float error)
{
    cache_entry entry;
    for (size_t c = 0; c < 3; ++c)
        entry.drive[c] = m_channels[c].value;
    entry.brightness = m_intensity.value;
    entry.contrast = m_contrast;
    entry.reading = reading;
    entry.error = error;
    m_cache.push_back(entry);
}

bool CCalibrationObject::WhiteInTolerance(const CCIEXYZ &reading, double targetX, double targetY,
                                          double targetLuminance) const
{
    const CCIEYxy white = reading.ToYxy();
    if (std::fabs(white.x - targetX) > kWhiteTolerance || std::fabs(white.y - targetY) > kWhiteTolerance)
        return false;
    return m_limiting != 0
           || (targetLuminance > 0.0 && std::fabs(white.Y - targetLuminance) <= kLuminanceTolerance);
}

int CCalibrationObject::WhitePointStepLevels(double targetR, double targetG, double targetB, double ratioTolerance,
                                             double targetX, double targetY, double targetLuminance)
{
    return WhitePointStep(false, RGBTriple {targetR, targetG, targetB}, ratioTolerance, targetX, targetY,
                          targetLuminance);
}

int CCalibrationObject::WhitePointStepGains(double targetR, double targetG, double targetB, double ratioTolerance,
                                            double targetX, double targetY, double targetLuminance)
{
    return WhitePointStep(true, RGBTriple {targetR, targetG, targetB}, ratioTolerance, targetX, targetY,
                          targetLuminance);
}

int CCalibrationObject::WhitePointStep(bool gains, const RGBTriple &target, double ratioTolerance, double targetX,
                                       double targetY, double targetLuminance)
{
    if (!(target.R > 0.0) || !(target.G > 0.0) || !(target.B > 0.0))
        return kInvalidTarget;

    CCIEXYZ reading;
    const int cached = FindMeasurement(m_channels[0].value, m_channels[1].value, m_channels[2].value);
    const bool measured = !(m_cacheReuse && cached >= 0);
    if (measured) {
        if (const int status = MeasureWhite(reading))
            return status;
    } else {
        reading = m_cache[static_cast<size_t>(cached)].reading;
    }
    ++m_iterations;

    const RGBTriple rgb = m_transform.XYZToRGB(reading);
    std::array<double, 3> ratio {};
    for (size_t c = 0; c < 3; ++c)
        ratio[c] = channel_of(rgb, c) / channel_of(target, c);

    // The limiting channel: at its maximum and furthest below the target.
    float smallest = 1.0f;
    m_limiting = 0;
    bool any_at_maximum = false;
    for (size_t c = 0; c < 3; ++c) {
        if (!std::isfinite(ratio[c]))
            return kInvalidTarget;
        if (m_channels[c].value != m_channels[c].maximum)
            continue;
        any_at_maximum = true;
        if (ratio[c] < 1.0 && static_cast<float>(ratio[c]) < smallest) {
            smallest = static_cast<float>(ratio[c]);
            m_limiting = static_cast<int>(c) + 1;
        }
    }
    if (any_at_maximum) {
        // A channel without light cannot be matched to.
        if (!(smallest > 0.0f))
            return kInvalidTarget;
        for (double &r : ratio)
            r /= smallest;
    }
    if (measured) {
        double error = 0.0;
        for (const double r : ratio)
            error += (1.0 - r) * (1.0 - r);
        AddToCache(reading, static_cast<float>(error));
    }

    if (WhiteInTolerance(reading, targetX, targetY, targetLuminance)) {
        if (gains)
            WaitWithCountdown(kWhiteRecheckMs);
        else
            Sleep(kWhiteRecheckMs);
        CCIEXYZ again;
        if (const int status = MeasureWhite(again))
            return status;
        if (WhiteInTolerance(again, targetX, targetY, targetLuminance)) {
            AddToCache(again, 0.0f);
            return kLoopDone;
        }
    }

    for (size_t c = 0; c < 3; ++c) {
        loop_state &channel = m_channels[c];
        const int before = channel.value;
        if (m_limiting == static_cast<int>(c) + 1 || channel.changes > kChannelChangeLimit[c]
            || std::fabs(ratio[c] - 1.0) <= ratioTolerance) {
            ++channel.stable;
            continue;
        }
        channel.stable = 0;
        if (ratio[c] > 1.0 + ratioTolerance) {
            if (channel.direction == 1) {
                ++channel.changes;
                channel.step *= kStepDecay;
            }
            channel.value -= m_minimumStep;
            channel.direction = -1;
            if (channel.changes < kProportionalChanges)
                channel.value -= static_cast<int>((ratio[c] - 1.0) * channel.step);
            if (channel.value < 1) {
                channel.value = 0;
                ++channel.clamps;
            }
        } else {
            if (channel.direction == -1) {
                ++channel.changes;
                channel.step *= kStepDecay;
            }
            channel.value += m_minimumStep;
            channel.direction = 1;
            if (channel.changes < kProportionalChanges)
                channel.value -= static_cast<int>((ratio[c] - 1.0) * channel.step);
            if (channel.value >= channel.maximum) {
                channel.value = channel.maximum;
                ++channel.clamps;
            }
        }
        if (channel.value != before && WriteDrive(gains, static_cast<int>(c), channel.value) != 0)
            ++m_writeFailures;
    }

    bool clamped = false;
    bool settled = true;
    for (const loop_state &channel : m_channels) {
        clamped = clamped || channel.clamps >= kClampLimit;
        settled = settled && channel.stable > kStableIterations;
    }
    if (m_iterations >= kIterationLimit || clamped)
        return kWhitePointFailed;
    if (m_writeFailures >= kWriteFailureLimit)
        return kDriveWritesFailed;
    return settled ? kLoopDone : kLoopGoOn;
}

int CCalibrationObject::RunWhitePointLoop(double luminance, double luminanceTest)
{
    const CIExy white = m_target.GetWhitePoint().GetCIExy();
    const RGBTriple target = m_transform.xyYToRGB(xyYTriple {white.x, white.y, luminance});
    m_cache.clear();
    ResetAdjustCounters();
    ComputeStepSizes();
    for (;;) {
        const int result = gain_mode() ? WhitePointStepGains(target.R, target.G, target.B, kRatioTolerance, white.x,
                                                             white.y, luminanceTest)
                                       : WhitePointStepLevels(target.R, target.G, target.B, kRatioTolerance, white.x,
                                                              white.y, luminanceTest);
        if (stopped())
            return kStopped;
        if (result < 0)
            return kWhitePointFailed;
        if (result == kLoopDone)
            return 0;
    }
}

int CCalibrationObject::AdjustWhitePointAndIntensity()
{
    emit calibration_task_progress(tr("Adjusting"));
    emit StartingDefinedTask(kDefinedTaskWhitePoint);
    emit calibration_sub_task_progress(0, 4, tr("White Point"));
    for (size_t c = 0; c < 3; ++c) {
        m_channels[c].maximum = gain_mode() ? m_gainMax[c] : m_levelMax[c];
        m_channels[c].value = m_channels[c].maximum;
    }
    ComputeStepSizes();
    const CColorValue::Patches &native = m_record.measurements.native;
    if (const int status = m_transform.SetPrimaries(native.red, native.green, native.blue))
        return status;

    // A native white has no chromaticity to aim at: the drive values stay at
    // their maxima and only intensity and tone are adjusted.
    const bool native_white = m_target.GetWhitePoint().IsNative();
    const int intensity_mode = m_target.GetIntensityMode();
    double first_luminance = kFirstPassLuminance;
    double first_test = kNoLuminanceTarget;
    if (!native_white) {
        const CIExy white = m_target.GetWhitePoint().GetCIExy();
        emit SetWhitePointTargetxy(white.x, white.y);
    }
    if (m_preferences.display.brightness_control_mode != 0 && intensity_mode != CTargetValue::kIntensityMaximumPossible) {
        first_luminance = first_test = m_target.GetIntensity();
        emit SetWhiteLevelTarget(first_luminance);
        emit ShowWhiteLevelTarget(true);
    }
    if (!native_white) {
        if (const int status = RunWhitePointLoop(first_luminance, first_test))
            return status;
    }

    if (const int best = FindBestMeasurement(); best >= 0) {
        if (const int status = ApplyMeasurement(best, gain_mode()))
            return status;
    }
    CCIEXYZ full;
    if (const int status = MeasureWhite(full))
        return status;
    if (m_sensor->CheckPatchColor(full, kPatchBright) != 0)
        return kPatchColourRejected;

    if (m_preferences.display.brightness_control_mode != 0) {
        if (const int status = m_monitor->get_brightness(m_intensity.value, m_intensity.maximum))
            return status;
    } else if (luminance_targeted()) {
        double target = 0.0;
        if (const int status = AdjustIntensity(full.Y, target))
            return status;
        if (!native_white) {
            m_cacheReuse = false;
            emit StartingDefinedTask(kDefinedTaskWhitePoint);
            emit calibration_sub_task_progress(2, 4, tr("White Point"));
            if (const int status = RunWhitePointLoop(target, target))
                return status;
        }
        if (const int status = MatchIntensityAgain(target))
            return status;
    }
    CCIEXYZ adjusted;
    if (const int status = Measure(adjusted))
        return status;
    m_record.measurements.adjusted_white = adjusted;
    return 0;
}

int CCalibrationObject::AdjustIntensity(double fullLuminance, double &target)
{
    if (const int status = m_monitor->get_brightness(m_intensity.value, m_intensity.maximum))
        return status;
    emit StartingDefinedTask(kDefinedTaskIntensity);
    emit calibration_sub_task_progress(1, 4, tr("Intensity"));
    target = m_target.GetIntensity();
    const float at_full = static_cast<float>(fullLuminance);
    if (target > at_full) {
        if (const int status = m_monitor->set_brightness(m_intensity.maximum))
            return status;
        m_intensity.value = m_intensity.maximum;
        return 0;
    }
    if (const int status = m_monitor->set_brightness(0))
        return status;
    m_intensity.value = 0;
    emit StartingDefinedTask(kDefinedTaskSettling);
    CCIEXYZ dark;
    if (const int status = Measure(dark))
        return status;
    if (WaitWithCountdown(SettleTime(0.0)) == kStopped)
        return kStopped;
    emit StartingDefinedTask(kDefinedTaskIntensity);
    if (const int status = MeasureWhite(dark))
        return status;
    const float at_zero = static_cast<float>(dark.Y);
    if (target * kBrightnessZeroMargin <= at_zero) {
        emit StartingDefinedTask(kDefinedTaskSettling);
        if (WaitWithCountdown(SettleTime(0.0)) == kStopped)
            return kStopped;
        emit StartingDefinedTask(kDefinedTaskIntensity);
        return 0;
    }
    const double span = static_cast<double>(at_full) - static_cast<double>(at_zero);
    m_cache.clear();
    ResetAdjustCounters();
    m_intensity.step = span > 0.0 ? m_intensity.maximum / span : 1.0;
    return RunIntensityLoop(target, qMax(target / 100.0, kMinimumIntensityTolerance));
}

int CCalibrationObject::RunIntensityLoop(double target, double tolerance)
{
    for (;;) {
        const int result = IntensityStep(target, tolerance);
        if (stopped() || result == kStopped)
            return kStopped;
        if (result == kLoopDone || result == kIntensityNotReached)
            return 0;
        if (result < 0)
            return kIntensityNotReached;
    }
}

int CCalibrationObject::MatchIntensityAgain(double target)
{
    CCIEXYZ white;
    if (const int status = Measure(white))
        return status;
    const bool off = std::fabs(white.Y - target) * 100.0 / target >= kLuminanceMatchPercent;
    const bool can_rise = white.Y < target && m_intensity.value < m_intensity.maximum;
    const bool can_fall = white.Y > target && m_intensity.value != 0;
    if (!off || !(can_rise || can_fall))
        return 0;
    ResetAdjustCounters();
    m_intensity.changes = kProportionalChanges;
    m_intensity.step = 0.0;
    return RunIntensityLoop(target, qMax(target / 100.0, kMinimumIntensityTolerance));
}

int CCalibrationObject::IntensityStep(double target, double tolerance)
{
    if (!(target > 0.0))
        return kInvalidTarget;
    CCIEXYZ white;
    if (const int status = MeasureWhite(white))
        return status;
    ++m_iterations;
    const double Y = white.Y;
    loop_state &b = m_intensity;
    const int before = b.value;
    if (b.changes < kIntensityChangeLimit) {
        if (Y < target - tolerance) {
            if (b.direction == -1) {
                ++b.changes;
                b.step *= kStepDecay;
            }
            b.value += 1;
            b.direction = 1;
            if (b.changes < kIntensityProportionalChanges)
                b.value += static_cast<int>((target - Y) * b.step);
            if (b.value >= b.maximum) {
                b.value = b.maximum;
                ++b.clamps;
            }
        } else if (Y > target + tolerance) {
            if (b.direction == 1) {
                ++b.changes;
                b.step *= kStepDecay;
            }
            b.value -= 1;
            b.direction = -1;
            if (b.changes < kIntensityProportionalChanges)
                b.value -= static_cast<int>((Y - target) * b.step);
            if (b.value < 1) {
                b.value = 0;
                ++b.clamps;
            }
        } else {
            ++b.stable;
        }
        if (b.value != before) {
            b.stable = 0;
            if (m_monitor->set_brightness(b.value) != 0)
                return kDriveWritesFailed;
        }
    } else {
        ++b.stable;
    }
    if (Y > kSettleBandLow * target && Y < kSettleBandHigh * target) {
        if (WaitWithCountdown(SettleTime(target)) == kStopped)
            return kStopped;
    }
    if (m_iterations >= kIterationLimit || b.clamps >= kClampLimit)
        return kIntensityNotReached;
    return b.stable < kStableIterations ? kLoopGoOn : kLoopDone;
}
