#include "simulator/sim_tone_curve.h"

#include "simulator/sim_colour_math.h"

#include <algorithm>
#include <cmath>

namespace {

double srgb(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// CIE lightness L* = 100 v back to relative luminance.
double lightness(double v)
{
    constexpr double kappa = 24389.0 / 27.0;
    const double L = 100.0 * v;
    return L > 8.0 ? std::pow((L + 16.0) / 116.0, 3.0) : L / kappa;
}

// The grayscale standard display function (DICOM PS3.14): the JND index of a
// luminance, and the luminance of a JND index, within the function's range.
constexpr double kDicomLowest = 0.05, kDicomHighest = 4000.0;

double jnd_index(double luminance)
{
    static const double k[] = {71.498068, 94.593053, 41.912053, 9.8247004, 0.28175407,
                               -1.1878455, -0.18014349, 0.14710899, -0.017046845};
    const double l = std::log10(std::clamp(luminance, kDicomLowest, kDicomHighest));
    double j = 0.0, power = 1.0;
    for (double c : k) {
        j += c * power;
        power *= l;
    }
    return j;
}

double jnd_luminance(double j)
{
    const double x = std::log(std::max(j, 1.0));
    const double num = -1.3011877 + x * (8.0242636e-2 + x * (1.3646699e-1 + x * (-2.5468404e-2 + x * 1.3635334e-3)));
    const double den =
        1.0 + x * (-2.5840191e-2 + x * (-1.0320229e-1 + x * (2.8745620e-2 + x * (-3.1978977e-3 + x * 1.2992634e-4))));
    return std::pow(10.0, num / den);
}

// Steps evenly spaced in JND from |black| to |white|, as a share of the way.
double dicom(double v, double black, double white)
{
    const double j0 = jnd_index(black), j1 = jnd_index(white);
    const double l0 = jnd_luminance(j0), l1 = jnd_luminance(j1);
    if (!(l1 > l0))
        return v;
    return (jnd_luminance(j0 + v * (j1 - j0)) - l0) / (l1 - l0);
}

} // namespace

double sim_tone_curve::look_up(const std::vector<double> &table, double level)
{
    if (table.empty())
        return level;
    if (table.size() == 1)
        return unit_interval(table.front());
    const double position = unit_interval(level) * static_cast<double>(table.size() - 1);
    const std::size_t below = std::min(static_cast<std::size_t>(position), table.size() - 2);
    const double fraction = position - static_cast<double>(below);
    return unit_interval(table[below]) * (1.0 - fraction) + unit_interval(table[below + 1]) * fraction;
}

double sim_tone_curve::share(int channel, double level) const
{
    const double v = unit_interval(level);
    switch (form) {
    case kPower:
        return std::pow(v, std::isfinite(gamma) && gamma > 0.0 ? gamma : 1.0);
    case kDicom:
        return unit_interval(dicom(v, black, white));
    case kSrgb:
        return srgb(v);
    case kLstar:
        return lightness(v);
    case kTable:
        return look_up(table[static_cast<std::size_t>(std::clamp(channel, 0, 2))], v);
    case kNone:
        break;
    }
    return v;
}
