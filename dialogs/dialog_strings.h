#pragma once

// The texts of the string table that the target and preference dialogs show.
namespace dialog_strings {
constexpr int kApplicationName = 1;
constexpr int kWhitePointOutOfRange = 154;
constexpr int kUseMeasuredLuminance = 155;
constexpr int kResetAllPreferences = 160;
constexpr int kSpeechLocaleNotInstalled = 203;
constexpr int kTakingMeasurement = 703;
constexpr int kTargetOffsetResetsCalibration = 726;
constexpr int kSensorNeedsZeroCalibration = 803;
constexpr int kClickOkWhenComplete = 805;
} // namespace dialog_strings
