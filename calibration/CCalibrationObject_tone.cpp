// The tone correction: the lookup table built from the measured greyscale, or
// the tone curve of the display's engine; and the calibrated greyscale.
#include "calibration/CCalibrationObject.h"

#include "calibration/calibration_constants.h"
#include "calibration/calibration_result_codes.h"
#include "colour/tone_curves.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/defined_task.h"
#include "jobs/display_setting_rules.h"
#include "sensors/CSensor.h"

#include <cmath>

namespace {

using namespace calibration_constants;
using namespace calibration_result;

constexpr int kGeneratorOff = 1;

} // namespace

int CCalibrationObject::MeasureGreySeries(QVector<CCIEXYZ> &series, int red, int green, int blue, bool engine)
{
    series.clear();
    const int n = m_greySteps;
    const int total = 2 * n;
    const std::array<int, 3> full {red, green, blue};
    for (int i = 0; i < n; ++i) {
        emit calibration_sub_task_progress(2 * i, total, QString());
        std::array<int, 3> level {};
        bool bright = true;
        for (size_t c = 0; c < 3; ++c) {
            level[c] = static_cast<int>(std::lround(static_cast<double>(full[c]) * i / (n - 1)));
            bright = bright && level[c] > full[c] / 2.0;
        }
        if (const int status = m_monitor->set_rgb_levels(level[0], level[1], level[2], engine))
            return status;
        Sleep(kPatchSettleMs);
        emit calibration_sub_task_progress(2 * i + 1, total, QString());
        CCIEXYZ reading;
        if (const int status = Measure(reading))
            return status;
        if (bright)
            m_sensor->CheckPatchColor(reading, kPatchBright);   // the answer is not needed
        series.append(reading);
        if (stopped())
            return kStopped;
    }
    emit calibration_sub_task_progress(total, total, QString());
    return 0;
}

int CCalibrationObject::MeasureCalibratedGreySeries(const QVector<int> &table)
{
    int entries = 0, maximum = 0;
    m_monitor->get_lut_size(entries, maximum);
    const int per_channel = entries / 3;
    if (per_channel < 1 || table.size() < 3 * per_channel || maximum <= 0)
        return kInvalidTarget;
    const int n = m_greySteps;
    const int total = 2 * n;
    QVector<CCIEXYZ> series;
    for (int i = 0; i < n; ++i) {
        emit calibration_sub_task_progress(2 * i, total, QString());
        const int index = static_cast<int>(static_cast<double>(i) / (n - 1) * (per_channel - 1));
        std::array<int, 3> level {};
        for (size_t c = 0; c < 3; ++c) {
            const int entry = table.at(static_cast<int>(c) * per_channel + index);
            level[c] = static_cast<int>(static_cast<double>(entry) * m_levelMax[c] / maximum + 0.5);
        }
        m_monitor->set_rgb_levels(level[0], level[1], level[2], m_engine != 0);
        CCIEXYZ reading;
        if (const int status = Measure(reading))
            return status;
        if (stopped())
            return kStopped;
        series.append(reading);
        emit calibration_sub_task_progress(2 * i + 1, total, QString());
    }
    m_record.measurements.corrected_greyscale = series;
    emit calibration_sub_task_progress(total, total, QString());
    return 0;
}

int CCalibrationObject::ApplyGammaCorrection()
{
    int entries = 0, maximum = 0;
    m_monitor->get_lut_size(entries, maximum);
    CColorValue &colour = m_record.measurements;
    QVector<int> table;
    if (m_target.GetGammaType() == CTargetValue::kGammaNative) {
        for (int c = 0; c < CColorValue::kChannelCount; ++c) {
            colour.response_curves[static_cast<size_t>(c)].SetValid(false);
            colour.inverse_response_curves[static_cast<size_t>(c)].SetValid(false);
            colour.correction_curves[static_cast<size_t>(c)].SetValid(false);
        }
        colour.target_curve.SetValid(false);
        if (const int status = m_monitor->build_lut_from_calibration(m_record, m_target, table))
            return status;
    } else {
        emit StartingDefinedTask(kDefinedTaskUncorrectedGreyscale);
        QVector<CCIEXYZ> series;
        if (const int status = MeasureGreySeries(series, m_channels[0].value, m_channels[1].value,
                                                 m_channels[2].value, m_engine != 0))
            return status;
        colour.uncorrected_greyscale = series;
        colour.uncorrected.black = series.first();
        emit SetBlackLevelMeasuredValue(series.first().Y);
        colour.uncorrected.white = series.last();
        colour.adjusted_white = series.last();
        EmitMeasuredWhite(series.last().ToYxy());

        if (const int status = colour.BuildMeasuredChannelCurves(false))
            return status;
        if (const int status = make_target_curve(colour, m_target, colour.target_curve))
            return status;
        if (const int status = colour.BuildCorrectionCurves(m_target))
            return status;
        if (const int status = m_monitor->build_lut_from_calibration(m_record, m_target, table))
            return status;
        if (m_preferences.measure_after_calibration) {
            emit calibration_task_progress(tr("Measuring calibrated display"));
            emit StartingDefinedTask(kDefinedTaskMeasureCalibrated);
            MeasureCalibratedGreySeries(table);   // its result does not change the outcome
        }
    }
    if (m_monitor->set_vcp_2c8_or_2c3(kGeneratorOff, m_engine != 0) == 0)
        m_resultFlag = 1;
    return 0;
}

int CCalibrationObject::ApplyQuillonToneCurve()
{
    const int gamma_type = m_target.GetGammaType();
    const bool known = gamma_type >= CTargetValue::kGammaNative && gamma_type <= CTargetValue::kGammaBt1886;
    const engine_tone_setting tone = engine_tone_for_target(m_target);
    QList<vcp_list_item> list;
    if (known) {
        list << vcp_list_item::write(control_code::kColorMode, tone.color_mode, true);
        if (tone.gamma)
            list << vcp_list_item::write(control_code::kVcp2E8, *tone.gamma, true);
    }
    if (const int status = m_monitor->apply_vcp_list(list, true))
        return status;

    const bool custom = known && tone.uploads_curve;
    if (!custom && m_preferences.measure_after_calibration) {
        std::array<int, 3> level {};
        if (const int status = m_monitor->get_rgb_levels(level[0], level[1], level[2], m_levelMax[0], m_levelMax[1],
                                                         m_levelMax[2], true))
            return status;
        emit StartingDefinedTask(kDefinedTaskMeasureCalibrated);
        emit calibration_task_progress(tr("Measuring calibrated display"));
        QVector<CCIEXYZ> series;
        const int measured = MeasureGreySeries(series, m_levelMax[0], m_levelMax[1], m_levelMax[2], true);
        m_record.measurements.corrected_greyscale = series;
        if (measured != 0)
            return measured;
    } else if (custom) {
        emit StartingDefinedTask(kDefinedTaskEngineCustomCurve);
        const CSpline curve = engine_tone_curve(m_target, m_record);
        if (gamma_type == CTargetValue::kGammaBt1886)
            m_record.measurements.target_curve = curve;
        QVector<int> table;
        if (const int status = m_monitor->build_lut_from_curves(curve, curve, curve, table))
            return status;
    }
    m_resultFlag = custom ? 1 : 0;
    return stopped() ? kStopped : 0;
}
