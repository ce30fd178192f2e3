// What a simulated display does with the controls and tables that reach its
// picture: per-model controls, the lookup-table memory, the internal
// calibration engine, corner uniformity, and the video state the light model
// follows.
#include "simulator/sim_display.h"

#include "simulator/sim_args.h"
#include "simulator/sim_hex.h"
#include "simulator/sim_white_balance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr quint16 kBrightness = 0x10;
constexpr quint16 kGains[] = {0x16, 0x18, 0x1A};
constexpr quint16 kPowerControl = 0xD6;
constexpr quint16 kColourMode = 0x268;
constexpr quint16 kPatch = 0x2C3;
constexpr quint16 kEnginePatch = 0x2C8;
constexpr quint16 kPagedLevels[] = {0x103A, 0x103B, 0x103C};
constexpr quint16 kExpertLevels[] = {0x318, 0x31A, 0x31C};
constexpr quint16 kEngineLevels[] = {0x1192, 0x1193, 0x1194};
constexpr quint16 kShortTable = 0x2F9;
constexpr quint16 kTableMax = 0x2CA;
constexpr quint16 kEngineSwitch = 0x1147;
constexpr quint16 kEngineLuminance = 0x2B3;
constexpr quint16 kEngineWhiteX = 0x1052;
constexpr quint16 kEngineWhiteY = 0x1053;
constexpr quint16 kBacklightDrive = 0x27F;
constexpr double kThousandths = 1000.0;
constexpr quint16 kProcedure = 0x1017;
constexpr quint16 kEngineState = 0x1018;
constexpr quint16 kEngineRun = 0x2AA;
constexpr quint16 kEngineProgress = 0x11C5;
constexpr quint16 kCornerSelect = 0x11C7;
constexpr quint16 kCornerSize = 0x11C8;
constexpr quint16 kCornerArea = 0x11C9;
constexpr quint16 kFactoryColour = 0x08;
constexpr quint16 kNativeGamutFirst = 0x10FA;
constexpr quint16 kNativeGamutCount = 6;
constexpr quint16 kEngineBlack = 0x1054;
constexpr double kTenths = 10.0;
constexpr quint8 kExpertMode = 2;
constexpr int kPatchOn = 2;
constexpr int kEngineOn = 2;
constexpr int kDefaultTableMax = 4080;
constexpr double kShortFullScale = 65535.0;
constexpr int kMaxBlock = 16;
constexpr quint16 kProgrammableModes[] = {6, 13, 14};

struct control_row
{
    quint16 code;
    quint16 current;
    quint16 max;
    bool read_only;
};

// Every model has these.
const control_row kCommonControls[] = {
    {0x08, 0, 1, false},     {0x10, 80, 100, false},  {0x12, 50, 100, false}, {0x14, 11, 11, false},
    {0x16, 255, 255, false}, {0x18, 255, 255, false}, {0x1A, 255, 255, false}, {0x60, 17, 255, false},
    {0x92, 50, 100, false},  {0x9B, 50, 100, false},  {0x9C, 50, 100, false}, {0x9D, 50, 100, false},
    {0x9E, 50, 100, false},  {0x9F, 50, 100, false},  {0xA0, 50, 100, false}, {0xD6, 1, 4, false},
    {0xFF, 6000, 0xFFFF, true}, {0xFA, 7000, 0xFFFF, true}, {0x21A, 4, 4, false}, {0x22D, 0, 1, false},
    {0x241, 0, 3, false},    {0x268, 1, 14, false},   {0x27F, 100, 100, false}, {0x2C3, 1, 2, false},
    {0x10C8, 1, 1, false},   {0x1075, 1, 1, false},   {0x10D3, 2, 2, false},    {0x66, 1, 1, false},
};

const control_row kMinuteCounters[] = {
    {0x11FE, 0, 0xFFFF, true}, {0x11FF, 12345, 0xFFFF, true},
    {0x11FA, 1, 0xFFFF, true}, {0x11FB, 100, 0xFFFF, true},
};

