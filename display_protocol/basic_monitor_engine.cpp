// The patch generator and its level registers, the internal calibration
// engine's controls and commands, and corner uniformity.
#include "display_protocol/basic_monitor.h"

#include "colour/CAdjustValue.h"
#include "colour/CornerUniformityEntry.h"
#include "display_protocol/PDCommProtocol_retry.h"
#include "display_protocol/control_codes.h"

namespace {

constexpr std::array<int, 3> kEngineLevels{
    {control_code::kEngineLevelRed, control_code::kEngineLevelGreen, control_code::kEngineLevelBlue}};
constexpr std::array<int, 3> kPagedLevels{
    {control_code::kPagedLevelRed, control_code::kPagedLevelGreen, control_code::kPagedLevelBlue}};
constexpr std::array<int, 3> kExpertModeLevels{
    {control_code::kExpertLevelRed, control_code::kExpertLevelGreen, control_code::kExpertLevelBlue}};
constexpr quint8 kExpertModeOn = 2;
constexpr quint8 kExpertModeOff = 0;
constexpr int kPatchOn = 2;
constexpr int kPatchOff = 1;
constexpr uint kCycleStepMs = 1000;

constexpr int kEngineRunError = 3;
constexpr int kEngineRunReads = 21;
constexpr uint kEngineRunPollMs = 1000;
constexpr int kEngineOn = 2;
constexpr int kEngineOff = 1;
constexpr uint kEngineSwitchSettleMs = 4000;

} // namespace

// --- level registers ----------------------------------------------------------

basic_monitor::level_registers basic_monitor::level_registers_for(bool engine)
{
    if (engine)
        return {kEngineLevels, false};
    if (m_rgb_family == kFamilyUnknown)
        detect_rgb_level_registers();
    if (m_rgb_family == kFamilyExpertMode)
        return {kExpertModeLevels, true};
    return {kPagedLevels, false};
}

// Runs |body| with the registers reachable; the expert mode is always left
// again, even after a failure inside it, and the first failure is returned.
template <typename Body>
int basic_monitor::in_level_mode(const level_registers &registers, Body &&body)
{
    if (!registers.expert_mode)
        return body();
    if (const int status = set_mode_c011(kExpertModeOn))
        return status;
    const int status = body();
    const int left = set_mode_c011(kExpertModeOff);
    return status != kOk ? status : left;
}

int basic_monitor::detect_rgb_level_registers()
{
    m_rgb_family = kFamilyUnknown;
    int value = 0, max = 0;
    if (get_vcp_with_max(kPagedLevels[0], value, max) == kOk) {
        m_rgb_family = kFamilyPaged;
    } else {
        set_mode_c011(kExpertModeOn);
        if (get_vcp_with_max(kExpertModeLevels[0], value, max) == kOk)
            m_rgb_family = kFamilyExpertMode;
        set_mode_c011(kExpertModeOff);
    }
    return m_rgb_family;
}

int basic_monitor::set_rgb_levels(int red, int green, int blue, bool engine)
{
    const level_registers registers = level_registers_for(engine);
    const int levels[] = {red, green, blue};
    return in_level_mode(registers, [&] {
        for (int channel = 0; channel < 3; ++channel) {
            if (const int status = set_value(registers.codes[static_cast<size_t>(channel)], levels[channel]))
                return status;
        }
        return static_cast<int>(kOk);
    });
}

int basic_monitor::get_rgb_levels(int &red, int &green, int &blue, int &red_max, int &green_max, int &blue_max,
                                  bool engine)
{
    const level_registers registers = level_registers_for(engine);
    int *values[] = {&red, &green, &blue};
    int *maxima[] = {&red_max, &green_max, &blue_max};
    return in_level_mode(registers, [&] {
        for (int channel = 0; channel < 3; ++channel) {
            if (const int status = get_vcp_with_max(registers.codes[static_cast<size_t>(channel)], *values[channel],
                                                    *maxima[channel]))
                return status;
        }
        return static_cast<int>(kOk);
    });
}

