#include "colour/luminance_units.h"

#include <QObject>

#include <atomic>
#include <cmath>

namespace luminance_units {
namespace {

std::atomic<bool> &foot_lamberts_selected()
{
    static std::atomic<bool> selected(false);
    return selected;
}

int decimals_for(double value, int minimumDecimals)
{
    int decimals = 0;
    // Non-finite values keep 0 decimals: log10 of infinity has no integer.
    if (std::isfinite(value) && value > 0.0)
        decimals = qMax(0, 1 - static_cast<int>(std::floor(std::log10(value))));
    if (minimumDecimals >= 0 && minimumDecimals > decimals)
        decimals = minimumDecimals;
    return decimals;
}

} // namespace

void set_uses_foot_lamberts(bool footLamberts)
{
    foot_lamberts_selected().store(footLamberts);
}

bool uses_foot_lamberts()
{
    return foot_lamberts_selected().load();
}

QString candela_unit_text()
{
    return QStringLiteral("cd/m") + QChar(0x00B2);
}

QString luminance_unit_text()
{
    if (uses_foot_lamberts())
        return QObject::tr("fL", "foot Lamberts units");
    return candela_unit_text();
}

double cd_m2_to_display_units(double cdm2)
{
    return uses_foot_lamberts() ? cdm2 / kCandelaPerFootLambert : cdm2;
}

double display_units_to_cd_m2(double value)
{
    return uses_foot_lamberts() ? value * kCandelaPerFootLambert : value;
}

QString to_display_luminance_text(double cdm2, int minimumDecimals, bool withUnit)
{
    const double value = cd_m2_to_display_units(cdm2);
    const int decimals = decimals_for(value, minimumDecimals);
    if (withUnit)
        return QStringLiteral("%L1 %2").arg(value, 0, 'f', decimals, QLatin1Char(' ')).arg(luminance_unit_text());
    return QStringLiteral("%L1").arg(value, 0, 'f', decimals, QLatin1Char(' '));
}

} // namespace luminance_units
