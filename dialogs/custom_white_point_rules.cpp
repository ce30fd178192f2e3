#include "dialogs/custom_white_point_rules.h"

#include <cmath>

namespace custom_white_point_rules {

namespace {

double box_value(double value)
{
    const double scale = std::pow(10.0, kXyDecimals);
    return std::round(value * scale) / scale;
}

} // namespace

CColorTemperature white_at(double x, double y)
{
    return CColorTemperature(CIExy{box_value(x), box_value(y)});
}

QString distance_text(const CColorTemperature &white)
{
    return QStringLiteral("%L2 %1uv").arg(QChar(0x0394)).arg(std::fabs(white.GetDeviation()), 0, 'f', 4);
}

bool in_normal_range(const CColorTemperature &white)
{
    return white.GetKelvin() >= kMinimumKelvin && white.GetKelvin() <= kMaximumKelvin;
}

} // namespace custom_white_point_rules
