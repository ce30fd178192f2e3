#include "simulator/sim_model_controls.h"

#include "simulator/sim_control_codes.h"

#include <algorithm>

namespace sim_model_controls {
namespace {

using namespace sim_code;

constexpr bool kReadOnly = true;
constexpr quint16 kWord = 0xFFFF;

struct row
{
    quint16 code;
    quint16 current;
    quint16 max;
    quint16 minimum = 0;
    bool read_only = false;
    reset_group group = kNoReset;
};

// Every model has these.
const row kCommon[] = {
    {kFactoryColourReset, 0, 1}, {kBrightness, 80, 100, 0, false, kPictureDefaults},
    {kContrast, 50, 100, 0, false, kPictureDefaults}, {kColourPreset, 11, 11}, {kGainRed, 255, 255}, {kGainGreen, 255, 255},
    {kGainBlue, 255, 255}, {0x66, 1, 1}, {0x92, 50, 100, 0, false, kPictureDefaults},
    {0x90, 50, 100, 0, false, kPictureDefaults}, {0x21F, 50, 100, 0, false, kPictureDefaults},
    {kPower, 1, 4}, {0xFF, 6000, kWord, 0, kReadOnly}, {0xFA, 7000, kWord, 0, kReadOnly},
    {0xE1, 1, 1}, {0x2D6, 2, 2}, {0x240, 1, 2}, {0x2BE, 1, 2}, {0x10D3, 2, 2}, {0x103F, 1, 2},
    {0x21A, 4, 4}, {0x22D, 0, 1}, {0x241, 0, 3}, {kColourMode, 1, 14}, {kBacklightDrive, 100, 100},
    {kPatch, 1, 2}, {0x10C8, 1, 1}, {0x1075, 1, 1}, {0x1040, 3, 3}, {0x2E3, 3, 3},
    {kDefaultsReset, 0, 3}, {0x23F, 1, 4}, {0x1095, 0, 1}, {0x107F, 0, 0x3FF},
    {kMonitorId, 1, 0xFF, 0, kReadOnly},
};

constexpr row picture(quint16 code)
{
    return {code, 50, 100, 0, false, kPictureDefaults};
}

// Six-axis colour trim: hue, saturation and offset of red, yellow, green,
// cyan, blue and magenta.
const row kSixAxis[] = {
    picture(0x9B),  picture(0x9C),  picture(0x9D),  picture(0x9E),  picture(0x9F),  picture(0xA0),
    picture(0x212), picture(0x213), picture(0x214), picture(0x215), picture(0x216), picture(0x217),
    picture(0x2F1), picture(0x2F2), picture(0x2F3), picture(0x2F4), picture(0x2F5), picture(0x2F6),
};

const row kSharpness[] = {{0x8C, 12, 24, 0, false, kPictureDefaults}};

// Size and position; zoom and its expansions start at 1.
const row kSizeAndPosition[] = {
    {0x20, 50, 100, 0, false, kSizeDefaults},  {0x30, 50, 100, 0, false, kSizeDefaults},
    {0x0E, 50, 100, 0, false, kSizeDefaults},  {0x3E, 16, 31, 0, false, kSizeDefaults},
    {0x250, 50, 100, 0, false, kSizeDefaults}, {0x251, 50, 100, 0, false, kSizeDefaults},
    {0x26F, 1, 100, 1, false, kSizeDefaults},  {0x26C, 1, 100, 1, false, kSizeDefaults},
    {0x26D, 1, 100, 1, false, kSizeDefaults},  {0x2CC, 50, 100, 0, false, kSizeDefaults},
    {0x2CD, 50, 100, 0, false, kSizeDefaults}, {kInputResolution, 1, 7, 1, false, kSizeDefaults},
    {0x2CE, 1, 5, 1, false, kSizeDefaults},    {0x270, 2, 4, 1, false, kSizeDefaults},
};

// Analog set-up of the older generation: auto set-up, and auto bias/gain
// in expert mode.
const row kAutoSetup[] = {{0x1E, 0, 1}, {kAutoBiasGain, 0, 1}};

const row kEdgeCompensation[] = {{0x1088, 2, 2}, {0x108C, 1, 3}, {0x108D, 50, 100}};

// Analog offsets (red, green, blue) in either set of codes, and gains.
const row kAnalogOffsets[] = {{0x1098, 128, 255}, {0x1099, 128, 255}, {0x109A, 128, 255}};
const row kAlternateOffsets[] = {{0x109B, 128, 255}, {0x109C, 128, 255}, {0x109D, 128, 255}};
const row kAnalogGains[] = {{0x109E, 128, 255}, {0x109F, 128, 255}, {0x10A0, 128, 255}};

// Tile matrix: columns, rows, position and tile compensation (0x2D3 with
// the model's maximum apart); the advanced settings of the newer models.
const row kTileMatrix[] = {{0x2D0, 1, 10, 1}, {0x2D1, 1, 10, 1}, {0x2D2, 1, 100, 1}, {0x2D5, 1, 2, 1}};
const row kTileMatrixAdvanced[] = {{0x104A, 1, 2, 1}, {0x1101, 1, 3, 1}, {0x1102, 150, 1000},
                                   {0x1103, 0, 1000}, {0x1104, 1, 3, 1}, {0x1105, 1, 2, 1}};
constexpr quint16 kTileMatrixSwitch = 0x2D3;
constexpr quint16 kTileMatrixOn = 2;

constexpr quint16 kPowerOnDelay = 0x2D8;
constexpr quint16 kFanMode = 0x27D;
// Per sensor: its temperature limit (maximum: the upper limit) and the span
// below that limit (maximum: the span), in degrees Celsius.
constexpr quint16 kTemperatureLimits = 0x10E0;
constexpr quint16 kUpperLimit = 70, kLimit = 60, kSpan = 30;

const row kMinuteCounters[] = {
    {0x11FE, 0, kWord, 0, kReadOnly}, {0x11FF, 12345, kWord, 0, kReadOnly},
    {0x11FA, 1, kWord, 0, kReadOnly}, {0x11FB, 100, kWord, 0, kReadOnly},
};

const row kEngine[] = {
    {kEngineSwitch, 1, 2},         {kEngineLevels[0], 1023, 1023}, {kEngineLevels[1], 1023, 1023},
    {kEngineLevels[2], 1023, 1023}, {kEnginePatch, 1, 2},          {kProcedure, 0, 13},
    {kEngineState, 0, 7},          {kEngineRun, 0, 3, 0, kReadOnly}, {kEngineProgress, 0, 0, 0, kReadOnly},
    {0x11CE, 0, 100},              {0x11B0, 1, 1},                {0x1050, 1, 8},
    {0x1051, 8, 15},               {kEngineWhiteX, 313, 1000},    {kEngineWhiteY, 329, 1000},
    {kEngineBlack, 0, 100},        {0x1055, 640, 1000},           {0x1056, 330, 1000},
    {0x1057, 300, 1000},           {0x1058, 600, 1000},           {0x1059, 150, 1000},
    {0x105A, 60, 1000},            {0x105B, 1, 1},                {0x105C, 0, 1},
    {0x105D, 16, 31},              {0x1062, 1, 1},                {0x1067, 1, 3},
    {0x1069, 1, 1},                {0x106B, 1, 3},                {0x233, 0, 1},
    {0x254, 1, 1},                 {0x106F, 20, 500, 0, kReadOnly}, {kEngineLuminance, 300, 500},
    {kEngineHeldLuminance, 300, 500, 0, kReadOnly}, {kUniformityLimit, 450, 500, 0, kReadOnly},
    {kGamma, 220, 300},            {kUniformityLevel, 0, 5},
};

const row kCorners[] = {{kCornerSelect, 0, 3}, {kCornerSize, 0, 2}, {kCornerArea, 0x2020, 0x4040}};
// The uniformity measurement's grid, 3 to 10 points each way.
const row kUniformityGrid[] = {{kUniformityPoints, 0x0505, 0x0A0A, 0x0303}};

void add(sim_control_table &controls, const row &r)
{
    if (r.read_only) {
        controls.set_read_only(r.code, r.current, r.max);
        return;
    }
    controls.set(r.code, r.current, r.max);
    controls.find(r.code)->minimum = r.minimum;
}

template <size_t N>
void add(sim_control_table &controls, const row (&rows)[N])
{
    for (const row &r : rows)
        add(controls, r);
}

void add_cooling(sim_control_table &controls, const sim_model_profile &p)
{
    controls.set(kTemperatureSelect, 1, static_cast<quint16>(p.temperature_sensors));
    controls.set_read_only(kTemperature, 0, kWord);
    controls.set(kFanSelect, 1, static_cast<quint16>(p.fans));
    controls.set_read_only(kFanState, 0, 2);
    add(controls, row {kFanMode, 1, static_cast<quint16>(p.fan_mode_max), 1});
    for (int s = 0; s < p.temperature_sensors; ++s) {
        const quint16 limit = static_cast<quint16>(kTemperatureLimits + 2 * s);
        controls.set(limit, kLimit, kUpperLimit);
        controls.set_read_only(static_cast<quint16>(limit + 1), kSpan, kSpan);
    }
}

void add_tile_matrix(sim_control_table &controls, const sim_model_profile &p)
{
    if (p.tile_matrix_max <= 0)
        return;
    const quint16 off = p.tile_matrix_max == kTileMatrixOn ? 1 : 3;
    controls.set(kTileMatrixSwitch, off, static_cast<quint16>(p.tile_matrix_max));
    add(controls, kTileMatrix);
    if (!p.older_generation)
        add(controls, kTileMatrixAdvanced);
}

void add_analog(sim_control_table &controls, const sim_model_profile &p)
{
    if (p.analog == sim_model_profile::kNoAnalog)
        return;
    add(controls, p.analog == sim_model_profile::kAlternateOffsets ? kAlternateOffsets : kAnalogOffsets);
    add(controls, kAnalogGains);
}

void add_levels(sim_control_table &controls, const sim_model_profile &p)
{
    for (quint16 code : p.levels == sim_model_profile::kExpertModeLevels ? kExpertLevels : kPagedLevels)
        controls.set(code, static_cast<quint16>(p.level_max), static_cast<quint16>(p.level_max));
    if (p.short_table)
        controls.set(kShortTable, 0, 1);
    if (p.table_max)
        controls.set_read_only(kTableMax, static_cast<quint16>(p.table_max), static_cast<quint16>(p.table_max));
}

template <size_t N>
void put_back(const row (&rows)[N], reset_group group, sim_control_table &controls)
{
    for (const row &r : rows) {
        sim_control *c = controls.find(r.code);
        if (r.group == group && c && c->supported)
            c->current = r.current;
    }
}

} // namespace

sim_control_table build(const sim_model_profile &p)
{
    sim_control_table controls;
    add(controls, kCommon);
    add(controls, kSixAxis);
    if (p.sharpness)
        add(controls, kSharpness);
    add(controls, kSizeAndPosition);
    const quint16 first_input = p.inputs.size() ? *p.inputs.begin() : 0;
    const quint16 last_input = p.inputs.size() ? *std::max_element(p.inputs.begin(), p.inputs.end()) : 0;
    controls.set(kInput, first_input, last_input);
    controls.set(kPowerOnDelay, 0, static_cast<quint16>(p.power_on_delay_max));
    add_cooling(controls, p);
    add_tile_matrix(controls, p);
    add_levels(controls, p);
    if (p.older_generation)
        add(controls, kAutoSetup);
    else
        add(controls, kEdgeCompensation);
    add_analog(controls, p);
    if (p.minute_counters)
        add(controls, kMinuteCounters);
    if (p.engine)
        add(controls, kEngine);
    if (p.corner_uniformity)
        add(controls, kCorners);
    if (p.engine && p.corner_uniformity)
        add(controls, kUniformityGrid);
    return controls;
}

void reset(reset_group group, sim_control_table &controls)
{
    put_back(kCommon, group, controls);
    put_back(kSixAxis, group, controls);
    put_back(kSharpness, group, controls);
    put_back(kSizeAndPosition, group, controls);
}

} // namespace sim_model_controls
