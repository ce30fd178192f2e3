#include "dialogs/visual_trim_model.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/adjustment_status.h"
#include "display_protocol/basic_monitor.h"

#include <algorithm>

namespace {

constexpr quint8 kPowerOn = 1;
constexpr int kLevelModeOn = 2;
constexpr int kLevelModeOff = 1;
constexpr double kUntrimmedDenominatorMultiplier = 9999.0;
// Colour modes in which the calibration's gains or levels are what shows.
constexpr int kGainModes[] = {1, 4, 8};
constexpr int kLevelModes[] = {6, 13, 14};

template <size_t N>
bool one_of(int value, const int (&allowed)[N])
{
    return std::find(std::begin(allowed), std::end(allowed), value) != std::end(allowed);
}

using gain_writer = int (basic_monitor::*)(int);
using level_writer = int (basic_monitor::*)(int, bool);
constexpr gain_writer kGainWriters[] = {&basic_monitor::set_video_gain_red, &basic_monitor::set_video_gain_green,
                                        &basic_monitor::set_video_gain_blue};
constexpr level_writer kLevelWriters[] = {&basic_monitor::set_rgb_level_red, &basic_monitor::set_rgb_level_green,
                                          &basic_monitor::set_rgb_level_blue};

QColor rgb(const std::array<double, 3> &fractions)
{
    return QColor::fromRgbF(std::clamp(fractions[0], 0.0, 1.0), std::clamp(fractions[1], 0.0, 1.0),
                            std::clamp(fractions[2], 0.0, 1.0));
}

double fraction(const QColor &colour, int channel)
{
    return channel == 0 ? colour.redF() : channel == 1 ? colour.greenF() : colour.blueF();
}

} // namespace

visual_trim_model::visual_trim_model(basic_monitor *monitor) : m_monitor(monitor), m_link(monitor)
{
}

int visual_trim_model::rnd(double value)
{
    return static_cast<int>(value + 0.5);
}

int visual_trim_model::load(int index, const layout_manager &layout, const CMonitorTracker &records)
{
    display_layout_item item;
    if (const int status = layout.get_item(index, item))
        return status;
    m_record = monitor_tracker_item(item.model_name, item.serial_number);
    if (const int found = records.GetAdjustValue(m_record); found < 0)
        return found;
    int status = open_and_check(item);
    if (status == 0)
        status = read_channels();
    if (status != 0) {
        m_link.release();
        return status;
    }
    take_record_values();
    if (!m_record.GetCalibrationDateTime().isValid())
        return 0;
    status = put_current_values();
    if (status != 0)
        m_link.release();
    return status;
}

int visual_trim_model::open_and_check(const display_layout_item &item)
{
    if (const int status = m_link.open(item))
        return status;
    quint8 power = kPowerOn;
    if (const int status = m_monitor->get_power_state(power))
        return status;
    if (power != kPowerOn)
        return adjustment_status::kNotPoweredOn;
    m_gain_mode = m_record.calibration_mode != 0;
    int mode = 0, mode_max = 0;
    if (const int status = m_monitor->get_vcp_268(mode, mode_max))
        return status;
    if (m_gain_mode ? !one_of(mode, kGainModes) : !one_of(mode, kLevelModes))
        return adjustment_status::kWrongColourMode;
    return 0;
}

int visual_trim_model::read_channels()
{
    std::array<int, 3> value{}, maximum{};
    if (m_gain_mode) {
        using reader = int (basic_monitor::*)(int &, int &);
        const reader readers[] = {&basic_monitor::get_video_gain_red, &basic_monitor::get_video_gain_green,
                                  &basic_monitor::get_video_gain_blue};
        for (int c = 0; c < 3; ++c) {
            if (const int status = (m_monitor->*readers[c])(value[c], maximum[c]))
                return status;
        }
    } else if (const int status = m_monitor->get_rgb_levels(value[0], value[1], value[2], maximum[0], maximum[1],
                                                             maximum[2], false)) {
        return status;
    }
    for (int c = 0; c < 3; ++c)
        m_maximum[c] = uint(std::max(maximum[c], 0));
    return 0;
}