const control_row kEngineControls[] = {
    {kEngineSwitch, 1, 2, false}, {0x1192, 1023, 1023, false}, {0x1193, 1023, 1023, false},
    {0x1194, 1023, 1023, false},  {kEnginePatch, 1, 2, false}, {kProcedure, 0, 13, false},
    {kEngineState, 0, 7, false},  {kEngineRun, 0, 3, true},    {kEngineProgress, 0, 0, true},
    {0x11CE, 0, 100, false},      {0x11B0, 1, 1, false},       {0x1050, 1, 8, false},
    {0x1051, 8, 15, false},       {0x1052, 313, 1000, false},  {0x1053, 329, 1000, false},
    {kEngineBlack, 0, 100, false}, {0x1055, 640, 1000, false},  {0x1056, 330, 1000, false},
    {0x1057, 300, 1000, false},   {0x1058, 600, 1000, false},  {0x1059, 150, 1000, false},
    {0x105A, 60, 1000, false},    {0x105B, 1, 1, false},       {0x105C, 0, 1, false},
    {0x1062, 1, 1, false},        {0x1067, 1, 3, false},       {0x1069, 1, 1, false},
    {0x106F, 20, 500, true},      {kEngineLuminance, 300, 500, false}, {0x2E8, 220, 300, false},
    {0x2EE, 0, 5, false},
};

const control_row kCornerControls[] = {
    {kCornerSelect, 0, 3, false}, {kCornerSize, 0, 2, false}, {kCornerArea, 0x2020, 0x4040, false},
};

void add_rows(sim_control_table &controls, const control_row *rows, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const control_row &r = rows[i];
        if (r.read_only)
            controls.set_read_only(r.code, r.current, r.max);
        else
            controls.set(r.code, r.current, r.max);
    }
}

template <size_t N>
void add_rows(sim_control_table &controls, const control_row (&rows)[N])
{
    add_rows(controls, rows, N);
}

double fraction(const sim_control_table &controls, quint16 code, double fallback)
{
    const sim_control *c = controls.find(code);
    return c && c->supported && c->max ? static_cast<double>(c->current) / c->max : fallback;
}

