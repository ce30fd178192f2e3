#include "colour/CDICOMCalc.h"

#include <cmath>
#include <limits>

namespace {

// Horner evaluation in single precision, lowest coefficient first.
template <int N> float polynomial(const float (&c)[N], float x)
{
    float sum = c[N - 1];
    for (int i = N - 2; i >= 0; --i)
        sum = sum * x + c[i];
    return sum;
}

constexpr float kJndOfLog[] = {71.498068f, 94.593053f, 41.912053f, 9.8247004f, 0.28175407f,
                               -1.1878455f, -0.18014349f, 0.14710899f, -0.017046845f};
constexpr float kLogNumerator[] = {-1.3011877f, 0.080242636f, 0.13646699f, -0.025468404f,
                                   0.001363533f};
constexpr float kLogDenominator[] = {1.0f, -0.02584019f, -0.10320229f, 0.02874562f,
                                     -0.003197898f, 0.000129926f};

} // namespace

float dicom_luminance_to_jnd(float luminance)
{
    if (!(luminance > 0.0f))
        return 0.0f;
    return polynomial(kJndOfLog, std::log10(luminance));
}

float dicom_jnd_to_luminance(float jnd)
{
    if (!(jnd > 0.0f))
        return 0.0f;
    const float x = std::log(jnd);
    const float denominator = polynomial(kLogDenominator, x);
    if (denominator == 0.0f)
        return 0.0f;
    return std::pow(10.0f, polynomial(kLogNumerator, x) / denominator);
}

CDICOMCalc::CDICOMCalc(float Lmin, float Lmax, int steps) : m_Lmin(Lmin), m_Lmax(Lmax), m_steps(steps)
{
    m_jndMin = dicom_luminance_to_jnd(Lmin);
    m_jndMax = dicom_luminance_to_jnd(Lmax);
    if (!(m_jndMin > 0.0f && m_jndMax > m_jndMin && steps > 0 && std::isfinite(m_jndMax)))
        return;
    m_jndRange = m_jndMax - m_jndMin;
    m_jndStep = m_jndRange / float(steps);
    const float black = LuminanceAtStep(0);
    const float white = LuminanceAtStep(steps);
    m_valid = std::isfinite(black) && std::isfinite(white) && white > black;
}

float CDICOMCalc::LuminanceAtStep(int i) const
{
    return dicom_jnd_to_luminance(m_jndMin + float(i) * m_jndStep);
}

int CDICOMCalc::ValueAtStep(int i, int scale) const
{
    if (!m_valid || i < 0 || i > m_steps)
        return 0;
    const float black = LuminanceAtStep(0);
    const float value = (LuminanceAtStep(i) - black) * float(scale) / (LuminanceAtStep(m_steps) - black) + 0.5f;
    // Far outside the standard's luminance range the curve need not rise
    // steadily: only a value an int can hold is converted.
    if (!(std::fabs(value) < float(std::numeric_limits<int>::max() / 2)))
        return 0;
    return int(value);
}
