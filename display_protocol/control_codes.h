#pragma once

#include <QtGlobal>

// Every display control and command code the program sends, by name. Write a
// code here once and use its name everywhere; a control whose purpose the
// display keeps to itself is named after its number.

// Controls, read with get parameter and written with set parameter: one
// 16-bit number, page << 8 | opcode. Page 0 holds the standard (MCCS)
// controls, the higher pages the display's own.
namespace control_code {

// --- picture (page 0) ---
constexpr int kBrightness = 0x010;
constexpr int kContrast = 0x012;
constexpr int kColorPreset = 0x014;
constexpr int kVideoGainRed = 0x016;
constexpr int kVideoGainGreen = 0x018;
constexpr int kVideoGainBlue = 0x01A;
constexpr int kInputSource = 0x060;
constexpr int kVcp066 = 0x066;
constexpr int kBlackLevel = 0x092;
// Six-axis hue: red, yellow, green, cyan, blue, magenta.
constexpr int kSixAxisHueFirst = 0x09B;
constexpr int kSixAxisHueCount = 6;
constexpr int kVcp21A = 0x21A;
constexpr int kVcp22D = 0x22D;
constexpr int kVcp10C8 = 0x10C8;
constexpr int kVcp1075 = 0x1075;
constexpr int kLanPower = 0x10D3;

// --- power management ---
constexpr int kPowerSave = 0x0E1;
constexpr int kVcp2D6 = 0x2D6;
constexpr int kVcp240 = 0x240;

// --- screen ---
constexpr int kOsdOrientation = 0x241;

// --- colour mode and tone curve ---
constexpr int kColorMode = 0x268;         // 6, 13 and 14 show the uploaded table
constexpr int kVcp2E8 = 0x2E8;            // with colour mode 9: from the target gamma

// --- internal calibration engine ---
constexpr int kEngineMode = 0x1067;
constexpr int kEngineLuminance = 0x2B3;      // target white luminance, cd/m²
constexpr int kEngineHeldLuminance = 0x2B4;  // read-only: the white luminance it holds
constexpr int kEngineLuminanceMinimum = 0x106F;
constexpr int kEngineWhiteX = 0x1052;        // target white x, thousandths
constexpr int kEngineWhiteY = 0x1053;        // target white y, thousandths
constexpr int kEngineBlackLevel = 0x1054;    // tenths of cd/m²
constexpr int kEnginePictureMode = 0x1050;
constexpr int kVcp1051 = 0x1051;             // the picture mode + 7
constexpr int kVcp105B = 0x105B;
constexpr int kVcp105D = 0x105D;
constexpr int kVcp1062 = 0x1062;
constexpr int kVcp1069 = 0x1069;
constexpr int kVcp106B = 0x106B;
constexpr int kVcp11B0 = 0x11B0;
constexpr int kVcp233 = 0x233;
constexpr int kVcp254 = 0x254;
constexpr int kNativeGamutEnable = 0x105C;
constexpr int kUniformityLevel = 0x2EE;
// The panel's own white, x then y in thousandths (read-only).
constexpr int kNativeWhiteX = 0x10F8;
constexpr int kNativeWhiteY = 0x10F9;
// The panel's own primaries, thousandths: red x, red y, green x, green y,
// blue x, blue y.
constexpr int kNativeGamutFirst = 0x10FA;
constexpr int kNativeGamutCount = 6;
// The primaries the engine works to, in the same order.
constexpr int kEngineGamutFirst = 0x1055;

// --- corner uniformity ---
constexpr int kCornerSelect = 0x11C7;
constexpr int kCornerSize = 0x11C8;
constexpr int kCornerArea = 0x11C9;

} // namespace control_code
