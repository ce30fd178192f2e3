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
constexpr int kRestoreFactoryColor = 0x008; // write 1: factory colour defaults
constexpr int kBrightness = 0x010;
constexpr int kContrast = 0x012;
constexpr int kColorPreset = 0x014;
constexpr int kVideoGainRed = 0x016;
constexpr int kVideoGainGreen = 0x018;
constexpr int kVideoGainBlue = 0x01A;
constexpr int kAnalogAutoSetup = 0x01E;   // write 1: adjust to the analog input
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
constexpr int kLanPower = 0x10D3;          // in power saving: 2 on, 1 off

// --- power and usage (page 0 and paged) ---
constexpr int kPowerMode = 0x0D6;
constexpr int kPowerSave = 0x0E1;          // power saving mode: 1 enable, 0 disable
constexpr int kVcp2D6 = 0x2D6;
constexpr int kVcp240 = 0x240;
constexpr int kUsageHalfHoursB = 0x0FA;
constexpr int kUsageHalfHoursA = 0x0FF;
// Minute counters: high and low 16-bit words.
constexpr int kUsageMinutesBHigh = 0x11FA;
constexpr int kUsageMinutesBLow = 0x11FB;
constexpr int kUsageMinutesAHigh = 0x11FE;
constexpr int kUsageMinutesALow = 0x11FF;

// --- screen ---
constexpr int kMonitorId = 0x23E;         // read-only: the display's own monitor ID
constexpr int kOsdOrientation = 0x241;
constexpr int kInputResolution = 0x2DA;
constexpr int kTileMatrix = 0x2D3;        // 2 on; off is 3 where the maximum is 3, else 1

// --- colour mode, tone curve and lookup tables ---
constexpr int kColorMode = 0x268;         // 6, 13 and 14 show the uploaded table
constexpr int kVcp2E8 = 0x2E8;            // with colour mode 9: from the target gamma
constexpr int kLookupTableMaximum = 0x2CA;
constexpr int kShortLookupTable = 0x2F9;  // supported: 768-entry tables
constexpr int kVcp2F8 = 0x2F8;            // write 1 before C206 (commit)

// --- test patch generator ---
constexpr int kPatchGenerator = 0x2C3;       // 1 off, 2 on
constexpr int kEnginePatchGenerator = 0x2C8; // the same while the engine is on
// Patch levels, red, green and blue, by register family.
constexpr int kPagedLevelRed = 0x103A;
constexpr int kPagedLevelGreen = 0x103B;
constexpr int kPagedLevelBlue = 0x103C;
constexpr int kExpertLevelRed = 0x318;   // reachable in expert mode only (command C011)
constexpr int kExpertLevelGreen = 0x31A;
constexpr int kExpertLevelBlue = 0x31C;
constexpr int kAnalogAutoBiasGain = 0x31D; // write 1, in expert mode: analog bias and gain
constexpr int kEngineLevelRed = 0x1192;
constexpr int kEngineLevelGreen = 0x1193;
constexpr int kEngineLevelBlue = 0x1194;

// --- internal calibration engine ---
constexpr int kEngineSwitch = 0x1147;        // 1 off, 2 on
constexpr int kEngineMode = 0x1067;
constexpr int kEngineProcedure = 0x1017;     // 10 update calibration, 12 measurement, 13 reset settings
constexpr int kEngineState = 0x1018;         // write 1 start or resume, 2 stop
constexpr int kEngineRunState = 0x2AA;       // 1 finished, 2 running, 3 aborted
constexpr int kEngineProgress = 0x11C5;      // stage and position
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
constexpr int kVcp105F = 0x105F;
constexpr int kVcp1062 = 0x1062;
constexpr int kVcp1069 = 0x1069;
constexpr int kVcp106B = 0x106B;
constexpr int kVcp1071 = 0x1071;
constexpr int kVcp1107 = 0x1107;
constexpr int kVcp113F = 0x113F;
constexpr int kVcp1142 = 0x1142;
constexpr int kVcp1143 = 0x1143;
constexpr int kVcp11B0 = 0x11B0;
constexpr int kVcp11CE = 0x11CE;
constexpr int kVcp233 = 0x233;
constexpr int kVcp254 = 0x254;
constexpr int kBacklightDrive = 0x27F;       // per cent, while the engine is on
constexpr int kNativeGamutEnable = 0x105C;
constexpr int kUniformityLevel = 0x2EE;
constexpr int kUniformityLimit = 0x106C;     // read-only: luminance up to which the level fully applies
constexpr int kUniformityPoints = 0x11C6;    // measurement grid, first count << 8 | second
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

