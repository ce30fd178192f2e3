#pragma once

#include "control_panel/core/control_row.h"

#include <QList>

// The control panel's pages by stack index, as rows of settings. A page
// without rows here is read and written by code of its own.
namespace control_page {

enum index : int {
    kPower = 0,
    kPowerSaving = 1,
    kCooling = 2,
    kVideoInput = 3,
    kPicture = 4,
    kUniformity = 5,
    kEnginePictureMode = 6,
    kCalibrationInputs = 7,
    kSizePosition = 8,
    kTileMatrix = 9,
    kTileMatrixAdvanced = 10,
    kIrRemote = 11,
    kOsd = 12,
    kGroupId = 13,
    kStatus = 14,
    kAnalog = 15,
    kAnalogAdvanced = 16,
    kClock = 17,
    kSchedule = 18,
    kAdvancedSchedule = 19,
    kHoliday = 20,
    kWeekend = 21,
    kEmpty = 22,
    kCount = 23,
};

// The rows of |page|, in reading order; empty for a page without rows.
const QList<control_row> &rows(int page);

// Pages whose rows are kept in files of their own.
QList<control_row> osd_rows();

} // namespace control_page
