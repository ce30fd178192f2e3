// Commands that return records and texts: operation log, LAN settings,
// calibration history, sensor identity, profiles and the C226/C227 texts.
#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

namespace {

constexpr int kWait = 2000;
constexpr int kLogFieldChars = 42;
constexpr int kHistoryFieldChars = 102;
constexpr int kSensorTextChars = 16;
constexpr int kC227TextChars = 13;

// "001122334455" -> "00-11-22-33-44-55"
QByteArray dashed(const QByteArray &text)
{
    QByteArray out;
    for (int i = 0; i < text.size(); ++i) {
        out.append(text.at(i));
        if (i % 2 == 1 && i + 1 < text.size())
            out.append('-');
    }
    return out;
}

QByteArray until_zero(const QByteArray &text)
{
    const int end = text.indexOf('\0');
    return end < 0 ? text : text.left(end);
}

} // namespace

int PDCommProtocol::read_log(quint8 sub, quint16 first, quint16 second, bool with_words, display_log_entry *entry)
{
    *entry = display_log_entry();
    begin_request('A');
    append_hex_word(command_code::kLog);
    append_hex_byte(sub);
    if (with_words) {
        append_hex_word(first);
        append_hex_word(second);
    }
    if (const int status = exchange(kWait))
        return status;
    if (remaining() <= 7)
        return link_status::kBadLength;
    if (const int status = expect_word(command_code::reply(command_code::kLog)))
        return status;
    if (const int status = expect_byte(sub))
        return status;
    display_log_entry read;
    read.status = take_hex_byte();
    if (remaining() != kLogFieldChars)
        return link_status::kBadLength;
    read.log_number = take_hex_word();
    read.video_input = take_hex_byte();
    read.input_signal_h = take_hex_word();
    read.input_signal_v = take_hex_word();
    for (quint8 *field : {&read.audio_input, &read.audio_input_status, &read.picture_status, &read.audio_status})
        *field = take_hex_byte();
    read.year = take_hex_word();
    for (quint8 *field : {&read.month, &read.day, &read.hour, &read.minute, &read.second})
        *field = take_hex_byte();
    for (quint8 &field : read.reserved)
        field = take_hex_byte();
    *entry = read;
    return link_status::kOk;
}

int PDCommProtocol::read_latest_log(display_log_entry *entry)
{
    return read_log(0x01, 0, 0, false, entry);
}

int PDCommProtocol::read_log_entry(quint16 first, quint16 second, display_log_entry *entry)
{
    return read_log(0x03, first, second, true, entry);
}

int PDCommProtocol::read_dashed_text(QByteArray *text)
{
    *text = dashed(take_plain_rest());
    return reply_status();
}

int PDCommProtocol::get_lan_text_c22a(quint8 *first, quint8 *second, QByteArray *text)
{
    *first = *second = 0;
    text->clear();
    begin_request('A');
    append_hex_word(command_code::kLanSetting);
    append_hex_byte(0x02);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(12))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kLanSetting)))
        return status;
    if (const int status = expect_byte(0x02))
        return status;
    *first = take_hex_byte();
    take_hex_byte();
    *second = take_hex_byte();
    return read_dashed_text(text);
}

int PDCommProtocol::get_mac_address(quint8 index, quint8 *value, QByteArray *text)
{
    *value = 0;
    text->clear();
    begin_request('A');
    append_hex_word(command_code::kMacAddress);
    append_hex_byte(index);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(6))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kMacAddress)))
        return status;
    *value = take_hex_byte();
    return read_dashed_text(text);
}

int PDCommProtocol::get_lan_setting_c22a(quint8 *first, quint8 *second, std::array<quint8, 4> *group)
{
    *first = *second = 0;
    group->fill(0);
    begin_request('A');
    append_hex_word(command_code::kLanSetting);
    append_hex_byte(0x45);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(18))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kLanSetting)))
        return status;
    const quint8 a = take_hex_byte();
    if (const int status = expect_byte(0x45))
        return status;
    const quint8 b = take_hex_byte();
    std::array<quint8, 4> read {};
    for (quint8 &field : read)
        field = take_hex_byte();
    if (const int status = reply_status())
        return status;
    *first = a;
    *second = b;
    *group = read;
    return link_status::kOk;
}