bool is_one_of(quint16 code, std::initializer_list<quint16> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

bool sim_display::apply_model(const QByteArray &name)
{
    const sim_model_profile *p = sim_model_profile::find(name);
    if (!p)
        return false;
    profile = p;
    model_name = name;
    controls = sim_control_table();
    add_rows(controls, kCommonControls);
    for (quint16 code : p->levels == sim_model_profile::kExpertModeLevels ? kExpertLevels : kPagedLevels)
        controls.set(code, 1023, 1023);
    if (p->short_table)
        controls.set(kShortTable, 0, 1);
    if (p->table_max)
        controls.set_read_only(kTableMax, static_cast<quint16>(p->table_max), static_cast<quint16>(p->table_max));
    if (p->minute_counters)
        add_rows(controls, kMinuteCounters);
    if (p->engine) {
        add_rows(controls, kEngineControls);
        report_native_gamut();
    }
    if (p->corner_uniformity)
        add_rows(controls, kCornerControls);
    schedule_entry_bytes = p->older_generation ? 7 : 8;
    extended_schedules = !p->older_generation;
    capability_string = "(prot(monitor)type(LCD)model(" + name + ")cmds(01 02 03 07 0C F3)"
                        "vcp(02 04 05 08 10 12 14(01 05 06 08 0B) 16 18 1A 60 D6(01 04))"
                        "vcp_p02(68 C3 F9)mccs_ver(2.1)mpu_ver(" + name.mid(3) + "-1.000))";
    update_video();
    return true;
}

bool sim_display::reachable(quint16 code) const
{
    if (is_one_of(code, {kExpertLevels[0], kExpertLevels[1], kExpertLevels[2]}))
        return expert_mode == kExpertMode;
    return true;
}

bool sim_display::accept_write(quint16 code, quint16 value)
{
    if (code == kProcedure && has_engine())
        return engine.select(value);
    return true;
}

void sim_display::before_read(quint16 code)
{
    if (!has_engine())
        return;
    if (code == kEngineState || code == kEngineRun)
        engine.poll();
    if (is_one_of(code, {kEngineState, kEngineRun, kEngineProgress, kProcedure}))
        sync_engine();
    if (code >= kNativeGamutFirst && code < kNativeGamutFirst + kNativeGamutCount)
        report_native_gamut();
}

// The primaries of the panel the display sits on, in thousandths (red x,
// red y, green x … blue y); read when asked, since the panel may change.
void sim_display::report_native_gamut()
{
    const sim_panel &panel = engine.panel ? *engine.panel : sim_panel::nominal();
    for (quint16 i = 0; i < kNativeGamutCount; ++i) {
        const sim_chromaticity &primary = panel.primaries[i / 2];
        const double raw = (i % 2 ? primary.y : primary.x) * kThousandths;
        const double value = std::isfinite(raw) ? std::clamp(raw, 0.0, kThousandths) : 0.0;
        controls.set_read_only(static_cast<quint16>(kNativeGamutFirst + i), static_cast<quint16>(std::lround(value)),
                               static_cast<quint16>(kThousandths));
    }
}

void sim_display::sync_engine()
{
    controls.set(kProcedure, engine.selected(), 13);
    controls.set(kEngineState, engine.state_value(), 7);
    controls.set_read_only(kEngineRun, engine.run_value(), 3);
    controls.set_read_only(kEngineProgress, engine.progress_current(), engine.progress_max());
    if (engine.last_finished == sim_engine::kUpdateCalibration) {
        sim_history_entry entry;
        entry.command_id = static_cast<quint8>(engine.last_finished);
        entry.year = clock.year;
        entry.month = clock.month;
        entry.day = clock.day;
        entry.hour = clock.hour;
        entry.minute = clock.minute;
        entry.calibration_type = 1;
        entry.points_h = static_cast<quint8>(engine.config.positions);
        entry.points_v = 1;
        history.prepend(entry);
        while (history.size() > 10)
            history.removeLast();
    }
    engine.last_finished = sim_engine::kNoProcedure;
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
    } else if (code == kFactoryColour) {
        for (quint16 gain : kGains) {
            if (sim_control *c = controls.find(gain))
                c->current = c->max;
        }
    }
    update_video();
}

void sim_display::update_video()
{
    const bool engine_on = has_engine() && controls.value(kEngineSwitch) == kEngineOn;
    video.power_on = controls.value(kPowerControl) == 1;
    for (size_t c = 0; c < 3; ++c)
        video.gain[c] = fraction(controls, kGains[c], 1.0);
    update_engine_white(engine_on);
    const quint16 mode = controls.value(kColourMode);
    const bool programmable = std::find(std::begin(kProgrammableModes), std::end(kProgrammableModes), mode)
                              != std::end(kProgrammableModes);
    video.lut = programmable && lut_active ? active_lut.normalised(active_lut_entries, active_lut_full_scale)
                                           : std::array<std::vector<double>, 3>();
    const bool was_on = video.patch_on;
    video.patch_on = controls.value(engine_on ? kEnginePatch : kPatch) >= kPatchOn;
    const quint16 *levels = engine_on ? kEngineLevels
                            : profile && profile->levels == sim_model_profile::kExpertModeLevels ? kExpertLevels
                                                                                                 : kPagedLevels;
    for (size_t c = 0; c < 3; ++c)
        video.patch_level[c] = fraction(controls, levels[c], 1.0);
    publish_video(video.patch_on && !was_on);
}

// The engine holds white at its targets (x and y in thousandths, luminance
// in cd/m²) through its own gains and the backlight, and lifts black to its
// black level (tenths of cd/m², 0: the panel's own black); without it the
// brightness control sets the backlight.
void sim_display::update_engine_white(bool engine_on)
{
    if (!engine_on) {
        video.engine_gain = {{1.0, 1.0, 1.0}};
        video.engine_black_lift = {{0.0, 0.0, 0.0}};
        video.backlight = fraction(controls, kBrightness, 1.0);
        return;
    }
    const sim_chromaticity target {controls.value(kEngineWhiteX) / kThousandths,
                                   controls.value(kEngineWhiteY) / kThousandths};
    const sim_white_balance white = sim_white_balance::for_target(
        engine.known_panel(), target, controls.value(kEngineLuminance), controls.value(kEngineBlack) / kTenths);
    video.engine_gain = white.gain;
    video.engine_black_lift = white.black_lift;
    video.backlight = white.backlight;
    // Tells how much room the backlight has left for a brighter target.
    if (sim_control *drive = controls.find(kBacklightDrive))
        drive->current = static_cast<quint16>(std::lround(white.backlight * drive->max));
}

