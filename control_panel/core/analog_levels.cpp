#include "control_panel/core/analog_levels.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

namespace analog_levels {
namespace {

const char *const kStems[kChannelCount] = {"offset_red", "offset_green", "offset_blue",
                                           "gain_red",   "gain_green",   "gain_blue"};

} // namespace

bool is_offset(int channel)
{
    return channel >= kOffsetRed && channel <= kOffsetBlue;
}

int code(int channel, bool alternate_offsets)
{
    if (is_offset(channel))
        return (alternate_offsets ? control_code::kAnalogOffsetAlternateRed : control_code::kAnalogOffsetRed) + channel;
    return control_code::kAnalogGainRed + channel - kGainRed;
}

control_row row(int channel, bool alternate_offsets)
{
    control_row row;
    row.code = code(channel, alternate_offsets);
    row.widget = QLatin1String(kStems[channel]) + QStringLiteral("_horizontalSlider");
    row.partner = QLatin1String(kStems[channel]) + QStringLiteral("_spinBox");
    row.update = update_rule::none;
    return row;
}

reading read(basic_monitor &monitor)
{
    reading result;
    uint probe = 0;
    if (monitor.get_vcp(control_code::kAnalogAutoSetup, probe) != 0)
        return result;
    result.available = true;

    row_reading red = read_control_row(monitor, row(kOffsetRed, false));
    if (red.status == basic_monitor::kNotSupported) {
        red = read_control_row(monitor, row(kOffsetRed, true));
        result.alternate_offsets = red.status == 0;
    }
    result.rows[kOffsetRed] = red;
    if (red.status != 0 && red.status != basic_monitor::kNotSupported) {
        result.show_status = true;
        result.status = red.status;
        return result;
    }
    for (int channel = kOffsetGreen; channel < kChannelCount; ++channel) {
        const row_reading reading = read_control_row(monitor, row(channel, result.alternate_offsets));
        result.rows[channel] = reading;
        if (reading.status != 0 && (reading.status != basic_monitor::kNotSupported || channel == kGainBlue))
            break;
    }
    return result;
}

} // namespace analog_levels
