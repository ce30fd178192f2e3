#include "control_panel/core/status_reader.h"

#include "app/services/serial_number_date.h"
#include "control_panel/core/status_texts.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

#include <QLocale>

#include <algorithm>

namespace status_reader {
namespace {

constexpr int kSelfTestCapacity = 32;
constexpr int kMostSensors = 3;

using show_function = std::function<void(field, const QString &)>;

const char *const kStems[kFieldCount] = {
    "model_name", "serial_number", "DOM", "operating_hours", "total_operating_hours",
    "firmware_version", "firmware2_version", "firmware3_version", "firmware4_version",
    "fan1", "fan2", "fan3", "temp_sensor1", "temp_sensor2", "temp_sensor3",
    "diagnostics", "h_freq", "v_freq", "sync_status", "lan_mac_address",
};

// Selects each of up to three sensors (or fans) in turn through |select|,
// reads |reading| and shows its text; then selects again what the display
// had selected, so that looking changes nothing.
void read_selected(basic_monitor &monitor, int select, int reading, field first,
                   const std::function<QString(uint)> &text, const show_function &show)
{
    int selected = 0, count = 0;
    if (monitor.get_vcp_with_max(select, selected, count) != 0)
        return;
    const int last = std::min(count, kMostSensors);
    for (int i = 1; i <= last; ++i) {
        uint choice = static_cast<uint>(i);
        uint value = 0;
        if (monitor.set_vcp(select, choice) == 0 && monitor.get_vcp(reading, value) == 0)
            show(static_cast<field>(first + i - 1), text(value));
    }
    // A selection outside the display's own range is not written back.
    if (last > 0 && selected >= 0 && selected <= count && selected != last) {
        uint original = static_cast<uint>(selected);
        monitor.set_vcp(select, original);
    }
}

void read_identity(basic_monitor &monitor, const show_function &show)
{
    QString model, serial;
    if (monitor.get_model_name(model) == 0)
        show(kModelName, model);
    if (monitor.get_serial_number(serial) != 0)
        return;
    show(kSerialNumber, serial);
    const QDate made = serial_number_manufacture_date(serial);
    if (made.isValid())
        show(kManufactureDate, QLocale().toString(made, QStringLiteral("MMMM yyyy")));
}

void read_timing(basic_monitor &monitor, const show_function &show)
{
    quint8 status = 0;
    float horizontal = 0, vertical = 0;
    if (monitor.get_timing_report(status, horizontal, vertical) != 0)
        return;
    show(kHorizontalFrequency, status_texts::horizontal_frequency_text(horizontal));
    show(kVerticalFrequency, status_texts::vertical_frequency_text(vertical));
    show(kSyncStatus, status_texts::sync_status_text(status));
}

void read_mac_address(basic_monitor &monitor, const show_function &show)
{
    QString address;
    if (monitor.get_mac_address(0, address) == 0) {
        show(kMacAddress, address);
        return;
    }
    int first = 0, second = 0;
    if (monitor.get_lan_text_c22a(first, second, address) == 0)
        show(kMacAddress, address);
}

} // namespace

QString value_label(field f)
{
    return QStringLiteral("status_%1_label").arg(QLatin1String(kStems[f]));
}

QString caption_label(field f)
{
    return QStringLiteral("status_%1_sub_label").arg(QLatin1String(kStems[f]));
}

int read(basic_monitor &monitor, const show_function &show, const std::function<void()> &pause)
{
    double hours = 0;
    if (const int status = monitor.get_usage_hours_a(hours))
        return status;
    show(kOperatingHours, status_texts::hours_text(hours));
    pause();
    if (monitor.get_usage_hours_b(hours) == 0)
        show(kTotalOperatingHours, status_texts::hours_text(hours));
    pause();
    read_identity(monitor, show);
    pause();

    quint8 report[kSelfTestCapacity] = {};
    int count = kSelfTestCapacity;
    if (monitor.get_self_test_report(report, count) == 0 && count > 0)
        show(kDiagnostics, status_texts::diagnostic_text(QByteArray(reinterpret_cast<const char *>(report),
                                                                    std::min(count, kSelfTestCapacity))));
    pause();

    read_selected(monitor, control_code::kFanSensor, control_code::kTemperature, kTemperature1,
                  status_texts::temperature_text, show);
    read_selected(monitor, control_code::kFanSelect, control_code::kFanState, kFan1, status_texts::fan_state_text,
                  show);
    pause();
    read_timing(monitor, show);
    pause();
    read_mac_address(monitor, show);
    pause();

    QString firmware[4];
    if (monitor.get_identity_strings(firmware[0], firmware[1], firmware[2], firmware[3]) == 0) {
        for (int i = 0; i < 4; ++i)
            show(static_cast<field>(kFirmware1 + i), firmware[i]);
    }
    return 0;
}

} // namespace status_reader
