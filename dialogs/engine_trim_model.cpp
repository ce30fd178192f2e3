#include "dialogs/engine_trim_model.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/adjustment_status.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

#include <algorithm>

namespace {

using namespace control_code;

constexpr quint8 kPowerOn = 1;
constexpr int kLevelModeOn = 2;
constexpr int kLevelModeOff = 1;
constexpr int kEnginePreset = 11;

int centre_of(int span)
{
    return span / 2;
}

} // namespace

engine_trim_model::engine_trim_model(basic_monitor *monitor) : m_monitor(monitor), m_link(monitor)
{
}

int engine_trim_model::set(int code, int value)
{
    uint written = uint(value);
    return m_monitor->set_vcp(code, written);
}

int engine_trim_model::load(int index, const layout_manager &layout, const CMonitorTracker &records)
{
    m_uniformitySupported = false;
    m_levelModeValue = kLevelModeOff;
    m_untrimmed = trim_values();
    display_layout_item item;
    if (const int status = layout.get_item(index, item))
        return status;
    m_portrait = item.orientation == display_layout_item::kPortrait;
    const int status = open_and_read(item, layout, records, index);
    if (status != 0)
        m_link.release();
    return status;
}

int engine_trim_model::open_and_read(const display_layout_item &item, const layout_manager &,
                                     const CMonitorTracker &records, int)
{
    if (const int status = m_link.open(item))
        return status;
    quint8 power = kPowerOn;
    if (const int status = m_monitor->get_power_state(power))
        return status;
    if (power != kPowerOn)
        return adjustment_status::kNotPoweredOn;
    m_record = monitor_tracker_item(item.model_name, item.serial_number);
    if (const int found = records.GetAdjustValue(m_record); found < 0)
        return found;
    take_record_values();
    if (const int status = put_values())
        return status;
    if (const int status = put_levels_at_maximum())
        return status;
    return m_cornersSupported ? put_corners() : 0;
}

void engine_trim_model::take_record_values()
{
    const qint16 flags = m_record.visual_trim_flags;
    m_untrimmed = {m_record.backlight_setting, m_record.engine_white_x, m_record.engine_white_y,
                   m_record.uniformity_level};
    m_current.luminance = flags & CAdjustValue::kTrimBacklight ? m_record.backlight_visual_trim : m_untrimmed.luminance;
    m_current.x = flags & CAdjustValue::kTrimEngineWhiteX ? m_record.engine_white_x_visual_trim : m_untrimmed.x;
    m_current.y = flags & CAdjustValue::kTrimEngineWhiteY ? m_record.engine_white_y_visual_trim : m_untrimmed.y;
    m_current.level =
        flags & CAdjustValue::kTrimUniformityLevel ? m_record.uniformity_level_visual_trim : m_untrimmed.level;
    m_atOpen = m_current;
    m_luminanceMinimum = m_record.backlight_minimum;
    m_luminanceMaximum = m_record.backlight_maximum;
    m_candela = m_record.engine_luminance_flag != 0;
    m_cornersSupported = m_record.corner_uniformity_flag != 0;
    for (int corner = 0; corner < 4; ++corner)
        m_record.GetChannelEntry(corner, m_corners[corner]);
    m_cornersAtOpen = m_corners;
}

int engine_trim_model::put_values()
{
    bool changed = false;
    int maximum = 0;
    const int level_status = m_monitor->set_vcp_if_changed(kUniformityLevel, m_current.level, maximum, changed);
    if (level_status == 0) {
        m_uniformitySupported = true;
        m_levelMaximum = maximum;
    } else if (level_status != basic_monitor::kNotSupported) {
        return level_status;
    }
    const std::pair<int, int> writes[] = {{kColorPreset, kEnginePreset},
                                          {kEngineLuminance, m_current.luminance},
                                          {kEngineWhiteX, m_current.x},
                                          {kEngineWhiteY, m_current.y}};
    for (const auto &write : writes) {
        const int status = m_monitor->set_vcp_if_changed(write.first, write.second, maximum, changed);
        if (status == basic_monitor::kNotSupported)
            return adjustment_status::kWrongColourMode;
        if (status != 0)
            return status;
    }
    return 0;
}

