// The internal calibration engine of a simulated display: the procedures
// and the history entries they leave, what it reports of its own panel,
// and the white, black and tone curve it holds while it is on.
#include "simulator/sim_display.h"

#include "simulator/sim_control_codes.h"
#include "simulator/sim_hex.h"
#include "simulator/sim_white_balance.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace sim_code;

constexpr double kThousandths = 1000.0;
constexpr double kTenths = 10.0;
constexpr double kHundredths = 100.0;
constexpr quint16 kEngineOn = 2;
constexpr quint16 kHalfHourCounter = 0xFF;
constexpr int kHistoryLength = 10;
constexpr int kTextBytes = 13;
// Each uniformity level spends this share of the brightest white the
// engine can hold on evening out the screen.
constexpr double kUniformityCostPerLevel = 0.06;

// The kinds a history entry tells apart.
enum history_kind : quint8 { kFactoryCalibration = 2, kUserColourCalibration = 3, kUniformityUpdate = 4 };

// Colour modes (0x268) that select a tone curve while the engine is on.
enum curve_mode : quint16 { kCurveDicom = 5, kCurveTable = 6, kCurvePower = 9, kCurveSrgb = 11, kCurveLstar = 12 };
constexpr double kGammaBase = 0.5;   // gamma = 0x2E8 / 100 + 0.5

std::array<quint8, kTextBytes> text_field(const QByteArray &text)
{
    std::array<quint8, kTextBytes> out {};
    for (int i = 0; i < std::min<int>(text.size(), kTextBytes); ++i)
        out[static_cast<size_t>(i)] = static_cast<quint8>(text.at(i));
    return out;
}

quint16 in_range(double value, quint16 max)
{
    return static_cast<quint16>(std::lround(std::isfinite(value) ? std::clamp(value, 0.0, double(max)) : 0.0));
}

} // namespace

void sim_display::report_native_panel()
{
    const sim_panel &panel = engine.panel ? *engine.panel : sim_panel::nominal();
    // White x, white y, then red x, red y … blue y.
    const std::array<sim_chromaticity, 4> points {{panel.white, panel.primaries[0], panel.primaries[1],
                                                    panel.primaries[2]}};
    for (quint16 i = 0; i < 2 * points.size(); ++i) {
        const sim_chromaticity &point = points[i / 2];
        const quint16 value = in_range((i % 2 ? point.y : point.x) * kThousandths, quint16(kThousandths));
        controls.set_read_only(static_cast<quint16>(kNativeWhiteX + i), value, quint16(kThousandths));
    }
}

void sim_display::sync_engine()
{
    controls.set(kProcedure, engine.selected(), 13);
    controls.set(kEngineState, engine.state_value(), 7);
    controls.set_read_only(kEngineRun, engine.run_value(), 3);
    controls.set_read_only(kEngineProgress, engine.progress_current(), engine.progress_max());
    if (engine.last_finished == sim_engine::kNoProcedure)
        return;
    record_history(engine.last_finished);
    engine.last_finished = sim_engine::kNoProcedure;
    // An update calibration may have taught the engine its panel.
    update_video();
}

// A finished procedure as the display remembers it: the update calibration
// as a colour calibration by the user, the measurement as a uniformity
// update with its grid, the reset as the factory calibration.
void sim_display::record_history(quint16 procedure)
{
    sim_history_entry entry;
    entry.command_id = static_cast<quint8>(procedure);
    entry.year = clock.year;
    entry.month = clock.month;
    entry.day = clock.day;
    entry.hour = clock.hour;
    entry.minute = clock.minute;
    const quint32 half_hours = controls.value(kHalfHourCounter);
    entry.hours_high = static_cast<quint16>((half_hours / 2) >> 16);
    entry.hours_low = static_cast<quint16>(half_hours / 2);
    entry.hours_minutes = static_cast<quint8>(half_hours % 2 * 30);
    if (procedure == sim_engine::kResetSettings) {
        entry.calibration_type = kFactoryCalibration;
    } else {
        entry.calibration_type = procedure == sim_engine::kMeasurement ? kUniformityUpdate : kUserColourCalibration;
        entry.first_text = text_field(sensor_name);
        entry.second_text = text_field(sensor_serial);
    }
    if (procedure == sim_engine::kMeasurement) {
        const quint16 grid = controls.value(kUniformityPoints);
        entry.points_h = static_cast<quint8>(grid >> 8);
        entry.points_v = static_cast<quint8>(grid);
    }
    history.prepend(entry);
    while (history.size() > kHistoryLength)
        history.removeLast();
}

