#pragma once

#include <QtGlobal>

// The figures the calibration run works with, named once.
namespace calibration_constants {

// --- waits (nominal milliseconds) ---
constexpr int kPatchSettleMs = 200;         // before each patch or grey step is measured
constexpr int kWhiteRecheckMs = 5000;       // a white in tolerance is measured again after this
constexpr int kEngineWhiteRecheckMs = 8000;
constexpr int kEngineControlSettleMs = 3000; // after an engine white or black write
constexpr int kEngineLuminanceSettleMs = 5000;
constexpr int kEngineGeneratorOnMs = 2000;
constexpr int kEngineWhiteShownMs = 1000;
constexpr int kWaitStepMs = 1000;           // a countdown reports once per step

// --- white point ---
constexpr double kWhiteTolerance = 0.0005;  // in x and in y
constexpr double kRatioTolerance = 0.004;   // of each channel's ratio to the target
constexpr double kLuminanceTolerance = 0.8; // cd/m², the white loops' luminance test
constexpr double kStepShare = 60.0 / 256.0; // a channel's first step size, of its maximum
constexpr int kMinimumStepDivisor = 400;
constexpr double kStepDecay = 0.75;         // the step after a reversal
constexpr int kProportionalChanges = 3;     // reversals after which only single steps remain
constexpr int kChannelChangeLimit[3] = {5, 6, 7}; // red, green, blue stop after more reversals
constexpr int kStableIterations = 2;        // a loop is done once every count exceeds this
constexpr int kIterationLimit = 100;
constexpr int kClampLimit = 5;
constexpr int kWriteFailureLimit = 24;
constexpr double kNoLuminanceTarget = -1.0;
constexpr double kFirstPassLuminance = 2000.0; // drives every channel towards its maximum
constexpr float kNoCachedError = 999999.0f;

// --- intensity ---
constexpr int kIntensityChangeLimit = 7;
constexpr int kIntensityProportionalChanges = 4;
constexpr double kBrightnessZeroMargin = 1.1; // darkest white this far above the target: leave it
constexpr double kSettleBandLow = 0.8;        // of the target: the light settles before the next reading
constexpr double kSettleBandHigh = 1.2;
constexpr double kLuminanceMatchPercent = 1.0;
constexpr double kMinimumIntensityTolerance = 1.0; // cd/m²
constexpr int kExtendedStabilisationFactor = 6;

// --- the engine ---
constexpr int kEngineProportionalChanges = 5;
constexpr int kEngineClampLimit = 3;
constexpr int kEngineFastStepDivisor = 20;  // first decrease with the backlight at its maximum
constexpr int kEngineWhiteChangeLimit = 5;
constexpr int kEngineWhiteProportionalChanges = 3;
constexpr int kEngineWhiteStableIterations = 3;
constexpr int kEngineWhiteClampLimit = 4;
constexpr int kEngineWhiteXMin = 250, kEngineWhiteXMax = 480; // thousandths
constexpr int kEngineWhiteYMin = 250, kEngineWhiteYMax = 430;
constexpr double kEngineBlackScale = 10.0;  // the black level control counts tenths of cd/m²
constexpr double kEngineBlackBand = 0.4;    // of that scale

// --- the run ---
constexpr int kDefaultGreySteps = 32;
constexpr int kSoftwareBuild = 210208;
constexpr double kWhiteMeterSpan = 1.4;     // the white meter reaches this share above the white
constexpr double kBlackMeterDivisor = 200.0;
constexpr unsigned kReadingsPerMeasurement = 1;
constexpr quint16 kKeptStatusBits = 0x20;   // of the record's status word

} // namespace calibration_constants