sim_reply sim_display::commit_settings(const QByteArray &args)
{
    if (!args.isEmpty())
        return sim_reply::refusal('B');
    ++lut_commits;
    activate_lut();
    return sim_reply('B').hex(0, 2).hex(0xC306, 4);
}

sim_reply sim_display::activate_table(const QByteArray &args)
{
    if (!args.isEmpty())
        return sim_reply::refusal('B');
    ++lut_activations;
    activate_lut();
    return sim_reply('B').hex(0, 2).hex(0xC307, 4);
}

void sim_display::activate_lut()
{
    active_lut = lut;
    lut_active = true;
    const bool short_mode = controls.value(kShortTable) == 1;
    active_lut_entries = short_mode ? sim_lut_memory::kShortStride : sim_lut_memory::kCells;
    active_lut_full_scale = lut.last_write_short() ? kShortFullScale
                                                   : controls.value(kTableMax, kDefaultTableMax);
    update_video();
}

sim_reply sim_display::lut_write(const QByteArray &args, sim_lut_memory::addressing form, quint16 reply_code)
{
    int pos = 0;
    quint32 offset = 0;
    if (!sim_hex::take(args, &pos, 4, &offset) || (args.size() - pos) % 4 != 0)
        return sim_reply::refusal('B');
    QVector<quint16> values;
    quint32 v = 0;
    while (pos < args.size() && sim_hex::take(args, &pos, 4, &v))
        values.append(static_cast<quint16>(v));
    if (pos != args.size() || values.isEmpty() || values.size() > kMaxBlock
        || !lut.write(form, static_cast<int>(offset), values))
        return sim_reply::refusal('B');
    sim_reply reply('B');
    reply.hex(reply_code, 4).hex(offset, 4);
    for (quint16 value : values)
        reply.hex(value, 4);
    return reply;
}

sim_reply sim_display::lut_read(const QByteArray &args, sim_lut_memory::addressing form, quint16 reply_code)
{
    int pos = 0;
    quint32 offset = 0, count = 0;
    QVector<quint16> values;
    if (!sim_hex::take(args, &pos, 4, &offset) || !sim_hex::take(args, &pos, 2, &count) || pos != args.size()
        || count == 0 || count > kMaxBlock || !lut.read(form, static_cast<int>(offset), static_cast<int>(count), &values))
        return sim_reply::refusal('B');
    sim_reply reply('B');
    reply.hex(reply_code, 4);
    for (quint16 value : values)
        reply.hex(value, 4);
    return reply;
}

sim_reply sim_display::engine_results(const QByteArray &args)
{
    if (!has_engine() || !args.isEmpty())
        return sim_reply::refusal('B');
    const std::array<quint32, 3> last = engine.measurements.isEmpty() ? std::array<quint32, 3>{}
                                                                       : engine.measurements.last();
    return sim_reply('B').hex(0xC357, 4).hex(last[0], 8).hex(last[1], 8).hex(last[2], 8);
}

sim_reply sim_display::engine_measurement(const QByteArray &args)
{
    int pos = 0;
    std::array<quint32, 3> xyz {};
    for (quint32 &v : xyz) {
        if (!sim_hex::take(args, &pos, 8, &v))
            return sim_reply::refusal('B');
    }
    if (!has_engine() || pos != args.size())
        return sim_reply::refusal('B');
    const bool wanted = engine.measurement(xyz);
    sync_engine();
    sim_reply reply('B');
    reply.hex(0xC358, 4).hex(wanted ? 0 : 1, 2);
    for (int i = 0; i < 12; ++i)
        reply.hex(0, 2);
    return reply;
}
