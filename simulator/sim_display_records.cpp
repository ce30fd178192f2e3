// Schedules, holidays, weekend days, LAN address, calibration history,
// sensor identity and power settings of a simulated display.
#include "simulator/sim_display.h"

#include "simulator/sim_args.h"
#include "simulator/sim_hex.h"

namespace {

constexpr quint8 kOk = 0x00;
constexpr quint8 kRefusedStatus = 0x01;
constexpr int kBasicFields = 8;     // off hour ... picture mode
constexpr int kDateFields = 3;
constexpr int kFamily12Fields = 10; // event type, hour, minute ... day
constexpr int kHolidayFields = 8;
constexpr int kSensorTextBytes = 16;
constexpr quint8 kLanTextMac = 0x02;
constexpr quint8 kLanPort = 0x01;

using sim_args::exact_bytes;
using sim_args::take_bytes;

} // namespace

sim_reply sim_display::read_extended(const QByteArray &args, bool family12)
{
    QList<quint8> b;
    const int program_count = family12 ? kAdvancedPrograms : kPrograms;
    if (!extended_schedules || !exact_bytes(args, 1, &b) || b.at(0) >= program_count)
        return sim_reply::refusal('B');
    const int p = b.at(0);
    sim_reply reply('B');
    reply.hex(family12 ? 0xC33D : 0xC321, 4).hex(kOk, 2).hex(static_cast<quint32>(p), 2);
    if (family12) {
        const advanced_program &a = advanced_programs[static_cast<size_t>(p)];
        for (quint8 v : {a.event_type, a.hour, a.minute, a.input, a.day_mask, a.flags, a.picture_mode, a.year,
                         a.month, a.day})
            reply.hex(v, 2);
        return reply;
    }
    for (quint8 v : programs[static_cast<size_t>(p)])
        reply.hex(v, 2);
    for (int i = 0; i < kDateFields; ++i)
        reply.hex(program_dates[static_cast<size_t>(p * kDateFields + i)], 2);
    return reply;
}

sim_reply sim_display::write_extended(const QByteArray &args, bool family12)
{
    QList<quint8> b;
    const int program_count = family12 ? kAdvancedPrograms : kPrograms;
    const int fields = family12 ? kFamily12Fields : kBasicFields + kDateFields;
    if (!extended_schedules || !exact_bytes(args, 1 + fields, &b) || b.at(0) >= program_count)
        return sim_reply::refusal('B');
    const int p = b.at(0);
    if (family12) {
        if (b.at(1) != 1 && b.at(1) != 2)
            return sim_reply::refusal('B');
        advanced_programs[static_cast<size_t>(p)] =
            advanced_program {b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10]};
    } else {
        for (int i = 0; i < kBasicFields; ++i)
            programs[static_cast<size_t>(p)][static_cast<size_t>(i)] = b.at(1 + i);
        for (int i = 0; i < kDateFields; ++i)
            program_dates[static_cast<size_t>(p * kDateFields + i)] = b.at(1 + kBasicFields + i);
    }
    sim_reply reply('B');
    reply.hex(family12 ? 0xC33E : 0xC322, 4).hex(kOk, 2).hex(static_cast<quint32>(p), 2);
    for (int i = 1; i <= fields; ++i)
        reply.hex(b.at(i), 2);
    return reply;
}

sim_reply sim_display::holiday(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 2, &b) || b.at(0) > 1 || b.at(1) < 1 || b.at(1) > kHolidays)
        return sim_reply::refusal('B');
    const bool write = b.at(0) == 1;
    std::array<quint8, 8> &entry = holidays[static_cast<size_t>(b.at(1) - 1)];
    if (write) {
        QList<quint8> all;
        if (!exact_bytes(args, 2 + kHolidayFields, &all))
            return sim_reply::refusal('B');
        for (int i = 0; i < kHolidayFields; ++i)
            entry[static_cast<size_t>(i)] = all.at(2 + i);
    } else if (args.size() != 4) {
        return sim_reply::refusal('B');
    }
    sim_reply reply('B');
    reply.hex(0xCB19, 4).hex(b.at(0), 2);
    if (write)
        reply.hex(kOk, 2);
    reply.hex(b.at(1), 2);
    for (quint8 v : entry)
        reply.hex(v, 2);
    return reply;
}

sim_reply sim_display::weekend(const QByteArray &args)
{
    QList<quint8> b;
    if (exact_bytes(args, 1, &b) && b.at(0) == 0)
        return sim_reply('B').hex(0xCB1A, 4).hex(0, 2).hex(weekend_mask, 2);
    b.clear();
    if (!exact_bytes(args, 2, &b) || b.at(0) != 1)
        return sim_reply::refusal('B');
    const bool valid = b.at(1) < 0x80;
    if (valid)
        weekend_mask = b.at(1);
    return sim_reply('B').hex(0xCB1A, 4).hex(1, 2).hex(valid ? kOk : kRefusedStatus, 2).hex(weekend_mask, 2);
}

