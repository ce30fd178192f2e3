// Schedules, holidays and weekend days, and the other operations whose codes
// differ between display generations (input source), with the LAN and record
// reads.
#include "display_protocol/basic_monitor.h"

#include "display_protocol/PDCommProtocol_retry.h"
#include "display_protocol/basic_monitor_models.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

using basic_monitor_models::translate;

namespace {

constexpr int kExtendedSelector = 12;
const QString kNoMacAddress = QStringLiteral("00-00-00-00-00-00");

} // namespace

bool basic_monitor::is_fixed_list_model()
{
    QString model;
    get_model_name(model);
    return basic_monitor_models::is_fixed_list_name(model);
}

int basic_monitor::get_input_source(uint &value)
{
    const int status = get_vcp(control_code::kInputSource, value);
    if ((status == kOk || status == kNotSupported) && is_fixed_list_model())
        value = static_cast<uint>(translate(basic_monitor_models::kOlderInputToApp, static_cast<int>(value)));
    return status;
}

int basic_monitor::set_input_source(uint &value)
{
    if (!is_fixed_list_model())
        return set_vcp(control_code::kInputSource, value);
    uint older = static_cast<uint>(translate(basic_monitor_models::kAppToOlderInput, static_cast<int>(value)));
    if (older == 0)
        return kNotSupported;
    const int status = set_vcp(control_code::kInputSource, older);
    value = static_cast<uint>(translate(basic_monitor_models::kOlderInputToApp, static_cast<int>(older)));
    return status;
}

// Runs |command| on a copy of |entry| whose input and mode fields carry the
// codes of the second record form; the codes are translated back and the
// entry takes the copy when the command succeeded.
template <typename Command>
int basic_monitor::schedule_with_extended_codes(schedule_program_record &entry, Command &&command)
{
    schedule_program_record copy = entry;
    copy.input = static_cast<quint8>(translate(basic_monitor_models::kAppToExtendedScheduleInput, copy.input));
    copy.picture_mode = static_cast<quint8>(translate(basic_monitor_models::kAppToExtendedMode, copy.picture_mode));
    const int status = link_command([&] { return command(&copy); });
    copy.input = static_cast<quint8>(translate(basic_monitor_models::kExtendedScheduleInputToApp, copy.input));
    copy.picture_mode = static_cast<quint8>(translate(basic_monitor_models::kExtendedModeToApp, copy.picture_mode));
    if (status == kOk)
        entry = copy;
    return status;
}

int basic_monitor::get_schedule(int index, schedule_program_record &entry, int selector)
{
    const quint8 program = static_cast<quint8>(index);
    if (is_fixed_list_model()) {
        const int status = link_command([&] { return m_link->get_schedule(program, &entry); });
        if (status == kOk)
            entry.input = static_cast<quint8>(translate(basic_monitor_models::kOlderScheduleInputToApp, entry.input));
        return status;
    }
    if (link_command([&] { return m_link->get_schedule_extended(selector, program, &entry); }) == kOk)
        return kOk;
    return schedule_with_extended_codes(
        entry, [&](schedule_program_record *copy) { return m_link->get_schedule_long(program, copy); });
}

int basic_monitor::set_schedule(int index, schedule_program_record &entry, int selector)
{
    const quint8 program = static_cast<quint8>(index);
    if (is_fixed_list_model()) {
        entry.input = static_cast<quint8>(translate(basic_monitor_models::kAppToOlderScheduleInput, entry.input));
        const int status = link_command([&] { return m_link->set_schedule(program, &entry); });
        entry.input = static_cast<quint8>(translate(basic_monitor_models::kOlderScheduleInputToApp, entry.input));
        return status;
    }
    schedule_program_record extended = entry;
    if (link_command([&] { return m_link->set_schedule_extended(selector, program, &extended); }) == kOk) {
        entry = extended;
        return kOk;
    }
    return schedule_with_extended_codes(
        entry, [&](schedule_program_record *copy) { return m_link->set_schedule_long(program, copy); });
}

int basic_monitor::get_schedule_extended(int index, schedule_program_record &entry)
{
    return link_command(
        [&] { return m_link->get_schedule_extended(kExtendedSelector, static_cast<quint8>(index), &entry); });
}

int basic_monitor::get_schedule_status(int selector, int program, int value, quint8 &state)
{
    return link_command([&] {
        return m_link->get_schedule_status(selector, static_cast<quint8>(program), static_cast<quint8>(value),
                                           &state);
    });
}

int basic_monitor::get_holiday_schedule(int number, holiday_program_record &entry)
{
    return link_command([&] { return m_link->get_holiday_schedule(static_cast<quint8>(number), &entry); });
}

int basic_monitor::set_holiday_schedule(holiday_program_record &entry)
{
    return link_command([&] { return m_link->set_holiday_schedule(&entry); });
}

int basic_monitor::get_weekend_schedule(quint8 &mask)
{
    return link_command([&] { return m_link->get_weekend_schedule(&mask); });
}

int basic_monitor::set_weekend_schedule(quint8 mask)
{
    quint8 status_byte = 0, mask_now = 0;
    const int status = link_command([&] { return m_link->set_weekend_schedule(mask, &status_byte, &mask_now); });
    if (status != kOk)
        return status;
    return status_byte == 0 ? kOk : kNotSupported;
}

int basic_monitor::get_mac_address(int index, QString &text)
{
    quint8 value = 0;
    QByteArray bytes;
    const int status = link_command([&] { return m_link->get_mac_address(static_cast<quint8>(index), &value, &bytes); });
    text = status == kOk ? QString::fromLatin1(bytes) : QString();
    if (text == kNoMacAddress)
        text.clear();
    return status;
}

int basic_monitor::get_lan_text_c22a(int &first, int &second, QString &text)
{
    quint8 a = 0, b = 0;
    QByteArray bytes;
    const int status = link_command([&] { return m_link->get_lan_text_c22a(&a, &b, &bytes); });
    first = a;
    second = b;
    text = status == kOk ? QString::fromLatin1(bytes) : QString();
    return status;
}

int basic_monitor::write_sensor_info(const QByteArray &sensor_name, const QByteArray &sensor_serial)
{
    quint8 status_byte = 0;
    QByteArray name_back, serial_back;
    const int status = link_command([&] {
        return m_link->write_sensor_info(sensor_name, sensor_serial, &status_byte, &name_back, &serial_back);
    });
    if (status != kOk)
        return status;
    return status_byte == 0 ? static_cast<int>(kOk) : static_cast<int>(link_status::kResultNotZero);
}

int basic_monitor::read_calibration_history_entry(int index, calibration_history_entry &entry)
{
    return link_command(
        [&] { return m_link->read_calibration_history_entry(static_cast<quint8>(index), &entry); });
}
