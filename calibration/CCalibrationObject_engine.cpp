// The white-point, intensity and black-level loops through the display's
// internal calibration engine.
#include "calibration/CCalibrationObject.h"

#include "calibration/calibration_constants.h"
#include "calibration/calibration_result_codes.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/vcp_list_item.h"
#include "jobs/defined_task.h"
#include "sensors/CSensor.h"

#include <cmath>

namespace {

using namespace calibration_constants;
using namespace calibration_result;

constexpr int kGeneratorOn = 2;

// The limits of an engine white coordinate (x, then y) and its control.
struct white_axis
{
    int code;
    int minimum;
    int maximum;
};
constexpr white_axis kWhiteAxes[2] = {
    {control_code::kEngineWhiteX, kEngineWhiteXMin, kEngineWhiteXMax},
    {control_code::kEngineWhiteY, kEngineWhiteYMin, kEngineWhiteYMax},
};

bool within_white(double dx, double dy)
{
    return std::fabs(dx) <= kWhiteTolerance && std::fabs(dy) <= kWhiteTolerance;
}

} // namespace

void CCalibrationObject::ResetQuillonCounters()
{
    for (loop_state &axis : m_engineWhite) {
        axis.direction = 0;
        axis.changes = 0;
        axis.stable = 0;
        axis.clamps = 0;
    }
    m_engineLastSign = {};
    m_engineWhiteClamps = {};
    m_intensity.direction = 0;
    m_intensity.changes = 0;
    m_intensity.stable = 0;
    m_intensity.clamps = 0;
    m_iterations = 0;
    m_writeFailures = 0;
}

int CCalibrationObject::WriteEngineControls(QList<vcp_list_item> &list)
{
    return m_monitor->apply_vcp_list(list, false);
}

int CCalibrationObject::AdjustWithQuillonEngine()
{
    emit StartingDefinedTask(kDefinedTaskWhitePoint);
    emit calibration_task_progress(tr("Adjusting"));
    emit calibration_sub_task_progress(0, 4, tr("White Point"));

    if (const int status = m_monitor->set_vcp_2c8_or_2c3(kGeneratorOn, true))
        return status;
    Sleep(kEngineGeneratorOnMs);
    std::array<int, 3> level {};
    if (const int status = m_monitor->get_rgb_levels(level[0], level[1], level[2], m_levelMax[0], m_levelMax[1],
                                                     m_levelMax[2], true))
        return status;
    if (const int status = m_monitor->set_rgb_levels(m_levelMax[0], m_levelMax[1], m_levelMax[2], true))
        return status;
    Sleep(kEngineWhiteShownMs);
    CCIEXYZ white;
    if (const int status = Measure(white))
        return status;
    m_record.measurements.native.white = white;
    if (m_sensor->CheckPatchColor(white, kPatchBright) != 0)
        return kPatchColourRejected;
    if (stopped())
        return kStopped;

    const double target = m_target.GetIntensity();
    const double meter = luminance_targeted() ? qMax(target, white.Y) : white.Y;
    emit SetWhiteLevelTargetMinMax(0.0, kWhiteMeterSpan * meter);
    emit SetBlackLevelTargetMinMax(0.0, white.Y / kBlackMeterDivisor);
    if (luminance_targeted()) {
        emit SetWhiteLevelTarget(target);
        emit ShowWhiteLevelTarget(true);
    }
    EmitMeasuredWhite(white.ToYxy());

    const bool native_white = m_target.GetWhitePoint().IsNative();
    if (!native_white) {
        const CIExy xy = m_target.GetWhitePoint().GetCIExy();
        emit SetWhitePointTargetxy(xy.x, xy.y);
        Sleep(kPatchSettleMs);
        ResetQuillonCounters();
        if (const int status = RunEngineWhitePointLoop())
            return status;
    }

    emit StartingDefinedTask(kDefinedTaskIntensity);
    emit calibration_sub_task_progress(1, 4, tr("Intensity"));
    const int intensity_mode = m_target.GetIntensityMode();
    if (const int status = AdjustEngineIntensity(intensity_mode))
        return status;
    if (intensity_mode != CTargetValue::kIntensityMaximumPossible && !native_white) {
        emit StartingDefinedTask(kDefinedTaskWhitePoint);
        emit calibration_sub_task_progress(2, 4, tr("White Point"));
        ResetQuillonCounters();
        for (loop_state &axis : m_engineWhite)
            axis.changes = kEngineWhiteProportionalChanges;
        if (const int status = RunEngineWhitePointLoop())
            return status;
    }

    CCIEXYZ adjusted;
    if (const int status = Measure(adjusted))
        return status;
    m_record.measurements.adjusted_white = adjusted;
    if (m_target.GetContrastRatio() != 0)
        return AdjustEngineBlack(intensity_mode);
    return 0;
}

