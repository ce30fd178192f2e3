#include "colour/tone_curves.h"

#include "colour/CColorValue.h"
#include "colour/CDICOMCalc.h"
#include "colour/CSpline.h"
#include "colour/CTargetValue.h"

#include <cmath>
#include <functional>

namespace {

constexpr int kPoints = 256;
constexpr int kDicomSteps = kPoints - 1;
constexpr int kDicomScale = 65535;
// The range a DICOM curve falls back to without usable measurements.
constexpr float kDefaultDicomBlack = 0.5f;
constexpr float kDefaultDicomWhite = 200.0f;

void init_curve(CSpline &curve)
{
    curve.Init(CSpline::kCatmullRom, kPoints, 0.0, 1.0);
}

// Point i gets (encode(i / 255), i / 255).
int fill_encoded(CSpline &curve, const std::function<double(double)> &encode)
{
    init_curve(curve);
    for (int i = 0; i < kPoints; ++i) {
        const double v = double(i) / (kPoints - 1);
        curve.SetPoint(i, encode(v), v);
    }
    curve.SetValid(true);
    return 0;
}

// The video transfer functions: a power segment above the threshold and a
// straight toe below it.
struct power_with_toe
{
    double gain;
    double exponent;
    double toeSlope;
    double threshold;

    double operator()(double v) const
    {
        return v > threshold ? gain * std::pow(v, exponent) - (gain - 1.0) : toeSlope * v;
    }
};

constexpr power_with_toe kSmpte240m{1.1115, 0.45, 4.0, 0.0228};
constexpr power_with_toe kNtscSmpte170m{1.099, 0.45, 4.5, 0.018};
constexpr power_with_toe kSrgb{1.055, 1.0 / 2.4, 12.92, 0.00304};

double lstar(double v)
{
    const double c = v > 0.0088564517 ? std::cbrt(v) : (903.296 * v + 16.0) / 116.0;
    return (116.0 * c - 16.0) / 100.0;
}

// Black and white of the DICOM range: the display's uncorrected greyscale
// ends, the black raised to the target's contrast ratio where that lies above
// the measured black, optionally scaled.
void dicom_range(const CColorValue &measurements, const CTargetValue &target, float &black, float &white)
{
    const QVector<CCIEXYZ> &greyscale = measurements.uncorrected_greyscale;
    double Lmin = kDefaultDicomBlack;
    double Lmax = kDefaultDicomWhite;
    if (greyscale.size() > 1 && greyscale.last().Y > 0.0) {
        Lmax = greyscale.last().Y;
        const double measuredBlack = measurements.uncorrected.black.Y;
        const quint32 ratio = target.GetContrastRatio();
        Lmin = (ratio != 0 && Lmax / ratio > measuredBlack) ? Lmax / ratio : measuredBlack;
    }
    if (target.GetDicomScalingFlag()) {
        Lmin *= target.GetDicomScalingFactor();
        Lmax *= target.GetDicomScalingFactor();
    }
    black = float(Lmin);
    white = float(Lmax);
}

// A range without JND indexes (a black at or below 0 cd/m², a white not
// above the black) falls back to the default range, and a curve that still
// cannot be computed to the straight line.
int make_dicom_curve(const CColorValue &measurements, const CTargetValue &target, CSpline &curve)
{
    init_curve(curve);
    float black = 0.0f;
    float white = 0.0f;
    dicom_range(measurements, target, black, white);
    CDICOMCalc calc(black, white, kDicomSteps);
    if (!calc.IsValid())
        calc = CDICOMCalc(kDefaultDicomBlack, kDefaultDicomWhite, kDicomSteps);
    if (!calc.IsValid()) {
        curve.SetGamma(1.0);
        return 0;
    }
    for (int i = 0; i < kPoints; ++i)
        curve.SetY(i, double(calc.ValueAtStep(i, kDicomScale)) / kDicomScale);
    curve.SetValid(true);
    return 0;
}

} // namespace

int make_smpte240m_curve(CSpline &curve)
{
    return fill_encoded(curve, kSmpte240m);
}

int make_ntsc_smpte170m_curve(CSpline &curve)
{
    return fill_encoded(curve, kNtscSmpte170m);
}

int make_srgb_curve(CSpline &curve)
{
    return fill_encoded(curve, kSrgb);
}

int make_lstar_curve(CSpline &curve)
{
    return fill_encoded(curve, lstar);
}

int make_target_curve(const CColorValue &measurements, const CTargetValue &target, CSpline &curve)
{
    switch (target.GetGammaType()) {
    case CTargetValue::kGammaPower:
        init_curve(curve);
        curve.SetGamma(target.GetGamma());
        break;
    case CTargetValue::kGammaDicom:
        return make_dicom_curve(measurements, target, curve);
    case CTargetValue::kGammaCurve:
        curve = target.GetCurve();
        break;
    default:
        init_curve(curve);
        curve.SetGamma(1.0);
        break;
    }
    curve.SetValid(true);
    return 0;
}