// --- control panel: power and picture ---
constexpr int kPowerLed = 0x2BE;             // 1 on, 2 off
constexpr int kPowerOnDelay = 0x2D8;         // seconds
constexpr int kSharpness = 0x08C;
constexpr int kTint = 0x090;
constexpr int kColor = 0x21F;
// Six-axis saturation and offset, each red, yellow, green, cyan, blue,
// magenta as the hue.
constexpr int kSixAxisSaturationFirst = 0x212;
constexpr int kSixAxisOffsetFirst = 0x2F1;
constexpr int kDefaults = 0x2CB;             // write 2: picture defaults, 3: size and position defaults

// --- control panel: cooling, video, size, tile matrix and IR ---
constexpr int kFanMode = 0x27D;
constexpr int kFanSpeed = 0x103F;            // 1 high, 2 low
// A sensor's temperature limit (its maximum: the upper limit); the next
// code's maximum is the span below the upper limit. Sensors 1 to 3, two apart.
constexpr int kFanSensorLimitFirst = 0x10E0;
constexpr int kHdmiVideoLevel = 0x1040;
constexpr int kOverscan = 0x2E3;
constexpr int kEdgeCompensation = 0x1088;    // 1 on, 2 off
constexpr int kEdgeCompensationType = 0x108C;
constexpr int kEdgeCompensationBrightness = 0x108D;
constexpr int kHPosition = 0x020;
constexpr int kVPosition = 0x030;
constexpr int kClock = 0x00E;
constexpr int kClockPhase = 0x03E;
constexpr int kHResolution = 0x250;
constexpr int kVResolution = 0x251;
constexpr int kZoom = 0x26F;
constexpr int kZoomHExpansion = 0x26C;
constexpr int kZoomVExpansion = 0x26D;
constexpr int kZoomHPosition = 0x2CC;
constexpr int kZoomVPosition = 0x2CD;
constexpr int kBaseZoom = 0x2CE;
constexpr int kAspect = 0x270;
constexpr int kTileColumns = 0x2D0;
constexpr int kTileRows = 0x2D1;
constexpr int kTilePosition = 0x2D2;         // row × columns + column + 1
constexpr int kTileCompensation = 0x2D5;     // 2 on, 1 off
constexpr int kTileMatrixMemory = 0x104A;
constexpr int kFrameCompensationMode = 0x1101;
constexpr int kFrameCompensationAuto = 0x1102;     // hundredths of a frame
constexpr int kFrameCompensationManual = 0x1103;   // hundredths of a frame
constexpr int kVScanReverseMode = 0x1104;
constexpr int kVScanReverseManual = 0x1105;
constexpr int kIrControl = 0x23F;

// --- control panel: OSD, group, status and analog ---
constexpr int kShowMonitorId = 0x1095;       // write 1: the display shows its monitor ID a while
constexpr int kGroupMask = 0x107F;           // bit 0 group A ... bit 9 group J
constexpr int kFanSensor = 0x278;            // the temperature sensor that drives the fan; 1..count (the maximum)
constexpr int kTemperature = 0x279;          // the sensor 0x278 selects, half degrees Celsius
constexpr int kFanSelect = 0x27A;            // fan 1..count (the maximum)
constexpr int kFanState = 0x27B;             // the selected fan: 0 off, 1 on, 2 error
// Analog offset (bias) red, green, blue; some displays answer them only on
// the alternate codes.
constexpr int kAnalogOffsetRed = 0x1098;
constexpr int kAnalogOffsetAlternateRed = 0x109B;
constexpr int kAnalogGainRed = 0x109E;       // then green, blue

} // namespace control_code