int engine_trim_model::put_levels_at_maximum()
{
    m_monitor->get_vcp_2c8_or_2c3(m_levelModeValue, true);
    m_monitor->set_vcp_2c8_or_2c3(kLevelModeOn, true);
    int levels[3] = {0, 0, 0}, maxima[3] = {0, 0, 0};
    if (const int status =
            m_monitor->get_rgb_levels(levels[0], levels[1], levels[2], maxima[0], maxima[1], maxima[2], true))
        return status;
    if (std::equal(std::begin(levels), std::end(levels), std::begin(maxima)))
        return 0;
    return m_monitor->set_rgb_levels(maxima[0], maxima[1], maxima[2], true);
}

int engine_trim_model::put_corners()
{
    bool any = false;
    for (int corner = 0; corner < 4; ++corner) {
        if (!m_corners[corner].IsRead())
            continue;
        bool changed = false;
        if (const int status = m_monitor->set_corner_uniformity_checked(corner, m_corners[corner], changed))
            return status;
        any = any || changed;
    }
    return any && m_uniformitySupported ? set(kUniformityLevel, m_current.level) : 0;
}

int engine_trim_model::write_white_and_level(const trim_values &wanted)
{
    int status = 0;
    const std::pair<int, int trim_values::*> writes[] = {{kEngineWhiteX, &trim_values::x},
                                                          {kEngineWhiteY, &trim_values::y},
                                                          {kUniformityLevel, &trim_values::level}};
    for (const auto &write : writes) {
        if (write.first == kUniformityLevel && !m_uniformitySupported)
            continue;
        if (wanted.*write.second == m_current.*write.second)
            continue;
        status = set(write.first, wanted.*write.second);
        if (status == basic_monitor::kBusy)
            return status;
        if (status == 0)
            m_current.*write.second = wanted.*write.second;
    }
    return status;
}

int engine_trim_model::write_luminance(int luminance)
{
    const int status = set(kEngineLuminance, luminance);
    if (status == 0)
        m_current.luminance = luminance;
    return status;
}

int engine_trim_model::read_uniformity_limit()
{
    int value = 0, maximum = 0;
    const int status = m_monitor->get_vcp_with_max(kUniformityLimit, value, maximum);
    m_uniformityLimit = status == 0 ? value : 0;
    return status;
}

int engine_trim_model::read_held_luminance(int &value)
{
    int maximum = 0;
    return m_monitor->get_vcp_with_max(kEngineHeldLuminance, value, maximum);
}

int engine_trim_model::rewrite_level()
{
    return m_uniformitySupported ? set(kUniformityLevel, m_current.level) : 0;
}

int engine_trim_model::write_selected_corner()
{
    if (!valid_corner())
        return 0;
    const int status = m_monitor->set_corner_uniformity(m_selected, m_corners[m_selected]);
    if (status != 0)
        return status;
    return rewrite_level();
}

int engine_trim_model::write_corner_size(int size)
{
    for (const std::pair<int, int> &write :
         {std::make_pair(kCornerSelect, m_selected), std::make_pair(kCornerSize, size),
          std::make_pair(kUniformityLevel, m_current.level)}) {
        if (const int status = set(write.first, write.second))
            return status;
    }
    if (valid_corner())
        m_corners[m_selected].size_level = size;
    return 0;
}

bool engine_trim_model::at_centre(const CornerUniformityEntry &entry)
{
    return entry.first_offset == centre_of(entry.first_span) && entry.second_offset == centre_of(entry.second_span);
}

int engine_trim_model::reset_corner(int corner)
{
    CornerUniformityEntry &entry = m_corners[corner];
    if (at_centre(entry))
        return 0;
    const CornerUniformityEntry before = entry;
    entry.first_offset = centre_of(entry.first_span);
    entry.second_offset = centre_of(entry.second_span);
    if (const int status = m_monitor->set_corner_uniformity(corner, entry)) {
        entry = before;
        return status;
    }
    return 1;
}

bool engine_trim_model::set_corner_offsets(int first, int second)
{
    if (!valid_corner())
        return false;
    CornerUniformityEntry &entry = m_corners[m_selected];
    entry.first_offset = std::clamp(first, 0, std::max(entry.first_span, 0));
    entry.second_offset = std::clamp(second, 0, std::max(entry.second_span, 0));
    return true;
}

