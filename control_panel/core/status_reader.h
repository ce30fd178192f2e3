#pragma once

#include <QString>

#include <functional>

class basic_monitor;

// Reads what the status page shows from the display behind an open link.
namespace status_reader {

// The page's values in the order of its rows.
enum field : int {
    kModelName,
    kSerialNumber,
    kManufactureDate,
    kOperatingHours,
    kTotalOperatingHours,
    kFirmware1,
    kFirmware2,
    kFirmware3,
    kFirmware4,
    kFan1,
    kFan2,
    kFan3,
    kTemperature1,
    kTemperature2,
    kTemperature3,
    kDiagnostics,
    kHorizontalFrequency,
    kVerticalFrequency,
    kSyncStatus,
    kMacAddress,
    kFieldCount,
};

// The object name of a field's value label and of its caption label.
QString value_label(field f);
QString caption_label(field f);

// Reads the display and hands each value to |show| as soon as it is known;
// |pause| runs between the steps so that the page repaints. A value that
// cannot be read is not shown. The sensor and fan selectors are put back as
// they were found, so that reading the page changes no setting. Returns the
// result of the first read (the operating hours); when that fails nothing
// else is read.
int read(basic_monitor &monitor, const std::function<void(field, const QString &)> &show,
         const std::function<void()> &pause);

} // namespace status_reader