sim_reply sim_display::mac(const QByteArray &args)
{
    QList<quint8> b;
    if ((profile && profile->older_generation) || !exact_bytes(args, 1, &b))
        return sim_reply::refusal('B');
    return sim_reply('B').hex(0xC320, 4).hex(b.at(0), 2).text(b.at(0) == 0 ? mac_address : QByteArray(12, '0'));
}

// The LAN text of selector 02: the MAC address, after the LAN port number,
// a reserved byte and the selector again.
sim_reply sim_display::lan_text(const QByteArray &args)
{
    QList<quint8> b;
    if (!exact_bytes(args, 1, &b) || b.at(0) != kLanTextMac)
        return sim_reply::refusal('B');
    return sim_reply('B').hex(0xC32A, 4).hex(kLanTextMac, 2).hex(kLanPort, 2).hex(0, 2).hex(kLanTextMac, 2).text(mac_address);
}

sim_reply sim_display::history_entry(const QByteArray &args)
{
    QList<quint8> b;
    if (!has_engine() || !exact_bytes(args, 1, &b))
        return sim_reply::refusal('B');
    sim_reply reply('B');
    reply.hex(0xC35A, 4);
    // Entries are numbered from 1, the newest first.
    if (b.at(0) < 1 || b.at(0) > history.size())
        return reply.hex(kRefusedStatus, 2).hex(0, 2);
    const sim_history_entry &e = history.at(b.at(0) - 1);
    reply.hex(kOk, 2).hex(e.command_id, 2);
    for (quint8 v : {e.year, e.month, e.day, e.hour, e.minute})
        reply.hex(v, 2);
    reply.hex(e.hours_high, 4).hex(e.hours_low, 4).hex(e.hours_minutes, 2);
    for (quint16 v : e.before_rgb)
        reply.hex(v, 4);
    for (quint16 v : e.after_rgb)
        reply.hex(v, 4);
    reply.hex(e.calibration_type, 2);
    for (quint8 v : e.first_text)
        reply.hex(v, 2);
    reply.hex(e.points_h, 2).hex(e.points_v, 2);
    for (quint8 v : e.second_text)
        reply.hex(v, 2);
    return reply;
}

namespace {

QByteArray sensor_field(const QByteArray &text)
{
    return sim_args::hex_text(text.left(kSensorTextBytes).leftJustified(kSensorTextBytes, '\0'));
}

} // namespace

sim_reply sim_display::read_sensor(const QByteArray &args)
{
    if (!has_engine() || !args.isEmpty())
        return sim_reply::refusal('B');
    return sim_reply('B').hex(0xC355, 4).text(sensor_field(sensor_name)).text(sensor_field(sensor_serial));
}

sim_reply sim_display::write_sensor(const QByteArray &args)
{
    QList<quint8> b;
    if (!has_engine() || !exact_bytes(args, 2 * kSensorTextBytes, &b))
        return sim_reply::refusal('B');
    QByteArray name, serial;
    for (int i = 0; i < kSensorTextBytes; ++i) {
        name.append(static_cast<char>(b.at(i)));
        serial.append(static_cast<char>(b.at(kSensorTextBytes + i)));
    }
    sensor_name = name.left(name.indexOf('\0') < 0 ? name.size() : name.indexOf('\0'));
    sensor_serial = serial.left(serial.indexOf('\0') < 0 ? serial.size() : serial.indexOf('\0'));
    return sim_reply('B').hex(0xC356, 4).hex(kOk, 2).text(sensor_field(sensor_name)).text(sensor_field(sensor_serial));
}

sim_reply sim_display::power_setting(const QByteArray &args)
{
    // Sub-commands 0/1 power-save mode, 2/3 power-save time, 4/5 standby time:
    // an even one reads, the odd one after it writes.
    quint8 *values[] = {&power_save_mode, &power_save_time, &standby_time};
    QList<quint8> b;
    if (!take_bytes(args, 1, &b) || b.at(0) > 5)
        return sim_reply::refusal('B');
    const quint8 sub = b.at(0);
    quint8 &value = *values[sub / 2];
    if (sub % 2 == 1) {
        QList<quint8> all;
        if (!exact_bytes(args, 2, &all))
            return sim_reply::refusal('B');
        value = all.at(1);
    } else if (args.size() != 2) {
        return sim_reply::refusal('B');
    }
    return sim_reply('B').hex(0xCB0B, 4).hex(sub, 2).hex(value, 2);
}