bool engine_trim_model::move_corner(int first, int second)
{
    if (!valid_corner())
        return false;
    const CornerUniformityEntry &entry = m_corners[m_selected];
    return set_corner_offsets(entry.first_offset + first, entry.second_offset + second);
}

bool engine_trim_model::corner_editing(int level) const
{
    return m_cornersSupported && level != 0
           && std::any_of(m_corners.begin(), m_corners.end(),
                          [](const CornerUniformityEntry &entry) { return entry.IsRead(); });
}

bool engine_trim_model::any_corner_off_centre() const
{
    return std::any_of(m_corners.begin(), m_corners.end(),
                       [](const CornerUniformityEntry &entry) { return entry.IsRead() && !at_centre(entry); });
}

void engine_trim_model::accept(CMonitorTracker &records)
{
    {
        wait_cursor cursor;
        m_monitor->save_current_settings();
        if (m_levelModeValue != kLevelModeOn)
            m_monitor->set_vcp_2c8_or_2c3(kLevelModeOff, true);
    }
    m_link.release();
    qint16 flags = 0;
    const auto trim = [&](int current, int untrimmed, qint16 bit) {
        if (current == untrimmed)
            return 0;
        flags |= bit;
        return current;
    };
    m_record.backlight_visual_trim =
        quint16(trim(m_current.luminance, m_untrimmed.luminance, CAdjustValue::kTrimBacklight));
    m_record.engine_white_x_visual_trim = quint16(trim(m_current.x, m_untrimmed.x, CAdjustValue::kTrimEngineWhiteX));
    m_record.engine_white_y_visual_trim = quint16(trim(m_current.y, m_untrimmed.y, CAdjustValue::kTrimEngineWhiteY));
    m_record.uniformity_level_visual_trim =
        qint16(trim(m_current.level, m_untrimmed.level, CAdjustValue::kTrimUniformityLevel));
    if (m_cornersSupported) {
        for (int corner = 0; corner < 4; ++corner)
            m_record.SetChannelEntry(corner, m_corners[corner]);
        const bool off_centre = std::any_of(m_corners.begin(), m_corners.end(),
                                            [](const CornerUniformityEntry &entry) { return !at_centre(entry); });
        if (off_centre)
            flags |= CAdjustValue::kTrimCorners;
    }
    m_record.visual_trim_flags = flags;
    if (m_current != m_atOpen || m_corners != m_cornersAtOpen)
        records.SetAdjustValue(m_record);
}

int engine_trim_model::write_back()
{
    bool written = false;
    const std::pair<int, int trim_values::*> writes[] = {{kEngineLuminance, &trim_values::luminance},
                                                          {kEngineWhiteX, &trim_values::x},
                                                          {kEngineWhiteY, &trim_values::y},
                                                          {kUniformityLevel, &trim_values::level}};
    for (const auto &write : writes) {
        if (write.first == kUniformityLevel && !m_uniformitySupported)
            continue;
        if (m_current.*write.second != m_atOpen.*write.second) {
            set(write.first, m_atOpen.*write.second);
            written = true;
        }
    }
    if (m_cornersSupported) {
        bool corner_written = false;
        for (int corner = 0; corner < 4; ++corner) {
            const CornerUniformityEntry &now = m_corners[corner];
            const CornerUniformityEntry &then = m_cornersAtOpen[corner];
            if (now.first_offset != then.first_offset || now.second_offset != then.second_offset
                || now.size_level != then.size_level) {
                m_monitor->set_corner_uniformity(corner, then);
                corner_written = true;
            }
        }
        if (corner_written && m_uniformitySupported)
            set(kUniformityLevel, m_atOpen.level);
        written = written || corner_written;
    }
    return written;
}

void engine_trim_model::cancel()
{
    {
        wait_cursor cursor;
        const bool written = write_back();
        if (m_levelModeValue != kLevelModeOn)
            m_monitor->set_vcp_2c8_or_2c3(kLevelModeOff, true);
        if (written)
            m_monitor->save_current_settings();
    }
    m_link.release();
}
