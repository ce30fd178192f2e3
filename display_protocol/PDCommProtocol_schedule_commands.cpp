// Schedule programs, extended schedule programs and holidays. Every entry
// travels in the field order of schedule_program_record.
#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

namespace {

constexpr int kWait = 2000;
constexpr int kExtendedFamily = 12;

// The fields of a basic program, in wire order; the long form adds the
// picture mode as an eighth byte.
QVector<quint32> basic_fields(const schedule_program_record &e, int count)
{
    const QVector<quint32> all {e.off_hour, e.off_minute, e.on_hour, e.on_minute, e.input,
                                e.day_mask, e.flags, e.picture_mode};
    return all.mid(0, count);
}

void set_basic_field(schedule_program_record *e, int index, quint8 value)
{
    switch (index) {
    case 0: e->off_hour = value; break;
    case 1: e->off_minute = value; break;
    case 2: e->on_hour = value; break;
    case 3: e->on_minute = value; break;
    case 4: e->input = value; break;
    case 5: e->day_mask = value; break;
    case 6: e->flags = value; break;
    default: e->picture_mode = value; break;
    }
}

// The reply codes of reads and writes alike; which family each belongs to.
struct extended_reply_code
{
    quint16 code;
    bool family12;
};

const extended_reply_code kExtendedReplyCodes[] = {
    {command_code::reply(command_code::kReadSchedule12), true},
    {command_code::reply(command_code::kReadScheduleExtended), false},
    {command_code::kWriteSchedule12, true},
    {command_code::reply(command_code::kWriteSchedule12), true},
    {command_code::kWriteScheduleExtended, false},
    {command_code::reply(command_code::kWriteScheduleExtended), false},
};

} // namespace

int PDCommProtocol::schedule_read(quint8 program, int entry_bytes, schedule_program_record *entry)
{
    *entry = schedule_program_record();
    begin_request('A');
    append_hex_word(command_code::kReadSchedule);
    append_hex_byte(program);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(6 + 2 * entry_bytes))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kReadSchedule)))
        return status;
    if (const int status = expect_byte(program))
        return status;
    schedule_program_record read;
    for (int i = 0; i < entry_bytes; ++i)
        set_basic_field(&read, i, take_hex_byte());
    if (const int status = reply_status())
        return status;
    *entry = read;
    return link_status::kOk;
}

int PDCommProtocol::schedule_write(quint8 program, int entry_bytes, schedule_program_record *entry)
{
    begin_request('A');
    append_hex_word(command_code::kWriteSchedule);
    append_hex_byte(program);
    for (quint32 field : basic_fields(*entry, entry_bytes))
        append_hex_byte(static_cast<quint8>(field));
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(22))
        return status;
    const quint8 result = take_hex_byte();
    if (const int status = expect_word(command_code::reply(command_code::kWriteSchedule)))
        return status;
    if (const int status = expect_byte(program))
        return status;
    schedule_program_record echoed = *entry;
    for (int i = 0; i < entry_bytes && remaining() >= 2; ++i)
        set_basic_field(&echoed, i, take_hex_byte());
    *entry = echoed;
    return result ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::get_schedule(quint8 program, schedule_program_record *entry)
{
    return schedule_read(program, 7, entry);
}

int PDCommProtocol::get_schedule_long(quint8 program, schedule_program_record *entry)
{
    return schedule_read(program, 8, entry);
}

int PDCommProtocol::set_schedule(quint8 program, schedule_program_record *entry)
{
    return schedule_write(program, 7, entry);
}

int PDCommProtocol::set_schedule_long(quint8 program, schedule_program_record *entry)
{
    return schedule_write(program, 8, entry);
}

// One parse for the replies of reads and writes: code, status byte, program
// echo, entry. Family 12 carries the event type and the one time it switches
// at (the on time for an on event, else the off time); the other family
// carries both times. Both continue with input, day mask, flags, picture
// mode and date.
int PDCommProtocol::parse_extended_schedule(int family, quint8 program, schedule_program_record *entry)
{
    if (const int status = expect_type('B'))
        return status;
    const quint16 code = take_hex_word();
    if (const int status = reply_status())
        return status;
    const extended_reply_code *kind = nullptr;
    for (const extended_reply_code &row : kExtendedReplyCodes) {
        if (row.code == code)
            kind = &row;
    }
    if (!kind || kind->family12 != (family == kExtendedFamily))
        return link_status::kBadFrame;
    const quint8 result = take_hex_byte();
    if (const int status = expect_byte(program))
        return status;
    schedule_program_record read;
    if (kind->family12) {
        read.event_type = take_hex_byte();
        const quint8 hour = take_hex_byte();
        const quint8 minute = take_hex_byte();
        if (read.event_type == schedule_program_record::kEventOn) {
            read.on_hour = hour;
            read.on_minute = minute;
        } else {
            read.off_hour = hour;
            read.off_minute = minute;
        }
    } else {
        read.off_hour = take_hex_byte();
        read.off_minute = take_hex_byte();
        read.on_hour = take_hex_byte();
        read.on_minute = take_hex_byte();
    }
    for (quint8 *field : {&read.input, &read.day_mask, &read.flags, &read.picture_mode, &read.year, &read.month,
                          &read.day})
        *field = take_hex_byte();
    if (const int status = reply_status())
        return status;
    if (result)
        return link_status::kResultNotZero;
    *entry = read;
    return link_status::kOk;
}

