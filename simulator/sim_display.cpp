#include "simulator/sim_display.h"

#include "simulator/sim_args.h"
#include "simulator/sim_control_codes.h"
#include "simulator/sim_hex.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr quint8 kUnsupported = 0x01;
constexpr quint32 kPowerOn = 1;

// The scale the application's waits run at when started beside this
// simulator: the same environment variable, 1 when unset or not a number >= 0.
double time_scale_from_environment()
{
    const char *text = std::getenv("TESSALINE_TIME_SCALE");
    if (!text)
        return 1.0;
    bool ok = false;
    const double scale = QByteArray(text).toDouble(&ok);
    return ok && std::isfinite(scale) && scale >= 0.0 ? scale : 1.0;
}

const char kDefaultCapabilities[] =
    "(prot(monitor)type(LCD)model(SIM-WALL 55)cmds(01 02 03 07 0C F3)"
    "vcp(02 04 05 08 10 12 14(01 05 06 08 0B) 16 18 1A 60(01 03 11) D6(01 04))"
    "mccs_ver(2.1)mpu_ver(1.000))";

using sim_args::hex_text;
using sim_args::take_bytes;

} // namespace

const sim_display::command sim_display::kCommands[] = {
    {"C011", &sim_display::set_expert_mode},
    {"C203D6", &sim_display::set_power},
    {"01D6", &sim_display::get_power},
    {"0C", &sim_display::save_settings},
    {"07", &sim_display::timing_report},
    {"C210", &sim_display::ir_key},
    {"F3", &sim_display::capability_fragment},
    {"C216", &sim_display::serial_text},
    {"C217", &sim_display::model_text},
    {"CA02", &sim_display::identity_text},
    {"B1", &sim_display::self_test},
    {"C211", &sim_display::read_clock},
    {"C212", &sim_display::write_clock},
    {"C213", &sim_display::read_program},
    {"C214", &sim_display::write_program},
    {"C221", &sim_display::read_extended_c221},
    {"C222", &sim_display::write_extended_c222},
    {"C23D", &sim_display::read_extended_c23d},
    {"C23E", &sim_display::write_extended_c23e},
    {"CA19", &sim_display::holiday},
    {"CA1A", &sim_display::weekend},
    {"C220", &sim_display::mac},
    {"C22A", &sim_display::lan_text},
    {"C25A", &sim_display::history_entry},
    {"C255", &sim_display::read_sensor},
    {"C256", &sim_display::write_sensor},
    {"CA0B", &sim_display::power_setting},
    {"C206", &sim_display::commit_settings},
    {"C207", &sim_display::activate_table},
    {"C205", &sim_display::lut_write_long},
    {"C20B", &sim_display::lut_write_short},
    {"C204", &sim_display::lut_read_long},
    {"C20A", &sim_display::lut_read_short},
    {"C257", &sim_display::engine_results},
    {"C258", &sim_display::engine_measurement},
};

void sim_display::publish_video(bool became_active)
{
    if (video_observer)
        video_observer->video_changed(video, became_active);
}

sim_display::sim_display(char id)
    : monitor_id(id), capability_string(kDefaultCapabilities), time_scale(time_scale_from_environment())
{
    using namespace sim_code;
    for (quint16 code : {kBrightness, kContrast, kGainRed, kGainGreen, kGainBlue})
        controls.set(code, 50, 100);
    controls.set(kColourPreset, 5, 11);
    controls.set(kInput, 17, 255);
    controls.set(kPower, 1, 4);
    for (schedule_program &p : programs)
        p = {24, 60, 24, 60, 0, 0, 0, 0};
}

sim_reply sim_display::handle(char type, const QByteArray &body)
{
    if (fault.kind == sim_fault_kind::refuse_be && fault.consume())
        return sim_reply::refusal(static_cast<char>(type + 1));
    switch (type) {
    case 'A':
        return command_reply(body);
    case 'C':
    case 'E':
        return parameter_reply(type, body);
    default:
        return sim_reply::refusal('B');
    }
}

sim_reply sim_display::command_reply(const QByteArray &body)
{
    const auto scripted = scripted_replies.constFind(body);
    if (scripted != scripted_replies.constEnd())
        return sim_reply('B').text(scripted.value());
    for (const command &c : kCommands) {
        if (body.startsWith(c.prefix))
            return (this->*c.run)(body.mid(static_cast<int>(qstrlen(c.prefix))));
    }
    return sim_reply::refusal('B');
}

sim_reply sim_display::set_expert_mode(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 1, &b))
        return sim_reply::refusal('B');
    expert_mode = b.at(0);
    return sim_reply('B').hex(0, 2).hex(0xC111, 4).hex(expert_mode, 2);
}

sim_reply sim_display::set_power(const QByteArray &args)
{
    quint32 mode = 0;
    if (args.size() != 4 || !sim_hex::decode(args, &mode))
        return sim_reply::refusal('B');
    sim_control *power = controls.find(sim_code::kPower);
    const bool accepted = power && mode >= 1 && mode <= power->max && !(mode == kPowerOn && refuses_power_on);
    if (accepted) {
        power->current = static_cast<quint16>(mode);
        update_video();
    }
    return sim_reply('B').hex(accepted ? 0 : kUnsupported, 2).text("C203D6").hex(mode, 4);
}

