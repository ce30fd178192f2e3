#include "dialogs/information_texts.h"

#include "app/controller/display_layout_item.h"
#include "app/services/string_resource.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "dialogs/wall_display_records.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

enum status_string_id {
    kStatusIdConflict = 305,
    kStatusNotVerified = 306,
    kStatusCalibrated = 307,
    kStatusMeasured = 308,
    kStatusVerified = 309,
    kStatusVerifyFailed = 310,
    kStatusDisabled = 311,
    kStatusUnsupportedModel = 312,
    kStatusUnsupportedFirmware = 314,
    kStatusDuplicateDisplay = 318,
};

int verified_status_id(const CAdjustValue *record)
{
    if (record && is_calibrated(*record))
        return kStatusCalibrated;
    if (record && is_measured(*record))
        return kStatusMeasured;
    return kStatusVerified;
}

int status_id(const display_layout_item &item, const CAdjustValue *record)
{
    if (!item.enabled)
        return kStatusDisabled;
    if (item.id_conflict)
        return kStatusIdConflict;
    if (item.duplicate_display)
        return kStatusDuplicateDisplay;
    switch (item.verify_status) {
    case display_layout_item::kNotVerified:
    case display_layout_item::kNotPoweredOn:
        return kStatusNotVerified;
    case display_layout_item::kVerified:
        return verified_status_id(record);
    case display_layout_item::kVerifyFailed:
        return kStatusVerifyFailed;
    case display_layout_item::kUnsupportedModel:
        return kStatusUnsupportedModel;
    case display_layout_item::kUnsupportedFirmware:
        return kStatusUnsupportedFirmware;
    default:
        return 0;
    }
}

} // namespace

QString display_status_text(const display_layout_item &item, const CAdjustValue *record)
{
    const int id = status_id(item, record);
    return id == 0 ? QString() : string_resource(id);
}

QString target_white_point_text(const CTargetValue &target)
{
    const CColorTemperature white = target.GetWhitePoint();
    QString text = target.GetWhitePointText();
    if (white.IsKelvinSpecified() && !white.IsNative())
        text += QStringLiteral(" (CIE xy %L1, %L2)").arg(white.GetX(), 0, 'f', 3).arg(white.GetY(), 0, 'f', 3);
    return text;
}

unsigned int gain_code(double gain)
{
    return static_cast<unsigned int>(rounded(gain * 255.0));
}

long long rounded(double value)
{
    // A record read from a file may hold anything; the conversion of a value
    // outside the integer range would be undefined.
    constexpr double kLimit = 1e15;
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(std::max(-kLimit, std::min(kLimit, value + 0.5)));
}

trimmed_gain_codes gain_codes(const CAdjustValue &record)
{
    trimmed_gain_codes codes{};
    for (size_t c = 0; c < 3; ++c) {
        codes.untrimmed[c] = gain_code(record.gain[c]);
        codes.trimmed[c] = rounded(record.gain[c] * 255.0 * record.visual_trim_multiplier[c]);
    }
    return codes;
}
