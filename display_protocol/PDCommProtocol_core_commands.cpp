// Commands of the display command set: mode, power, DDC/CI reports,
// parameters, identity texts and the clock.
#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

#include <cstring>

namespace {

constexpr int kWait = 2000;
constexpr int kLongWait = 6000;
constexpr int kFragmentPauseMs = 50;
constexpr int kTextPauseMs = 500;
constexpr int kC00bMaxText = 64;
constexpr int kC00eBlockSize = 32;
constexpr int kC00ePauseMs = 400;

// Copies |text| into |buffer| of |capacity| bytes with a terminator; the
// count of characters stored.
int copy_terminated(const QByteArray &text, char *buffer, int capacity)
{
    if (capacity <= 0)
        return 0;
    const int n = qMin(text.size(), capacity - 1);
    std::memcpy(buffer, text.constData(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

} // namespace

int PDCommProtocol::set_mode_c011(quint8 mode, quint8 *result, quint8 *mode_now)
{
    *result = 0;
    *mode_now = 0;
    begin_request('A');
    append_hex_word(command_code::kSetMode);
    append_hex_byte(mode);
    send_request(); // a failed send shows as the reply wait's error
    if (const int status = receive_reply(kWait, false))
        return status;
    if (const int status = expect_min_length(8))
        return status;
    if (const int status = expect_type('B'))
        return status;
    const quint8 r = take_hex_byte();
    take_hex_word();
    const quint8 m = take_hex_byte();
    if (const int status = reply_status())
        return status;
    *result = r;
    *mode_now = m;
    return link_status::kOk;
}

int PDCommProtocol::set_power_state(quint16 mode, quint16 *mode_now)
{
    *mode_now = 0;
    begin_request('A');
    append_hex_word(command_code::kPowerControl);
    append_plain("D6");
    append_hex_word(mode);
    send_request();
    if (const int status = receive_reply(kLongWait, false))
        return status;
    if (const int status = expect_min_length(12))
        return status;
    if (const int status = expect_type('B'))
        return status;
    const quint8 result = take_hex_byte();
    if (const int status = expect_word(command_code::kPowerControl))
        return status;
    if (const int status = expect_byte(0xD6))
        return status;
    const quint16 value = take_hex_word();
    if (const int status = reply_status())
        return status;
    *mode_now = value;
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::get_power_state(quint16 *mode, quint16 *max)
{
    *mode = 0;
    *max = 0;
    begin_request('A');
    append_plain("01D6");
    send_request();
    if (const int status = receive_reply(kWait, false))
        return status;
    if (const int status = expect_min_length(16))
        return status;
    if (const int status = expect_type('B'))
        return status;
    take_hex_byte(); // the get-VCP reply opcode
    const quint8 result = take_hex_byte();
    if (const int status = expect_byte(0xD6))
        return status;
    if (const int status = expect_byte(0x00))
        return status;
    const quint16 maximum = take_hex_word();
    const quint16 current = take_hex_word();
    if (const int status = reply_status())
        return status;
    *max = maximum;
    *mode = current;
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::save_current_settings()
{
    begin_request('A');
    append_plain("0C");
    if (const int status = exchange(kLongWait))
        return status;
    if (const int status = expect_min_length(4))
        return status;
    take_hex_byte();
    return expect_byte(0x0C);
}

int PDCommProtocol::get_timing_report(quint8 *status_byte, float *horizontal_khz, float *vertical_hz)
{
    *status_byte = 0;
    *horizontal_khz = 0.0f;
    *vertical_hz = 0.0f;
    begin_request('A');
    append_plain("07");
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(12))
        return status;
    if (const int status = expect_byte(0x4E))
        return status;
    const quint8 s = take_hex_byte();
    const quint16 h = take_hex_word();
    const quint16 v = take_hex_word();
    if (const int status = reply_status())
        return status;
    *status_byte = s;
    *horizontal_khz = static_cast<float>(h) / 100.0f;
    *vertical_hz = static_cast<float>(v) / 100.0f;
    return link_status::kOk;
}

int PDCommProtocol::send_ir_key(quint16 key, quint8 repeat)
{
    begin_request('A');
    append_hex_word(command_code::kIrKey);
    append_hex_word(key);
    append_hex_byte(repeat);
    if (const int status = exchange(kWait))
        return status;
    if (remaining() == 8) {
        if (const int status = expect_word(command_code::reply(command_code::kIrKey)))
            return status;
        return expect_word(key);
    }
    // The long form fills its twelve characters with the result byte and the
    // echoed request: code, key code and repeat count.
    if (const int status = expect_length(12))
        return status;
    const quint8 result = take_hex_byte();
    if (const int status = expect_word(command_code::kIrKey))
        return status;
    if (const int status = expect_word(key))
        return status;
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::read_capability_fragment(int offset, char *buffer, int capacity, int *count)
{
    *count = 0;
    if (capacity > 0)
        buffer[0] = '\0';
    begin_request('A');
    append_plain("F3");
    append_hex_word(static_cast<quint16>(offset));
    if (const int status = exchange(kWait))
        return status;
    if (remaining() <= 5)
        return link_status::kBadLength;
    if (const int status = expect_byte(0xE3))
        return status;
    const quint16 echoed = take_hex_word();
    if (const int status = reply_status())
        return status;
    QByteArray text;
    while (remaining() > 0)
        text.append(take_byte());
    pause(kFragmentPauseMs);
    if (echoed != static_cast<quint16>(offset))
        return link_status::kFragmentOffset;
    *count = copy_terminated(text, buffer, capacity);
    return link_status::kOk;
}

int PDCommProtocol::read_capability_string(char *buffer, int *length)
{
    const int capacity = *length;
    *length = 0;
    if (capacity > 0)
        buffer[0] = '\0';
    int offset = 0;
    int status = link_status::kOk;
    while (capacity - offset > kCapabilityStopSpace) {
        int count = 0;
        status = read_capability_fragment(offset, buffer + offset, capacity - offset, &count);
        if (status != link_status::kOk || count == 0)
            break;
        offset += count;
    }
    *length = offset;
    return status == link_status::kBadLength ? link_status::kOk : status;
}

int PDCommProtocol::read_c00b_block(int offset, char *buffer, int capacity, int *count)
{
    *count = 0;
    if (capacity > 0)
        buffer[0] = '\0';
    begin_request('A');
    append_hex_word(command_code::kTextC00B);
    append_hex_byte(static_cast<quint8>(offset));
    append_hex_byte(0x20);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(4))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kTextC00B)))
        return status;
    *count = copy_terminated(take_plain_rest(), buffer, capacity);
    return link_status::kOk;
}

int PDCommProtocol::read_c00b_text(char *buffer, int *length)
{
    const int capacity = *length;
    *length = 0;
    if (capacity > 0)
        buffer[0] = '\0';
    int offset = 0;
    int blocks = 0;
    int status = link_status::kOk;
    while (capacity - offset > kCapabilityStopSpace && offset < kC00bMaxText) {
        int count = 0;
        status = read_c00b_block(offset, buffer + offset, capacity - offset, &count);
        if (status != link_status::kOk || count == 0)
            break;
        offset += count;
        ++blocks;
    }
    *length = offset;
    pause(kTextPauseMs);
    if (blocks > 0 && (status == link_status::kBadLength || status == link_status::kRefused))
        return link_status::kOk;
    return status;
}

int PDCommProtocol::write_c00e_block(quint8 selector, const QByteArray &block, quint8 *result)
{
    *result = 0;
    const QByteArray data = block.leftJustified(kC00eBlockSize, '\0', true);
    begin_request('A');
    append_hex_word(command_code::kTextC00E);
    append_hex_byte(selector);
    append_plain(data);
    if (const int status = exchange(kLongWait))
        return status;
    if (const int status = expect_min_length(6))
        return status;
    const quint8 r = take_hex_byte();
    if (const int status = expect_word(command_code::kTextC00E))
        return status;
    if (const int status = expect_byte(selector))
        return status;
    if (remaining() < kC00eBlockSize)
        return link_status::kBadLength;
    for (char c : data) {
        if (take_byte() != c)
            return link_status::kBadFrame;
    }
    *result = r;
    return link_status::kOk;
}

int PDCommProtocol::write_c00e_blocks(const QByteArray &data, quint8 step)
{
    if (step == 0)
        return link_status::kNoValues;
    int selector = 0;
    for (int offset = 0; offset < data.size(); offset += kC00eBlockSize, selector += step) {
        if (selector > 0xFF)
            return link_status::kTooManyValues;
        quint8 result = 0;
        if (const int status = write_c00e_block(static_cast<quint8>(selector), data.mid(offset, kC00eBlockSize), &result))
            return status;
        pause(kC00ePauseMs);
    }
    return link_status::kOk;
}

int PDCommProtocol::set_parameter_code(int code, quint16 value, quint8 *result, quint8 *type, quint16 *max,
                                       quint16 *current)
{
    return set_parameter(static_cast<quint8>(code >> 8), static_cast<quint8>(code & 0xFF), value, result, type,
                         max, current);
}

int PDCommProtocol::get_parameter_code(int code, quint8 *result, quint8 *type, quint16 *max, quint16 *current)
{
    return get_parameter(static_cast<quint8>(code >> 8), static_cast<quint8>(code & 0xFF), result, type, max,
                         current);
}

int PDCommProtocol::read_parameter_reply(quint8 *result, quint8 *type, quint16 *max, quint16 *current)
{
    if (const int status = expect_min_length(16))
        return status;
    if (m_reply_type != 'D' && m_reply_type != 'F')
        return link_status::kBadFrame;
    const quint8 r = take_hex_byte();
    take_hex_byte(); // page
    take_hex_byte(); // opcode
    const quint8 t = take_hex_byte();
    const quint16 m = take_hex_word();
    const quint16 c = take_hex_word();
    if (const int status = reply_status())
        return status;
    *result = r;
    *type = t;
    *max = m;
    *current = c;
    return link_status::kOk;
}

int PDCommProtocol::set_parameter(quint8 page, quint8 opcode, quint16 value, quint8 *result, quint8 *type,
                                  quint16 *max, quint16 *current)
{
    *result = *type = 0;
    *max = *current = 0;
    begin_request('E');
    append_hex_byte(page);
    append_hex_byte(opcode);
    append_hex_word(value);
    if (const int status = exchange(kLongWait))
        return status;
    return read_parameter_reply(result, type, max, current);
}

int PDCommProtocol::get_parameter(quint8 page, quint8 opcode, quint8 *result, quint8 *type, quint16 *max,
                                  quint16 *current)
{
    *result = *type = 0;
    *max = *current = 0;
    begin_request('C');
    append_hex_byte(page);
    append_hex_byte(opcode);
    if (const int status = exchange(kWait))
        return status;
    return read_parameter_reply(result, type, max, current);
}

int PDCommProtocol::read_hex_text(quint16 code, QByteArray *text)
{
    text->clear();
    begin_request('A');
    append_hex_word(code);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(4))
        return status;
    if (const int status = expect_word(command_code::reply(code)))
        return status;
    *text = take_hex_text_rest();
    return link_status::kOk;
}