int CCalibrationObject::RunEngineWhitePointLoop()
{
    const CIExy xy = m_target.GetWhitePoint().GetCIExy();
    for (;;) {
        const int result = QuillonWhitePointStep(xy.x, xy.y);
        if (stopped() || result == kStopped)
            return kStopped;
        if (result == kEngineWhiteAtLimit)
            return result;
        if (result < 0)
            return kWhitePointFailed;
        if (result == kLoopDone)
            return 0;
    }
}

int CCalibrationObject::AdjustEngineIntensity(int intensityMode)
{
    if (intensityMode == CTargetValue::kIntensityMaximumPossible) {
        // Failures here leave the engine's luminance as configured.
        int value = 0, maximum = 0;
        if (m_monitor->get_vcp_with_max(control_code::kEngineLuminance, value, maximum) == 0) {
            uint written = static_cast<uint>(maximum);
            if (m_monitor->set_vcp(control_code::kEngineLuminance, written) == 0) {
                m_intensity.value = maximum;
                m_intensity.maximum = maximum;
            }
        }
        emit StartingDefinedTask(kDefinedTaskSettling);
        return WaitWithCountdown(kEngineLuminanceSettleMs);
    }
    if (m_monitor->get_vcp_with_max(control_code::kEngineLuminance, m_intensity.value, m_intensity.maximum) != 0)
        return kWhitePointFailed;
    ResetQuillonCounters();
    m_intensity.step = 1.0;
    const double target = m_target.GetIntensity();
    for (;;) {
        const int result = QuillonIntensityStep(target, kLuminanceTolerance);
        if (stopped() || result == kStopped)
            return kStopped;
        if (result == kDriveWritesFailed)
            return result;
        if (result != kLoopGoOn)
            return 0;
    }
}

int CCalibrationObject::AdjustEngineBlack(int intensityMode)
{
    emit StartingDefinedTask(kDefinedTaskBlackLevel);
    emit calibration_sub_task_progress(intensityMode == CTargetValue::kIntensityMaximumPossible ? 2 : 3, 4,
                                       tr("Black Level"));
    const double target = m_record.measurements.adjusted_white.Y / m_target.GetContrastRatio();
    if (const int status = m_monitor->set_rgb_levels(0, 0, 0, true))
        return status;
    int value = 0, maximum = 0;
    if (m_monitor->get_vcp_with_max(control_code::kEngineBlackLevel, value, maximum) != 0)
        return 0;
    uint written = static_cast<uint>(maximum);
    if (m_monitor->set_vcp(control_code::kEngineBlackLevel, written) != 0)
        return 0;
    if (WaitWithCountdown(kEngineControlSettleMs) == kStopped)
        return kStopped;
    CCIEXYZ black;
    if (const int status = Measure(black))
        return status;
    emit SetBlackLevelMeasuredValue(black.Y);
    m_record.measurements.adjusted_black = black;
    if (!(black.Y > target && black.Y > 0.0)) {
        m_record.black_level_value = static_cast<qint16>(maximum);
        return 0;
    }
    const int scaled = static_cast<int>(maximum * target / black.Y + 0.5);
    written = static_cast<uint>(scaled);
    if (m_monitor->set_vcp(control_code::kEngineBlackLevel, written) != 0)
        return 0;
    m_record.black_level_value = static_cast<qint16>(scaled);
    if (WaitWithCountdown(kEngineControlSettleMs) == kStopped)
        return kStopped;
    QuillonBlackLevelStep(scaled, target, maximum);
    return 0;
}

int CCalibrationObject::QuillonBlackLevelStep(int value, double targetBlack, int maximum)
{
    CCIEXYZ black;
    if (const int status = Measure(black))
        return status;
    emit SetBlackLevelMeasuredValue(black.Y);
    m_record.measurements.adjusted_black = black;
    const double d = (black.Y - targetBlack) * kEngineBlackScale;
    int kept = value;
    if (std::fabs(d) > kEngineBlackBand) {
        int next = value;
        if (d > 0.0 && value > 0)
            next = value - 1;
        else if (d < 0.0 && value + 1 <= maximum)
            next = value + 1;
        if (next != value) {
            uint written = static_cast<uint>(next);
            if (const int status = m_monitor->set_vcp(control_code::kEngineBlackLevel, written))
                return status;
            if (WaitWithCountdown(kEngineControlSettleMs) == kStopped)
                return kStopped;
            CCIEXYZ again;
            if (const int status = Measure(again))
                return status;
            emit SetBlackLevelMeasuredValue(again.Y);
            if (std::fabs((again.Y - targetBlack) * kEngineBlackScale) < std::fabs(d)) {
                kept = next;
                m_record.measurements.adjusted_black = again;
            } else {
                written = static_cast<uint>(value);
                m_monitor->set_vcp(control_code::kEngineBlackLevel, written);
            }
        }
    }
    m_record.black_level_value = static_cast<qint16>(kept);
    return 0;
}

