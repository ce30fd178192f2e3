#include "views/docks/colorimeter_reading.h"

#include "colour/CColorTemperature.h"
#include "colour/luminance_units.h"

#include <QChar>
#include <QCoreApplication>

namespace {

constexpr unsigned kLowestKelvin = 2500;
constexpr unsigned kKelvinSpan = 17500; // up to 20000 K
constexpr QChar kDelta(0x0394);

QString tr(const char *text)
{
    return QCoreApplication::translate("KQ_colorimeter_widget", text);
}

bool temperature_shown(const CColorTemperature &temperature)
{
    return unsigned(temperature.GetKelvin()) - kLowestKelvin <= kKelvinSpan;
}

} // namespace

colorimeter_labels colorimeter_labels_for(int status, const CCIEXYZ &reading)
{
    const bool lit = status == 0 && reading.Z >= 0.0 && reading.Y >= 0.0;
    const CCIEXYZ light = lit ? reading : CCIEXYZ();
    const CCIEYxy value = light.ToYxy();
    const CColorTemperature temperature(CIExy{value.x, value.y});

    colorimeter_labels labels;
    labels.x = QStringLiteral("%L1").arg(value.x, 0, 'f', 3);
    labels.y = QStringLiteral("%L1").arg(value.y, 0, 'f', 3);
    labels.Y = to_display_luminance_text(value.Y, 2, true);
    if (temperature_shown(temperature)) {
        labels.temperature = tr("%L1 K").arg(temperature.GetKelvin());
        labels.distance = tr("%L2 %1uv").arg(kDelta).arg(temperature.GetDeviation(), 0, 'f', 4);
    } else {
        labels.temperature = tr("- K");
        labels.distance = QStringLiteral("-");
    }
    return labels;
}