int PDCommProtocol::get_serial_number(QByteArray *text)
{
    return read_hex_text(command_code::kSerialNumber, text);
}

int PDCommProtocol::get_model_name(QByteArray *text)
{
    return read_hex_text(command_code::kModelName, text);
}

int PDCommProtocol::get_self_test_report(quint8 *report, int *count)
{
    const int capacity = *count;
    *count = 0;
    begin_request('A');
    append_plain("B1");
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(2))
        return status;
    if (const int status = expect_byte(0xA1))
        return status;
    while (remaining() >= 2 && *count < capacity)
        report[(*count)++] = take_hex_byte();
    return link_status::kOk;
}

namespace {

quint8 *clock_fields(display_clock_record *c, int i)
{
    quint8 *fields[] = {&c->year, &c->month, &c->day, &c->weekday, &c->hour, &c->minute, &c->daylight_saving};
    return fields[i];
}

constexpr int kClockFields = 7;

} // namespace

int PDCommProtocol::get_date_time(display_clock_record *clock)
{
    *clock = display_clock_record();
    begin_request('A');
    append_hex_word(command_code::kReadDateTime);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(18))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kReadDateTime)))
        return status;
    display_clock_record read;
    for (int i = 0; i < kClockFields; ++i)
        *clock_fields(&read, i) = take_hex_byte();
    if (const int status = reply_status())
        return status;
    *clock = read;
    return link_status::kOk;
}