int basic_monitor::set_rgb_level(int channel, int value, bool engine)
{
    const level_registers registers = level_registers_for(engine);
    return in_level_mode(registers, [&] { return set_value(registers.codes[static_cast<size_t>(channel)], value); });
}

int basic_monitor::set_rgb_level_red(int value, bool engine) { return set_rgb_level(0, value, engine); }
int basic_monitor::set_rgb_level_green(int value, bool engine) { return set_rgb_level(1, value, engine); }
int basic_monitor::set_rgb_level_blue(int value, bool engine) { return set_rgb_level(2, value, engine); }

int basic_monitor::set_vcp_2c8_or_2c3(int value, bool engine)
{
    return set_value(engine ? control_code::kEnginePatchGenerator : control_code::kPatchGenerator, value);
}

int basic_monitor::get_vcp_2c8_or_2c3(int &value, bool engine)
{
    int max = 0;
    return get_vcp_with_max(engine ? control_code::kEnginePatchGenerator : control_code::kPatchGenerator, value, max);
}

int basic_monitor::cycle_rgb_levels()
{
    if (const int status = set_vcp_2c8_or_2c3(kPatchOn, false))
        return status;
    int red = 0, green = 0, blue = 0, red_max = 0, green_max = 0, blue_max = 0;
    if (const int status = get_rgb_levels(red, green, blue, red_max, green_max, blue_max, false))
        return status;
    if (const int status = set_rgb_levels(red, green, blue, false))
        return status;
    pause(kCycleStepMs);
    if (const int status = set_rgb_levels(0, 0, 0, false))
        return status;
    pause(kCycleStepMs);
    return set_vcp_2c8_or_2c3(kPatchOff, false);
}

// --- internal calibration engine ------------------------------------------------

int basic_monitor::is_vcp_1017_supported()
{
    return raw_read_supported(control_code::kEngineProcedure) ? kOk : kProcedureNotSupported;
}

int basic_monitor::get_vcp_1017(int &value, int &max) { return get_pair(control_code::kEngineProcedure, value, max); }
int basic_monitor::set_vcp_1017(int value) { return set_value(control_code::kEngineProcedure, value); }
int basic_monitor::get_vcp_1018(int &value, int &max) { return get_pair(control_code::kEngineState, value, max); }
int basic_monitor::set_vcp_1018(int value) { return set_value(control_code::kEngineState, value); }
int basic_monitor::get_vcp_11ce(int &value, int &max) { return get_pair(control_code::kVcp11CE, value, max); }

int basic_monitor::get_vcp_11c5(quint8 &current_high, quint8 &current_low, quint8 &max_high, quint8 &max_low)
{
    int value = 0, max = 0;
    const int status = get_vcp_with_max(control_code::kEngineProgress, value, max);
    current_high = static_cast<quint8>(value >> 8);
    current_low = static_cast<quint8>(value);
    max_high = static_cast<quint8>(max >> 8);
    max_low = static_cast<quint8>(max);
    return status;
}

int basic_monitor::engine_command_c257(std::array<quint32, 3> &values)
{
    return link_command([&] { return m_link->engine_command_c257(&values); });
}

int basic_monitor::engine_command_c258(const std::array<quint32, 3> &values, quint8 &status_byte,
                                       std::array<quint8, 12> &reply)
{
    return link_command([&] { return m_link->engine_command_c258(values, &status_byte, &reply); });
}

int basic_monitor::wait_for_vcp_2aa(uint &value, int wanted)
{
    for (int reads = 1;; ++reads) {
        pause(kEngineRunPollMs);
        const int status = get_vcp(control_code::kEngineRunState, value);
        if (reads == kEngineRunReads)
            return kWaitGaveUp;
        if (status == kOk && value == kEngineRunError)
            return kWaitGaveUp;
        if (status != kOk || value == static_cast<uint>(wanted))
            return status;
    }
}

int basic_monitor::set_vcp_1147_and_wait(bool on)
{
    uint value = 0;
    if (const int status = get_vcp(control_code::kEngineSwitch, value))
        return status;
    const int wanted = on ? kEngineOn : kEngineOff;
    if (value == static_cast<uint>(wanted))
        return kOk;
    const int status = set_value(control_code::kEngineSwitch, wanted);
    pause(kEngineSwitchSettleMs);
    return status;
}

