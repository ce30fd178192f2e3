#include "sensors/datacolor_spyder.h"

#include "sensors/dccmtr_api.h"
#include "sensors/dcxmtr_api.h"

#include <QCoreApplication>

#include <algorithm>

namespace datacolor_spyder {
namespace {

constexpr size_t kSerialOffset = 8;
constexpr size_t kSerialMaximum = 8;

static_assert(DC_INFO_SIZE == std::tuple_size<information_block>::value, "Spyder3/4/5 block size");
static_assert(DCX_INFO_SIZE == std::tuple_size<information_block>::value, "SpyderX block size");
static_assert(DC_INFO_SERIAL_OFFSET == kSerialOffset && DCX_INFO_SERIAL_OFFSET == kSerialOffset,
              "serial number offset");
static_assert(int(DC_ERROR_ALREADY_STARTED) == int(DCX_ERROR_ALREADY_STARTED), "already-started error number");
static_assert(int(DC_SUCCESS) == int(DCX_SUCCESS), "success answer");

} // namespace

QString serial_number(const information_block &block)
{
    const auto first = block.begin() + kSerialOffset;
    const auto last = first + std::min(kSerialMaximum, block.size() - kSerialOffset);
    const auto end = std::find(first, last, uint8_t(0));
    return QString::fromLatin1(reinterpret_cast<const char *>(&*first), int(end - first));
}

bool started(int32_t result, const std::function<int32_t()> &detailedError)
{
    return result == DC_SUCCESS || detailedError() == DC_ERROR_ALREADY_STARTED;
}

CCIEXYZ from_thousandths(int32_t X, int32_t Y, int32_t Z)
{
    return CCIEXYZ(X / 1000.0, Y / 1000.0, Z / 1000.0);
}

CCIEXYZ without_negatives(const CCIEXYZ &reading)
{
    return CCIEXYZ(std::max(reading.X, 0.0), std::max(reading.Y, 0.0), std::max(reading.Z, 0.0));
}

void fill_placement(SensorPlacementInfo &info, const QString &stem)
{
    info.displayPicture = kSensorPictures + stem + QStringLiteral(".png");
    info.calibrationPicture = info.displayPicture;
    info.ambientPicture = kSensorPictures + stem + QStringLiteral(" ambient measure.png");
    info.iconPicture = kSensorPictures + QStringLiteral("sensor icon_") + stem + QStringLiteral(".png");
    info.ambientMessage =
        QCoreApplication::translate("CSensor", "Position the color sensor as shown in the center of the screen.");
    info.calibrationMessage.clear();
}

} // namespace datacolor_spyder