// Commands: a 16-bit code at the start of the body. The reply to a command
// of the pages 0xC0, 0xC2 and 0xCA carries the code plus 0x0100 (C211 is
// answered by C311) unless a command says otherwise.
namespace command_code {

constexpr quint16 reply(quint16 command)
{
    return static_cast<quint16>(command + 0x0100);
}

// --- identity and texts ---
constexpr quint16 kSerialNumber = 0xC216;
constexpr quint16 kModelName = 0xC217;
constexpr quint16 kIdentityString = 0xCA02;
constexpr quint16 kTextC00B = 0xC00B;
constexpr quint16 kTextC00E = 0xC00E;       // its reply keeps the code
constexpr quint16 kTextC226 = 0xC226;
constexpr quint16 kTextC227 = 0xC227;

// --- modes, power and keys ---
constexpr quint16 kSetMode = 0xC011;        // 2 expert mode, 0 normal
constexpr quint16 kPowerControl = 0xC203;
constexpr quint16 kIrKey = 0xC210;          // the long reply keeps the code
constexpr quint16 kPowerSaving = 0xCA0B;

// --- clock and schedules ---
constexpr quint16 kReadDateTime = 0xC211;
constexpr quint16 kWriteDateTime = 0xC212;
constexpr quint16 kReadSchedule = 0xC213;
constexpr quint16 kWriteSchedule = 0xC214;
constexpr quint16 kScheduleStatus = 0xC215;
constexpr quint16 kReadScheduleExtended = 0xC221;
constexpr quint16 kWriteScheduleExtended = 0xC222;
constexpr quint16 kReadSchedule12 = 0xC23D;
constexpr quint16 kWriteSchedule12 = 0xC23E;
constexpr quint16 kScheduleStatus12 = 0xC23F;
constexpr quint16 kHolidaySchedule = 0xCA19;
constexpr quint16 kWeekendSchedule = 0xCA1A;

// --- network ---
constexpr quint16 kMacAddress = 0xC220;
constexpr quint16 kLanSetting = 0xC22A;
constexpr quint16 kChannelRead = 0xC22C;
constexpr quint16 kChannelWrite = 0xC22D;

// --- lookup tables ---
constexpr quint16 kReadTable = 0xC204;
constexpr quint16 kWriteTable = 0xC205;
constexpr quint16 kCommitTable = 0xC206;
constexpr quint16 kActivateTable = 0xC207;
constexpr quint16 kTableC208 = 0xC208;
constexpr quint16 kTableC209 = 0xC209;
constexpr quint16 kReadShortTable = 0xC20A;
constexpr quint16 kWriteShortTable = 0xC20B;
constexpr quint16 kColourCube = 0xC22E;

// --- internal calibration engine and records ---
constexpr quint16 kEngineC257 = 0xC257;
constexpr quint16 kEngineMeasurement = 0xC258;
constexpr quint16 kEngineC259 = 0xC259;
constexpr quint16 kCalibrationHistory = 0xC25A;
constexpr quint16 kReadSensorInfo = 0xC255;
constexpr quint16 kWriteSensorInfo = 0xC256;
constexpr quint16 kLog = 0xCA15;
constexpr quint16 kProfile = 0xCA20;

// --- commands the display keeps to itself ---
constexpr quint16 kVendorC21D = 0xC21D;
constexpr quint16 kVendorCA01 = 0xCA01;
constexpr quint16 kVendorCA03 = 0xCA03;     // its result report keeps the code
constexpr quint16 kVendorCA04 = 0xCA04;
constexpr quint16 kVendorCA0A = 0xCA0A;     // its result report keeps the code
constexpr quint16 kVendorCA0C = 0xCA0C;
constexpr quint16 kVendorCA17 = 0xCA17;
constexpr quint16 kVendorCA1B = 0xCA1B;

} // namespace command_code

// Requests that start with a one-byte DDC/CI opcode instead of a code, and
// the byte their replies start with.
namespace ddc_opcode {

constexpr quint8 kGetVcp = 0x01;            // in the power read "01D6"
constexpr quint8 kTimingRequest = 0x07;
constexpr quint8 kTimingReply = 0x4E;
constexpr quint8 kSaveCurrentSettings = 0x0C;
constexpr quint8 kSelfTestRequest = 0xB1;
constexpr quint8 kSelfTestReply = 0xA1;
constexpr quint8 kCapabilitiesRequest = 0xF3;
constexpr quint8 kCapabilitiesReply = 0xE3;

} // namespace ddc_opcode
