// The controls of a simulated display: its model, the get and set
// parameter requests, and what reading or writing a control does besides
// storing a value.
#include "simulator/sim_display.h"

#include "simulator/sim_control_codes.h"
#include "simulator/sim_hex.h"
#include "simulator/sim_model_controls.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace sim_code;

constexpr quint8 kUnsupported = 0x01;
constexpr quint8 kExpertMode = 2;
constexpr int kFirstMonitorIdCharacter = 64;   // ID 1 is 'A'
// A switch of input resolution keeps the reply longer than a set parameter
// request's normal wait (6 s), within that of the slow link (14 s).
constexpr int kInputResolutionSwitchMs = 10000;

bool is_one_of(quint16 code, std::initializer_list<quint16> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// "(11 12 82)": input codes as the capability string lists them.
QByteArray code_list(const QList<quint16> &codes)
{
    QList<QByteArray> parts;
    for (quint16 code : codes)
        parts << sim_hex::encode(code, 2);
    return "(" + parts.join(' ') + ")";
}

// The reading of the sensor or fan a selector names (1 …), 0 for none.
quint16 selected(const std::array<quint16, 3> &readings, quint16 selector)
{
    return selector >= 1 && selector <= readings.size() ? readings[selector - 1u] : 0;
}

} // namespace

bool sim_display::apply_model(const QByteArray &name)
{
    const sim_model_profile *p = sim_model_profile::find(name);
    if (!p)
        return false;
    profile = p;
    model_name = name;
    controls = sim_model_controls::build(*p);
    inputs = QList<quint16>(p->inputs.begin(), p->inputs.end());
    refused_ir_keys.clear();
    if (p->refused_ir_key)
        refused_ir_keys.insert(p->refused_ir_key);
    identity_texts[0] = p->firmware;
    write_reply_delays_ms.insert(kInputResolution, kInputResolutionSwitchMs);
    schedule_entry_bytes = p->older_generation ? 7 : 8;
    extended_schedules = !p->older_generation;
    capability_string = "(prot(monitor)type(LCD)model(" + name + ")cmds(01 02 03 07 0C F3)"
                        "vcp(02 04 05 08 10 12 14(01 05 06 08 0B) 16 18 1A 60" + code_list(inputs) + " D6(01 04))"
                        "vcp_p02(68 C3 F9)mccs_ver(2.1)mpu_ver(" + name.mid(3) + "-1.000))";
    if (p->engine)
        report_native_panel();
    update_video();
    return true;
}

sim_reply sim_display::parameter_reply(char type, const QByteArray &body)
{
    const char reply_type = type == 'C' ? 'D' : 'F';
    int pos = 0;
    quint32 page = 0, opcode = 0, value = 0;
    const bool ok = sim_hex::take(body, &pos, 2, &page) && sim_hex::take(body, &pos, 2, &opcode)
                    && (type == 'C' || sim_hex::take(body, &pos, 4, &value)) && pos == body.size();
    if (!ok)
        return sim_reply::refusal(reply_type);
    const quint16 code = static_cast<quint16>(page << 8 | opcode);
    if (type == 'C')
        before_read(code);
    sim_control *control = reachable(code) ? controls.find(code) : nullptr;
    sim_reply reply(reply_type);
    if (!control || !control->supported) {
        reply.hex(kUnsupported, 2).hex(page, 2).hex(opcode, 2).hex(0, 2).hex(0, 4).hex(0, 4);
        return reply;
    }
    quint8 result = 0;
    if (type == 'E' && control->read_only) {
        result = kUnsupported;
    } else if (type == 'E') {
        const quint16 written = static_cast<quint16>(value);
        if (refuses_write(code, written) || !accept_write(code, written))
            return sim_reply::refusal(reply_type);
        control->current = kept_value(code, *control, written);
        after_write(code);
        control = controls.find(code);
        const auto delay = write_reply_delays_ms.constFind(code);
        if (delay != write_reply_delays_ms.constEnd())
            reply.delay(static_cast<int>(std::lround(delay.value() * time_scale)));
    }
    reply.hex(result, 2).hex(page, 2).hex(opcode, 2).hex(control->type, 2).hex(control->max, 4);
    reply.hex(control->current, 4);
    return reply;
}

bool sim_display::reachable(quint16 code) const
{
    if (is_one_of(code, {kExpertLevels[0], kExpertLevels[1], kExpertLevels[2], kAutoBiasGain}))
        return expert_mode == kExpertMode;
    return true;
}

bool sim_display::refuses_write(quint16 code, quint16 value)
{
    write_refusal &r = refused_writes;
    if (r.remaining == 0 || r.code != code || (r.value != write_refusal::kAnyValue && r.value != value))
        return false;
    if (r.remaining > 0)
        --r.remaining;
    return true;
}

bool sim_display::accept_write(quint16 code, quint16 value)
{
    if (code == kProcedure && has_engine())
        return engine.select(value);
    return true;
}

// An input the display lacks is answered like any write but not taken.
quint16 sim_display::kept_value(quint16 code, const sim_control &control, quint16 value) const
{
    if (code == kInput && !inputs.isEmpty() && !inputs.contains(value))
        return control.current;
    return control.stored(value);
}

void sim_display::before_read(quint16 code)
{
    if (code == kMonitorId)
        controls.force(kMonitorId, static_cast<quint16>(static_cast<quint8>(monitor_id) - kFirstMonitorIdCharacter));
    else if (code == kTemperature)
        controls.force(kTemperature, selected(temperatures, controls.value(kTemperatureSelect)));
    else if (code == kFanState)
        controls.force(kFanState, selected(fan_states, controls.value(kFanSelect)));
    if (!has_engine())
        return;
    if (code == kEngineState || code == kEngineRun)
        engine.poll();
    if (is_one_of(code, {kEngineState, kEngineRun, kEngineProgress, kProcedure}))
        sync_engine();
    if (code >= kNativeWhiteX && code < kNativeGamutFirst + 6)
        report_native_panel();
}

void sim_display::after_write(quint16 code)
{
    if (code == kEngineState && has_engine()) {
        engine.command_written(controls.value(kEngineState));
        sync_engine();
    } else if (code == kProcedure && has_engine()) {
        sync_engine();
    } else if (code == kCornerSelect) {
        const corner_state &c = corners[controls.value(kCornerSelect) & 3];
        controls.set(kCornerArea, c.area, c.area_max);
        controls.set(kCornerSize, c.size, 2);
    } else if (code == kCornerArea || code == kCornerSize) {
        corner_state &c = corners[controls.value(kCornerSelect) & 3];
        c.area = controls.value(kCornerArea);
        c.size = controls.value(kCornerSize);
    } else if (code == kFactoryColourReset) {
        for (quint16 gain : {kGainRed, kGainGreen, kGainBlue}) {
            if (sim_control *c = controls.find(gain))
                c->current = c->max;
        }
    } else if (code == kDefaultsReset) {
        const quint16 group = controls.value(kDefaultsReset);
        if (group == sim_model_controls::kPictureDefaults || group == sim_model_controls::kSizeDefaults)
            sim_model_controls::reset(static_cast<sim_model_controls::reset_group>(group), controls);
    }
    update_video();
}
