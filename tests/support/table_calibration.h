#pragma once

#include "colour/CAdjustValue.h"
#include "colour/CColorTemperature.h"
#include "colour/CTargetValue.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

// A display already calibrated with the sensor, and the target the wall tests
// and benchmarks hold it to.
namespace table_calibration {

constexpr int kCurvePoints = 256;

// Gains 0.8, 0.9, 1.0 and a linear response: the correction is the target's
// tone itself and every channel's table differs, so each is written in full.
inline CAdjustValue linear_response_record(qint16 mode = CAdjustValue::kModeLookupTable,
                                           Qt::TimeSpec spec = Qt::LocalTime)
{
    CAdjustValue record;
    record.SetCalibrationDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0), spec));
    record.SetCalibrated(true);
    record.SetCalibrationMode(mode);
    record.gain = {0.8, 0.9, 1.0};
    for (CSpline &curve : record.measurements.inverse_response_curves) {
        curve.Init(CSpline::kCatmullRom, kCurvePoints, 0.0, 1.0);
        for (int i = 0; i < kCurvePoints; ++i) {
            const double x = double(i) / (kCurvePoints - 1);
            curve.SetPoint(i, x, x);
        }
        curve.SetValid(true);
    }
    return record;
}

// D65 at 200 cd/m² with a power-law tone curve.
inline CTargetValue d65_power_target(double gamma = 2.2)
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(CIExy {0.3127, 0.3290}));
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(200.0);
    target.SetGammaType(CTargetValue::kGammaPower);
    target.SetGamma(gamma);
    return target;
}

} // namespace table_calibration