// The engine holds white at its targets (x and y in thousandths, luminance
// in cd/m²) through its own gains and the backlight, lifts black to its
// black level (tenths of cd/m², 0: the panel's own black) and, by the colour
// mode, realises a tone curve; it reports what it holds whether on or not.
// Without it the brightness control sets the backlight. True while it is on.
bool sim_display::update_engine_video()
{
    video.engine_gain = {{1.0, 1.0, 1.0}};
    video.engine_black_lift = {{0.0, 0.0, 0.0}};
    video.engine_curve = sim_tone_curve();
    video.backlight = controls.fraction(kBrightness, 1.0);
    if (!has_engine())
        return false;
    const sim_chromaticity target {controls.value(kEngineWhiteX) / kThousandths,
                                   controls.value(kEngineWhiteY) / kThousandths};
    const sim_white_balance white = sim_white_balance::for_target(
        engine.known_panel(), target, controls.value(kEngineLuminance), controls.value(kEngineBlack) / kTenths);
    if (sim_control *held = controls.find(kEngineHeldLuminance))
        held->current = in_range(white.white_luminance, held->max);
    if (sim_control *limit = controls.find(kUniformityLimit)) {
        const double spent = kUniformityCostPerLevel * controls.value(kUniformityLevel);
        limit->current = in_range(white.full_luminance * (1.0 - spent), limit->max);
    }
    if (controls.value(kEngineSwitch) != kEngineOn)
        return false;
    video.engine_gain = white.gain;
    video.engine_black_lift = white.black_lift;
    video.backlight = white.backlight;
    // Tells how much room the backlight has left for a brighter target.
    if (sim_control *drive = controls.find(kBacklightDrive))
        drive->current = static_cast<quint16>(std::lround(white.backlight * drive->max));
    sim_tone_curve &curve = video.engine_curve;
    switch (controls.value(kColourMode)) {
    case kCurvePower:
        curve.form = sim_tone_curve::kPower;
        curve.gamma = controls.value(kGamma) / kHundredths + kGammaBase;
        break;
    case kCurveDicom:
        curve.form = sim_tone_curve::kDicom;
        curve.black = white.black_luminance;
        curve.white = white.white_luminance;
        break;
    case kCurveSrgb:
        curve.form = sim_tone_curve::kSrgb;
        break;
    case kCurveLstar:
        curve.form = sim_tone_curve::kLstar;
        break;
    case kCurveTable:
        curve.form = sim_tone_curve::kTable;
        if (lut_active)
            curve.table = active_lut.normalised(active_lut_entries, active_lut_full_scale);
        break;
    default:
        break;
    }
    return true;
}

sim_reply sim_display::engine_results(const QByteArray &args)
{
    if (!has_engine() || !args.isEmpty())
        return sim_reply::refusal('B');
    const std::array<quint32, 3> last = engine.measurements.isEmpty() ? std::array<quint32, 3>{}
                                                                       : engine.measurements.last();
    return sim_reply('B').hex(0xC357, 4).hex(last[0], 8).hex(last[1], 8).hex(last[2], 8);
}

// X, Y and Z of one measurement, each thousandths of cd/m² as an unsigned
// 32-bit count; any three values are taken and kept as they came.
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