bool basic_monitor::supports_vcp_1147_and_1192()
{
    return raw_read_supported(control_code::kEngineSwitch) && raw_read_supported(kEngineLevels[0]);
}

int basic_monitor::configure_for_calibration(CAdjustValue &record)
{
    record.native_gamut_valid = 0;
    QList<vcp_list_item> list {vcp_list_item::write(control_code::kNativeGamutEnable, 1, true)};
    for (int i = 0; i < control_code::kNativeGamutCount; ++i)
        list << vcp_list_item::read(control_code::kNativeGamutFirst + i);
    const int status = apply_vcp_list(list, true);
    if (status != kOk)
        return status;
    // A read the display refused leaves the list running but gives no value.
    for (int i = 0; i < control_code::kNativeGamutCount; ++i) {
        if (list.at(i + 1).result != kOk)
            return status;
    }
    for (int i = 0; i < control_code::kNativeGamutCount; ++i)
        record.native_gamut[static_cast<size_t>(i)] = static_cast<qint16>(static_cast<quint16>(list.at(i + 1).value));
    record.native_gamut_valid = 1;
    return status;
}

int basic_monitor::is_vcp_27f_near_max(bool &near)
{
    near = false;
    int value = 0, max = 0;
    if (const int status = get_vcp_with_max(control_code::kBacklightDrive, value, max))
        return status;
    near = value >= static_cast<int>(max * 0.99);
    return kOk;
}

int basic_monitor::set_vcp_if_changed(int code, int value, int &max, bool &changed)
{
    changed = false;
    int current = 0;
    quint8 result = 0, type = 0;
    if (const int status = get_vcp_raw(code, current, max, result, type))
        return status;
    if (result != 0)
        return kNotSupported;
    if (current == value)
        return kOk;
    int write_max = 0, now = 0;
    if (const int status = set_vcp_raw(code, static_cast<uint>(value), result, type, write_max, now))
        return status;
    if (result != 0)
        return kNotSupported;
    changed = true;
    return kOk;
}

// --- corner uniformity -------------------------------------------------------------

bool basic_monitor::supports_corner_uniformity()
{
    return raw_read_supported(control_code::kCornerSelect);
}

int basic_monitor::get_corner_uniformity(int corner, CornerUniformityEntry &entry)
{
    if (const int status = set_value(control_code::kCornerSelect, corner))
        return status;
    int area = 0, area_max = 0;
    if (const int status = get_vcp_with_max(control_code::kCornerArea, area, area_max))
        return status;
    entry.first_offset = area >> 8 & 0xFF;
    entry.second_offset = area & 0xFF;
    entry.first_span = area_max >> 8 & 0xFF;
    entry.second_span = area_max & 0xFF;
    uint size = 0;
    const int status = get_vcp(control_code::kCornerSize, size);
    if (status == kOk)
        entry.size_level = static_cast<qint32>(size);
    return status;
}

int basic_monitor::set_corner_uniformity(int corner, const CornerUniformityEntry &entry)
{
    if (const int status = set_value(control_code::kCornerSelect, corner))
        return status;
    if (const int status = set_value(control_code::kCornerArea, entry.PackedArea()))
        return status;
    return set_value(control_code::kCornerSize, entry.size_level);
}

int basic_monitor::set_corner_uniformity_checked(int corner, const CornerUniformityEntry &entry, bool &changed)
{
    changed = false;
    if (const int status = set_value(control_code::kCornerSelect, corner))
        return status;
    int max = 0;
    bool area_changed = false, size_changed = false;
    if (const int status = set_vcp_if_changed(control_code::kCornerArea, entry.PackedArea(), max, area_changed))
        return status;
    changed = area_changed;
    const int status = set_vcp_if_changed(control_code::kCornerSize, entry.size_level, max, size_changed);
    changed = changed || size_changed;
    return status;
}
