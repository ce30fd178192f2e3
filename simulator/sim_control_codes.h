#pragma once

#include <QtGlobal>

// The display controls a simulated display treats in a way of its own (page
// << 8 | opcode), named once for the display side. Controls that are only
// stored and read back appear in the model control rows alone.
namespace sim_code {

// Picture and power.
constexpr quint16 kFactoryColourReset = 0x08;   // 1: the colour gains back to their maxima
constexpr quint16 kBrightness = 0x10;
constexpr quint16 kContrast = 0x12;
constexpr quint16 kColourPreset = 0x14;
constexpr quint16 kGainRed = 0x16;
constexpr quint16 kGainGreen = 0x18;
constexpr quint16 kGainBlue = 0x1A;
constexpr quint16 kInput = 0x60;
constexpr quint16 kPower = 0xD6;
constexpr quint16 kMonitorId = 0x23E;           // read-only: the display's own monitor ID number
constexpr quint16 kColourMode = 0x268;
constexpr quint16 kBacklightDrive = 0x27F;
constexpr quint16 kDefaultsReset = 0x2CB;       // 2: picture defaults, 3: size and position defaults
constexpr quint16 kInputResolution = 0x2DA;     // a switch the display takes its time over

// Cooling: a selector and the reading of the selected sensor or fan.
constexpr quint16 kTemperatureSelect = 0x278;
constexpr quint16 kTemperature = 0x279;         // half degrees Celsius
constexpr quint16 kFanSelect = 0x27A;
constexpr quint16 kFanState = 0x27B;

// Test patch and lookup table.
constexpr quint16 kPatch = 0x2C3;
constexpr quint16 kEnginePatch = 0x2C8;
constexpr quint16 kTableMax = 0x2CA;
constexpr quint16 kShortTable = 0x2F9;
constexpr quint16 kPagedLevels[] = {0x103A, 0x103B, 0x103C};
constexpr quint16 kExpertLevels[] = {0x318, 0x31A, 0x31C};
constexpr quint16 kAutoBiasGain = 0x31D;        // reachable in expert mode, as the levels above

// The internal calibration engine.
constexpr quint16 kProcedure = 0x1017;
constexpr quint16 kEngineState = 0x1018;
constexpr quint16 kEngineRun = 0x2AA;
constexpr quint16 kEngineProgress = 0x11C5;
constexpr quint16 kEngineSwitch = 0x1147;
constexpr quint16 kEngineLevels[] = {0x1192, 0x1193, 0x1194};
constexpr quint16 kEngineLuminance = 0x2B3;     // target white luminance, cd/m²
constexpr quint16 kEngineHeldLuminance = 0x2B4; // read-only: the white luminance it holds, cd/m²
constexpr quint16 kGamma = 0x2E8;               // gamma × 100 − 50 of tone curve 9
constexpr quint16 kUniformityLevel = 0x2EE;
constexpr quint16 kEngineWhiteX = 0x1052;       // thousandths
constexpr quint16 kEngineWhiteY = 0x1053;
constexpr quint16 kEngineBlack = 0x1054;        // tenths of cd/m²
constexpr quint16 kUniformityLimit = 0x106C;    // read-only, cd/m²
constexpr quint16 kNativeWhiteX = 0x10F8;       // read-only, thousandths; 0x10F9 its y
constexpr quint16 kNativeGamutFirst = 0x10FA;   // read-only, six values from here
constexpr quint16 kUniformityPoints = 0x11C6;   // horizontal << 8 | vertical
constexpr quint16 kCornerSelect = 0x11C7;
constexpr quint16 kCornerSize = 0x11C8;
constexpr quint16 kCornerArea = 0x11C9;

} // namespace sim_code