int PDCommProtocol::read_calibration_history_entry(quint8 number, calibration_history_entry *entry)
{
    *entry = calibration_history_entry();
    begin_request('A');
    append_hex_word(command_code::kCalibrationHistory);
    append_hex_byte(number);
    if (const int status = exchange(kWait))
        return status;
    if (remaining() <= 7)
        return link_status::kBadLength;
    if (const int status = expect_word(command_code::reply(command_code::kCalibrationHistory)))
        return status;
    calibration_history_entry read;
    read.status = take_hex_byte();
    if (read.status) {
        entry->status = read.status;
        return link_status::kResultNotZero;
    }
    read.command_id = take_hex_byte();
    if (remaining() != kHistoryFieldChars)
        return link_status::kBadLength;
    for (quint8 *field : {&read.year, &read.month, &read.day, &read.hour, &read.minute})
        *field = take_hex_byte();
    read.hours_running_high = take_hex_word();
    read.hours_running_low = take_hex_word();
    // The minutes are one byte: with four digits the entry would not fill its length.
    read.hours_running_minutes = take_hex_byte();
    for (quint16 &field : read.before_rgb)
        field = take_hex_word();
    for (quint16 &field : read.after_rgb)
        field = take_hex_word();
    read.calibration_type = take_hex_byte();
    for (quint8 &field : read.first_text)
        field = take_hex_byte();
    read.measurement_points_h = take_hex_byte();
    read.measurement_points_v = take_hex_byte();
    for (quint8 &field : read.second_text)
        field = take_hex_byte();
    *entry = read;
    return link_status::kOk;
}

int PDCommProtocol::read_sensor_info(QByteArray *sensor_name, QByteArray *sensor_serial)
{
    sensor_name->clear();
    sensor_serial->clear();
    begin_request('A');
    append_hex_word(command_code::kReadSensorInfo);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(4))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kReadSensorInfo)))
        return status;
    if (remaining() < 4 * kSensorTextChars)
        return link_status::kBadFrame;
    for (QByteArray *text : {sensor_name, sensor_serial}) {
        for (int i = 0; i < kSensorTextChars; ++i)
            text->append(static_cast<char>(take_hex_byte()));
        *text = until_zero(*text);
    }
    return link_status::kOk;
}

int PDCommProtocol::write_sensor_info(const QByteArray &sensor_name, const QByteArray &sensor_serial,
                                      quint8 *status_byte, QByteArray *name_back, QByteArray *serial_back)
{
    *status_byte = 0;
    name_back->clear();
    serial_back->clear();
    begin_request('A');
    append_hex_word(command_code::kWriteSensorInfo);
    append_hex_text(sensor_name, kSensorTextChars);
    append_hex_text(sensor_serial, kSensorTextChars);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(6))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kWriteSensorInfo)))
        return status;
    *status_byte = take_hex_byte();
    if (remaining() <= 4 * kSensorTextChars - 1)
        return link_status::kBadFrame;
    for (QByteArray *text : {name_back, serial_back}) {
        for (int i = 0; i < kSensorTextChars; ++i)
            text->append(static_cast<char>(take_hex_byte()));
        *text = until_zero(*text);
    }
    return link_status::kOk;
}

int PDCommProtocol::read_profile(quint8 profile, display_profile_record *record)
{
    *record = display_profile_record();
    begin_request('A');
    append_hex_word(command_code::kProfile);
    append_hex_byte(0x01);
    append_hex_byte(profile);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kProfile)))
        return status;
    if (const int status = expect_byte(0x01))
        return status;
    display_profile_record read;
    read.status = take_hex_byte();
    if (const int status = expect_byte(profile))
        return status;
    read.profile_number = profile;
    read.mode = take_hex_byte();
    const auto take_all = [this](auto &group) {
        for (quint8 &field : group)
            field = take_hex_byte();
    };
    take_all(read.video_input);
    take_all(read.aspect);
    take_all(read.position);
    take_all(read.reserved);
    if (const int status = reply_status())
        return status;
    *record = read;
    return link_status::kOk;
}

int PDCommProtocol::read_c226_text(quint8 index, quint8 *result, QByteArray *text)
{
    *result = 0;
    text->clear();
    begin_request('A');
    append_hex_word(command_code::kTextC226);
    m_request << static_cast<char>('0' + index);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(6))
        return status;
    const quint8 r = take_hex_byte();
    if (const int status = expect_word(command_code::reply(command_code::kTextC226)))
        return status;
    *result = r;
    *text = take_plain_rest();
    return r ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::write_c227(quint8 index, const QByteArray &text, quint8 *result, char *reply)
{
    *result = 0;
    *reply = 0;
    begin_request('A');
    append_hex_word(command_code::kTextC227);
    m_request << static_cast<char>('0' + index);
    append_plain(until_zero(text).left(kC227TextChars).leftJustified(kC227TextChars, ' '));
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_length(9))
        return status;
    const quint8 r = take_hex_byte();
    if (const int status = expect_word(command_code::reply(command_code::kTextC227)))
        return status;
    // The named fields fill seven of the nine characters; the last two are not decoded.
    *result = r;
    *reply = take_byte();
    return link_status::kOk;
}
