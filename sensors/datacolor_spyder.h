#pragma once

#include "colour/colour_values.h"
#include "sensors/SensorPlacementInfo.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// What the Spyder3/4/5 and SpyderX drivers share: the start-up information
// block, the start-up rule, readings in thousandths and the placement record.
namespace datacolor_spyder {

// The block the libraries fill at start-up; zeroed before each start.
using information_block = std::array<uint8_t, 12>;

// The serial number text at byte 8 of the block: at most 8 characters, but
// the block ends 4 bytes later, so the text stops there or at a NUL.
QString serial_number(const information_block &block);

// A start-up counts when the library answered success (1), or refused it
// with the "already started" error number that |detailedError| then gives.
bool started(int32_t result, const std::function<int32_t()> &detailedError);

// The libraries report X, Y and Z in thousandths.
CCIEXYZ from_thousandths(int32_t X, int32_t Y, int32_t Z);

// |reading| with components below 0 set to 0.
CCIEXYZ without_negatives(const CCIEXYZ &reading);

// The placement record of a Spyder whose pictures are named after |stem|
// ("spyder3", "spyder5", "spyderX").
void fill_placement(SensorPlacementInfo &info, const QString &stem);

} // namespace datacolor_spyder
