#include "app/services/minimum_firmware_table.h"

namespace {

struct minimum_firmware_row {
    const char *model;
    const char *minimum;
};

// Product data: the wall display models whose older firmware lacks commands
// that calibration relies on.
constexpr minimum_firmware_row kMinimumFirmware[] = {
    {"VW-4610C", "1.1.0.9"},
    {"VW-5510C", "1.1.0.9"},
    {"VW-4620L", "1.017"},
    {"VW-5520L", "1.017"},
    {"VW-5530Q", "1.2.0.0"},
    {"VW-5540QE", "1.0.18.0"},
    {"VW-6540QE", "1.0.18.0"},
};

} // namespace

QString minimum_firmware_of(const QString &model)
{
    for (const minimum_firmware_row &row : kMinimumFirmware)
        if (model.compare(QLatin1String(row.model), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(row.minimum);
    return QString();
}