void visual_trim_model::take_record_values()
{
    m_backlight_untrimmed = m_record.backlight_setting;
    m_backlight = (m_record.visual_trim_flags & CAdjustValue::kTrimBacklight) ? m_record.backlight_visual_trim
                                                                            : m_record.backlight_setting;
    m_backlight_at_open = m_wanted_backlight = m_backlight;
    m_backlight_minimum = m_record.backlight_minimum;
    m_backlight_maximum = m_record.backlight_maximum;

    std::array<double, 3> untrimmed{}, trimmed{};
    const bool trim = m_record.GetCalibrationDateTime().isValid()
                      && (m_record.visual_trim_flags & CAdjustValue::kTrimGains);
    for (int c = 0; c < 3; ++c) {
        untrimmed[c] = m_record.gain[c];
        m_untrimmed[c] = rnd(m_maximum[c] * m_record.gain[c]);
        trimmed[c] = m_record.gain[c] * m_record.visual_trim_multiplier[c];
        m_current[c] = trim ? rnd(m_maximum[c] * trimmed[c]) : m_untrimmed[c];
    }
    m_at_open = m_current;
    m_untrimmed_colour = rgb(untrimmed);
    m_colour = m_colour_at_open = trim ? rgb(trimmed) : m_untrimmed_colour;
    m_redo_colour = m_colour;
}

int visual_trim_model::put_current_values()
{
    if (!m_gain_mode) {
        m_monitor->get_vcp_2c8_or_2c3(m_level_mode_value, false);
        int status = m_monitor->set_rgb_levels(m_current[0], m_current[1], m_current[2], false);
        if (m_level_mode_value != kLevelModeOn)
            status = m_monitor->set_vcp_2c8_or_2c3(kLevelModeOn, false);
        return status;
    }
    int status = 0;
    for (int c = 0; c < 3; ++c)
        status = (m_monitor->*kGainWriters[c])(m_current[c]);
    return status;
}

void visual_trim_model::set_hue_saturation(double hue, double saturation)
{
    const double value = m_colour.valueF();
    QColor colour = QColor::fromHsvF(std::clamp(hue, 0.0, 1.0), std::clamp(saturation, 0.0, 1.0), value);
    if (value > 0 && colour.red() == 0 && colour.green() == 0 && colour.blue() == 0)
        colour = QColor::fromHsvF(0, 0, value);
    m_colour = colour;
}

void visual_trim_model::set_level(double level)
{
    m_colour = QColor::fromHsvF(std::max(m_colour.hsvHueF(), 0.0), m_colour.hsvSaturationF(),
                                std::clamp(level, 0.0, 1.0));
}

void visual_trim_model::set_channel(int channel, double value)
{
    std::array<double, 3> fractions{{m_colour.redF(), m_colour.greenF(), m_colour.blueF()}};
    fractions[channel] = value;
    m_colour = rgb(fractions);
}

void visual_trim_model::step_level(double delta)
{
    set_level(m_colour.valueF() + delta);
}

visual_trim_model::step_result visual_trim_model::too_bright()
{
    if (m_wanted_backlight > m_backlight_minimum) {
        --m_wanted_backlight;
        return kBacklight;
    }
    if (m_maximum[kRed] == 0)
        return kNothing;
    step_level(-1.0 / m_maximum[kRed]);
    return kColour;
}

visual_trim_model::step_result visual_trim_model::too_dark()
{
    const bool backlight_room = m_wanted_backlight < m_backlight_maximum;
    const bool level_room = m_colour.valueF() < 1.0 && m_maximum[kRed] != 0;
    // Gain mode opens the colour up first, level mode the backlight.
    const bool backlight_first = !m_gain_mode;
    if (backlight_room && (backlight_first || !level_room)) {
        ++m_wanted_backlight;
        return kBacklight;
    }
    if (!level_room)
        return kNothing;
    step_level(1.0 / m_maximum[kRed]);
    return kColour;
}

bool visual_trim_model::undo()
{
    m_redo_colour = m_colour;
    m_redo_backlight = m_backlight;
    m_colour = m_colour_at_open;
    if (m_backlight_at_open == m_backlight)
        return false;
    m_wanted_backlight = m_backlight_at_open;
    return true;
}

bool visual_trim_model::redo()
{
    m_colour = m_redo_colour;
    if (m_redo_backlight == m_backlight)
        return false;
    m_wanted_backlight = m_redo_backlight;
    return true;
}

