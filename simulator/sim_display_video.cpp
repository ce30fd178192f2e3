// What a simulated display does with the tables and settings that reach its
// picture: the lookup-table memory, and the video state the light model
// follows.
#include "simulator/sim_display.h"

#include "simulator/sim_control_codes.h"
#include "simulator/sim_hex.h"

#include <algorithm>

namespace {

using namespace sim_code;

constexpr int kPatchOn = 2;
constexpr int kDefaultTableMax = 4080;
constexpr double kShortFullScale = 65535.0;
constexpr int kMaxBlock = 16;
constexpr quint16 kProgrammableModes[] = {6, 13, 14};

} // namespace

void sim_display::update_video()
{
    video.power_on = controls.value(kPower) == 1;
    const quint16 gains[] = {kGainRed, kGainGreen, kGainBlue};
    for (size_t c = 0; c < 3; ++c)
        video.gain[c] = controls.fraction(gains[c], 1.0);
    const bool engine_on = update_engine_video();
    const quint16 mode = controls.value(kColourMode);
    const bool programmable = std::find(std::begin(kProgrammableModes), std::end(kProgrammableModes), mode)
                              != std::end(kProgrammableModes);
    // An engine that realises a tone curve does so on the plain input.
    video.lut = programmable && lut_active && !video.engine_curve.active()
                    ? active_lut.normalised(active_lut_entries, active_lut_full_scale)
                    : std::array<std::vector<double>, 3>();
    const bool was_on = video.patch_on;
    video.patch_on = controls.value(engine_on ? kEnginePatch : kPatch) >= kPatchOn;
    const quint16 *levels = engine_on ? kEngineLevels
                            : profile && profile->levels == sim_model_profile::kExpertModeLevels ? kExpertLevels
                                                                                                 : kPagedLevels;
    for (size_t c = 0; c < 3; ++c)
        video.patch_level[c] = controls.fraction(levels[c], 1.0);
    publish_video(video.patch_on && !was_on);
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