int CCalibrationObject::QuillonIntensityStep(double target, double tolerance)
{
    if (!(target > 0.0))
        return kInvalidTarget;
    CCIEXYZ white;
    if (const int status = MeasureWhite(white))
        return status;
    ++m_iterations;
    const double Y = white.Y;
    loop_state &l = m_intensity;
    const int lower = m_engineLowerLimit;
    if (l.changes < kIntensityChangeLimit && std::fabs(Y - target) >= tolerance) {
        bool near = false;
        m_monitor->is_vcp_27f_near_max(near);
        const int before = l.value;
        if (Y >= target) {
            if (l.direction == 1) {
                ++l.changes;
                l.step *= kStepDecay;
            }
            l.direction = -1;
            int decrement = 0;
            if (near && l.changes == 0)
                decrement = (l.maximum - lower) / kEngineFastStepDivisor;
            else if (l.changes < kEngineProportionalChanges)
                decrement = static_cast<int>((Y - target) * l.step);
            l.value -= qMax(decrement, 1);
            if (l.value <= lower) {
                l.value = lower;
                ++l.clamps;
            }
        } else {
            if (l.direction == -1) {
                ++l.changes;
                l.step *= kStepDecay;
            }
            l.direction = 1;
            if (near) {
                ++l.clamps;
            } else {
                const int increment =
                    l.changes < kEngineProportionalChanges ? static_cast<int>((target - Y) * l.step) : 0;
                l.value = qMin(l.value + qMax(increment, 1), l.maximum);
            }
        }
        if (l.value != before) {
            l.stable = 0;
            QList<vcp_list_item> list {vcp_list_item::write(control_code::kEngineLuminance, l.value, true)};
            if (WriteEngineControls(list) != 0)
                return kDriveWritesFailed;
        }
    } else {
        ++l.stable;
    }
    if (Y > kSettleBandLow * target && Y < kSettleBandHigh * target) {
        emit StartingDefinedTask(kDefinedTaskSettling);
        if (WaitWithCountdown(kEngineLuminanceSettleMs) == kStopped)
            return kStopped;
        emit StartingDefinedTask(kDefinedTaskIntensity);
    }
    if (m_iterations >= kIterationLimit || l.clamps >= kEngineClampLimit)
        return kIntensityNotReached;
    return l.stable < kStableIterations ? kLoopGoOn : kLoopDone;
}

int CCalibrationObject::QuillonWhitePointStep(double targetX, double targetY)
{
    CCIEXYZ reading;
    if (const int status = MeasureWhite(reading))
        return status;
    CCIEYxy white = reading.ToYxy();
    if (within_white(white.x - targetX, white.y - targetY)) {
        if (WaitWithCountdown(kEngineWhiteRecheckMs) == kStopped)
            return kStopped;
        if (const int status = MeasureWhite(reading))
            return status;
        white = reading.ToYxy();
        if (within_white(white.x - targetX, white.y - targetY))
            return kLoopDone;
    }
    ++m_iterations;

    const double delta[2] = {white.x - targetX, white.y - targetY};
    QList<vcp_list_item> list;
    for (size_t k = 0; k < 2; ++k) {
        loop_state &axis = m_engineWhite[k];
        const double d = delta[k];
        int value = axis.value;
        bool clamped = false;
        if (axis.changes <= kEngineWhiteChangeLimit && std::fabs(d) >= kWhiteTolerance) {
            const int sign = d > 0.0 ? 1 : -1;
            if (m_engineLastSign[k] != 0 && sign != m_engineLastSign[k])
                ++axis.changes;
            m_engineLastSign[k] = sign;
            if (axis.changes < kEngineWhiteProportionalChanges)
                value = static_cast<int>(axis.value - (1000.0 * d + (d > 0.0 ? 0.5 : -0.5)));
            else
                value = axis.value - sign;
            if (value > kWhiteAxes[k].maximum) {
                value = kWhiteAxes[k].maximum;
                ++m_engineWhiteClamps[2 * k];
                clamped = true;
            } else if (value < kWhiteAxes[k].minimum) {
                value = kWhiteAxes[k].minimum;
                ++m_engineWhiteClamps[2 * k + 1];
                clamped = true;
            }
        }
        if (value == axis.value) {
            axis.stable = clamped ? 0 : axis.stable + 1;
            continue;
        }
        axis.value = value;
        axis.stable = 0;
        list << vcp_list_item::write(kWhiteAxes[k].code, value, true);
    }
    if (!list.isEmpty()) {
        if (const int status = WriteEngineControls(list))
            return status;
        if (WaitWithCountdown(kEngineControlSettleMs) == kStopped)
            return kStopped;
    }
    if (m_iterations >= kIterationLimit)
        return kWhitePointFailed;
    for (const int clamps : m_engineWhiteClamps) {
        if (clamps >= kEngineWhiteClampLimit)
            return kEngineWhiteAtLimit;
    }
    const bool settled = m_engineWhite[0].stable >= kEngineWhiteStableIterations
                         && m_engineWhite[1].stable >= kEngineWhiteStableIterations;
    return settled ? kLoopDone : kLoopGoOn;
}