int PDCommProtocol::get_schedule_extended(int family, quint8 program, schedule_program_record *entry)
{
    *entry = schedule_program_record();
    begin_request('A');
    append_hex_word(family == kExtendedFamily ? command_code::kReadSchedule12 : command_code::kReadScheduleExtended);
    append_hex_byte(program);
    if (const int status = exchange(kWait))
        return status;
    return parse_extended_schedule(family, program, entry);
}

int PDCommProtocol::set_schedule_extended(int family, quint8 program, schedule_program_record *entry)
{
    const bool family12 = family == kExtendedFamily;
    const bool on_event = entry->event_type == schedule_program_record::kEventOn;
    if (family12 && !on_event && entry->event_type != schedule_program_record::kEventOff)
        return link_status::kBadFrame;
    begin_request('A');
    append_hex_word(family12 ? command_code::kWriteSchedule12 : command_code::kWriteScheduleExtended);
    append_hex_byte(program);
    QVector<quint32> fields;
    if (family12) {
        fields << entry->event_type << (on_event ? entry->on_hour : entry->off_hour)
               << (on_event ? entry->on_minute : entry->off_minute);
    } else {
        fields << entry->off_hour << entry->off_minute << entry->on_hour << entry->on_minute;
    }
    fields << entry->input << entry->day_mask << entry->flags << entry->picture_mode << entry->year
           << entry->month << entry->day;
    for (quint32 field : fields)
        append_hex_byte(static_cast<quint8>(field));
    if (const int status = exchange(kWait))
        return status;
    return parse_extended_schedule(family, program, entry);
}

int PDCommProtocol::parse_holiday(bool with_status, quint8 sub, quint8 number, holiday_program_record *entry)
{
    if (const int status = expect_min_length(with_status ? 26 : 24))
        return status;
    if (const int status = expect_word(command_code::reply(command_code::kHolidaySchedule)))
        return status;
    if (const int status = expect_byte(sub))
        return status;
    if (with_status && take_hex_byte() != 0)
        return link_status::kResultNotZero;
    if (const int status = expect_byte(number))
        return status;
    holiday_program_record read;
    read.program_number = number;
    read.flags = take_hex_byte();
    read.year = take_hex_byte();
    read.month = take_hex_byte();
    quint8 tail[5] = {};
    for (quint8 &b : tail)
        b = take_hex_byte();
    if (const int status = reply_status())
        return status;
    if (read.flags & holiday_program_record::kWeekOfMonth) {
        read.nth = tail[1];
        read.weekday = tail[2];
    } else {
        read.day = tail[0];
        if (read.flags & holiday_program_record::kDateRange) {
            read.end_month = tail[3];
            read.end_day = tail[4];
        }
    }
    *entry = read;
    return link_status::kOk;
}

int PDCommProtocol::get_holiday_schedule(quint8 number, holiday_program_record *entry)
{
    *entry = holiday_program_record();
    begin_request('A');
    append_hex_word(command_code::kHolidaySchedule);
    append_hex_byte(0x00);
    append_hex_byte(number);
    if (const int status = exchange(kWait))
        return status;
    return parse_holiday(false, 0x00, number, entry);
}

int PDCommProtocol::set_holiday_schedule(holiday_program_record *entry)
{
    begin_request('A');
    append_hex_word(command_code::kHolidaySchedule);
    append_hex_byte(0x01);
    append_hex_byte(entry->program_number);
    for (quint32 field : {quint32(entry->flags), entry->year, quint32(entry->month), quint32(entry->day),
                          quint32(entry->nth), quint32(entry->weekday), quint32(entry->end_month),
                          quint32(entry->end_day)})
        append_hex_byte(static_cast<quint8>(field));
    if (const int status = exchange(kWait))
        return status;
    return parse_holiday(true, 0x01, entry->program_number, entry);
}