sim_reply sim_display::get_power(const QByteArray &)
{
    const sim_control *power = controls.find(sim_code::kPower);
    sim_reply reply('B');
    reply.hex(0x02, 2).hex(power ? 0 : kUnsupported, 2).text("D6").hex(0, 2);
    return reply.hex(power ? power->max : 0, 4).hex(power ? power->current : 0, 4);
}

sim_reply sim_display::save_settings(const QByteArray &)
{
    ++saves;
    return sim_reply('B').hex(0, 2).hex(0x0C, 2);
}

sim_reply sim_display::timing_report(const QByteArray &)
{
    return sim_reply('B').hex(0x4E, 2).hex(timing_status, 2).hex(horizontal_khz_x100, 4).hex(vertical_hz_x100, 4);
}

sim_reply sim_display::ir_key(const QByteArray &args)
{
    int pos = 0;
    quint32 key = 0, repeat = 0;
    if (!sim_hex::take(args, &pos, 4, &key) || !sim_hex::take(args, &pos, 2, &repeat))
        return sim_reply::refusal('B');
    // A key it does not know is answered in the long form, with its result.
    if (refused_ir_keys.contains(static_cast<quint16>(key)))
        return sim_reply('B').hex(kUnsupported, 2).hex(0xC210, 4).hex(key, 4).hex(repeat, 2);
    ir_keys.append(static_cast<quint16>(key));
    return sim_reply('B').hex(0xC310, 4).hex(key, 4);
}

sim_reply sim_display::capability_fragment(const QByteArray &args)
{
    quint32 offset = 0;
    if (args.size() != 4 || !sim_hex::decode(args, &offset))
        return sim_reply::refusal('B');
    const QByteArray fragment = capability_string.mid(static_cast<int>(offset), capability_fragment_size);
    return sim_reply('B').hex(0xE3, 2).hex(offset, 4).text(fragment);
}

sim_reply sim_display::serial_text(const QByteArray &)
{
    return sim_reply('B').hex(0xC316, 4).text(hex_text(serial_number));
}

sim_reply sim_display::model_text(const QByteArray &)
{
    return sim_reply('B').hex(0xC317, 4).text(hex_text(model_name));
}

sim_reply sim_display::identity_text(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 1, &b))
        return sim_reply::refusal('B');
    const int selector = b.at(0);
    const bool known = selector < static_cast<int>(identity_texts.size());
    sim_reply reply('B');
    reply.hex(0xCB02, 4).hex(known ? 0 : kUnsupported, 2).hex(selector, 2);
    return reply.text(known ? identity_texts[static_cast<size_t>(selector)] : QByteArray());
}

sim_reply sim_display::self_test(const QByteArray &)
{
    sim_reply reply('B');
    reply.hex(0xA1, 2);
    for (char c : self_test_report)
        reply.hex(static_cast<quint8>(c), 2);
    return reply;
}

sim_reply sim_display::read_clock(const QByteArray &)
{
    sim_reply reply('B');
    reply.hex(0xC311, 4);
    for (quint8 v : {clock.year, clock.month, clock.day, clock.weekday, clock.hour, clock.minute,
                     clock.daylight_saving})
        reply.hex(v, 2);
    return reply;
}

sim_reply sim_display::write_clock(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 7, &b) || args.size() != 14)
        return sim_reply::refusal('B');
    clock = clock_state {b[0], b[1], b[2], b[3], b[4], b[5], b[6]};
    sim_reply reply('B');
    reply.hex(0, 2).hex(0xC312, 4);
    for (quint8 v : b)
        reply.hex(v, 2);
    return reply;
}

sim_reply sim_display::read_program(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 1, &b) || b.at(0) >= kPrograms)
        return sim_reply::refusal('B');
    const schedule_program &p = programs[b.at(0)];
    sim_reply reply('B');
    reply.hex(0xC313, 4).hex(b.at(0), 2);
    for (int i = 0; i < schedule_entry_bytes; ++i)
        reply.hex(p[static_cast<size_t>(i)], 2);
    return reply;
}

sim_reply sim_display::write_program(const QByteArray &args)
{
    QList<quint8> b;
    if (!take_bytes(args, 1 + schedule_entry_bytes, &b) || args.size() != 2 * (1 + schedule_entry_bytes)
        || b.at(0) >= kPrograms)
        return sim_reply::refusal('B');
    schedule_program &p = programs[b.at(0)];
    for (int i = 0; i < schedule_entry_bytes; ++i)
        p[static_cast<size_t>(i)] = b.at(1 + i);
    sim_reply reply('B');
    reply.hex(0, 2).hex(0xC314, 4).hex(b.at(0), 2);
    for (int i = 0; i < schedule_entry_bytes; ++i)
        reply.hex(p[static_cast<size_t>(i)], 2);
    return reply;
}
