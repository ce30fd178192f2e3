#pragma once

// The steps of a calibration run that the step picture shows, announced with
// StartingDefinedTask; and the patch kinds of CSensor::CheckPatchColor.
namespace calibration_task_code {

enum : int {
    kWhitePoint = 4,
    kUncorrectedGreyscale = 6,
    kEngineCustomCurve = 7,
    kLuminanceSettling = 8,
    kIntensity = 9,
    kBlackLevel = 10,
    kRestoreAfterFailure = 11,
    kMeasureCalibrated = 17,
    kRedPatch = 20,
    kGreenPatch = 21,
    kBluePatch = 22,
    kBlackPatch = 23,
    kWhitePatch = 24,
};

} // namespace calibration_task_code

namespace patch_kind {
enum : int { kRed = 1, kGreen = 2, kBlue = 3, kBlack = 4, kWhite = 5 };
} // namespace patch_kind