bool visual_trim_model::remove_all()
{
    m_colour = m_untrimmed_colour;
    if (m_backlight_untrimmed == m_backlight)
        return false;
    m_wanted_backlight = m_backlight_untrimmed;
    return true;
}

visual_trim_model::values visual_trim_model::wanted_values() const
{
    values wanted{};
    for (int c = 0; c < 3; ++c)
        wanted[c] = rnd(fraction(m_colour, c) * m_maximum[c]);
    return wanted;
}

int visual_trim_model::write_colour()
{
    const values wanted = wanted_values();
    QList<int> differing;
    for (int c = 0; c < 3; ++c) {
        if (wanted[c] != m_current[c])
            differing << c;
    }
    if (!m_gain_mode && differing.size() >= 2) {
        const int status = m_monitor->set_rgb_levels(wanted[0], wanted[1], wanted[2], false);
        if (status == 0)
            m_current = wanted;
        return status;
    }
    // Each channel that reached the display counts on its own: a failed one
    // is written again by the next change.
    int status = 0;
    for (int c : differing) {
        status = m_gain_mode ? (m_monitor->*kGainWriters[c])(wanted[c])
                             : (m_monitor->*kLevelWriters[c])(wanted[c], false);
        if (status == basic_monitor::kBusy)
            return status;
        if (status == 0)
            m_current[c] = wanted[c];
    }
    return status;
}

int visual_trim_model::write_backlight()
{
    const int status = m_monitor->set_brightness(m_wanted_backlight);
    if (status == 0)
        m_backlight = m_wanted_backlight;
    return status;
}

void visual_trim_model::accept(CMonitorTracker &records)
{
    if (m_level_mode_value != kLevelModeOn)
        m_monitor->set_vcp_2c8_or_2c3(kLevelModeOff, false);
    m_link.release();
    m_record.visual_trim_flags = m_backlight != m_backlight_untrimmed ? CAdjustValue::kTrimBacklight : 0;
    m_record.backlight_visual_trim = static_cast<quint16>(m_backlight);
    bool channels_trimmed = false;
    for (int c = 0; c < 3; ++c) {
        double multiplier = 1.0;
        if (m_current[c] != m_untrimmed[c]) {
            channels_trimmed = true;
            multiplier = m_untrimmed[c] == 0 ? kUntrimmedDenominatorMultiplier
                                             : double(m_current[c]) / double(m_untrimmed[c]);
        }
        m_record.visual_trim_multiplier[c] = multiplier;
    }
    if (channels_trimmed)
        m_record.visual_trim_flags |= CAdjustValue::kTrimGains;
    records.SetAdjustValue(m_record);
}

void visual_trim_model::cancel()
{
    {
        wait_cursor cursor;
        if (m_level_mode_value == kLevelModeOn)
            m_monitor->set_rgb_levels(m_at_open[0], m_at_open[1], m_at_open[2], false);
        else
            m_monitor->set_vcp_2c8_or_2c3(kLevelModeOff, false);
        bool gain_written = false;
        for (int c = 0; c < 3 && m_gain_mode; ++c) {
            if (m_at_open[c] != m_current[c]) {
                (m_monitor->*kGainWriters[c])(m_at_open[c]);
                gain_written = true;
            }
        }
        if (m_backlight_at_open != m_backlight)
            m_monitor->set_brightness(m_backlight_at_open);
        if (gain_written)
            m_monitor->save_current_settings();
    }
    m_link.release();
}

visual_trim_model::enables visual_trim_model::control_enables() const
{
    enables e;
    const double v = m_colour.valueF();
    const values wanted = wanted_values();
    const bool r = wanted[kRed] != 0, g = wanted[kGreen] != 0, b = wanted[kBlue] != 0;
    e.too_dark = m_wanted_backlight < m_backlight_maximum || v < 1.0;
    e.too_bright = m_wanted_backlight > m_backlight_minimum || v > 0.0;
    e.too_magenta = r || b;
    e.too_yellow = r || g;
    e.too_cyan = g || b;
    e.too_red = r;
    e.too_green = g;
    e.too_blue = b;
    e.undo = m_current != m_at_open || m_backlight != m_backlight_at_open;
    e.remove_all = m_current != m_untrimmed || m_backlight != m_backlight_untrimmed;
    return e;
}