int PDCommProtocol::set_date_time(display_clock_record *clock)
{
    begin_request('A');
    append_hex_word(command_code::kWriteDateTime);
    for (int i = 0; i < kClockFields; ++i)
        append_hex_byte(*clock_fields(clock, i));
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(20))
        return status;
    const quint8 result = take_hex_byte();
    if (const int status = expect_word(command_code::reply(command_code::kWriteDateTime)))
        return status;
    display_clock_record echoed;
    for (int i = 0; i < kClockFields; ++i)
        *clock_fields(&echoed, i) = take_hex_byte();
    if (const int status = reply_status())
        return status;
    *clock = echoed;
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::get_identity_string(quint8 selector, QByteArray *text)
{
    text->clear();
    begin_request('A');
    append_hex_word(command_code::kIdentityString);
    append_hex_byte(selector);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_min_length(8))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kIdentityString)))
        return status;
    const quint8 result = take_hex_byte();
    take_hex_byte();
    *text = take_plain_rest();
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::write_ca0c_1(quint8 value, const std::array<quint8, 4> &bytes, quint8 *status_byte)
{
    *status_byte = 0;
    begin_request('A');
    append_hex_word(command_code::kVendorCA0C);
    append_hex_byte(0x01);
    append_hex_byte(value);
    append_plain("00");
    // Each byte as two digits, and each digit character again as the two
    // hexadecimal digits of its character code.
    for (quint8 b : bytes) {
        append_hex_byte(static_cast<quint8>(hex_digit(b >> 4)));
        append_hex_byte(static_cast<quint8>(hex_digit(b)));
    }
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_length(8))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kVendorCA0C)))
        return status;
    if (const int status = expect_byte(0x01))
        return status;
    *status_byte = take_hex_byte();
    return reply_status();
}
