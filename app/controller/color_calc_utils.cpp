#include "app/controller/color_calc_utils.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "colour/CMonitorTracker.h"
#include "colour/CXYZ2RGBTransform.h"
#include "colour/tone_curves.h"

#include <QVector>

#include <algorithm>

namespace {

constexpr double kUnreachable = -1.0;
constexpr float kNoMinimumYet = 9999999.0f;
// Luminance at which the target white's drive is compared with the native white's.
constexpr double kComparisonLuminance = 3000.0;
constexpr double kWhiteGridStep = 0.001;

bool usable(const CCIEXYZ &primary)
{
    return primary.X > 0.0 || primary.Y > 0.0 || primary.Z > 0.0;
}

// What one display's white luminance at any white point depends on.
struct white_reach
{
    CXYZ2RGBTransform transform;
    float nativeWhiteDrive[3] = {};
    float primaryLuminance[3] = {};
    CIExy nativeWhite;
};

// 0, -1 without usable native primaries or with a native white that drives a
// primary at or below 0 (its ratio would divide by it), else the transform's code.
int reach_of(const CAdjustValue &record, white_reach &reach)
{
    const CColorValue::Patches &native = record.measurements.native;
    if (!usable(native.red) || !usable(native.green) || !usable(native.blue))
        return -1;
    const int result = reach.transform.SetPrimaries(native.red, native.green, native.blue);
    if (result != 0)
        return result;
    const RGBTriple drive = reach.transform.XYZToRGB(native.white);
    reach.nativeWhiteDrive[0] = float(drive.R);
    reach.nativeWhiteDrive[1] = float(drive.G);
    reach.nativeWhiteDrive[2] = float(drive.B);
    for (float component : reach.nativeWhiteDrive) {
        if (!(component > 0.0f))
            return -1;
    }
    reach.primaryLuminance[0] = float(native.red.Y);
    reach.primaryLuminance[1] = float(native.green.Y);
    reach.primaryLuminance[2] = float(native.blue.Y);
    reach.nativeWhite = native.white.ToCIExy();
    return 0;
}

// The white luminance at (x, y): the target white's drive relative to the
// native white's, scaled down so that no primary runs above its native drive.
float reachable_luminance(const white_reach &reach, double x, double y)
{
    const RGBTriple target = reach.transform.xyYToRGB(xyYTriple{x, y, kComparisonLuminance});
    const float ratio[3] = {float(target.R) / reach.nativeWhiteDrive[0], float(target.G) / reach.nativeWhiteDrive[1],
                            float(target.B) / reach.nativeWhiteDrive[2]};
    const float m = std::max({1.0f, ratio[0], ratio[1], ratio[2]});
    return ratio[1] / m * reach.primaryLuminance[1] + ratio[0] / m * reach.primaryLuminance[0]
           + ratio[2] / m * reach.primaryLuminance[2];
}

// The chromaticity a display is aimed at: the target's white, or for a
// native target the display's own white (a native target has no chromaticity).
CIExy aimed_white(const white_reach &reach, const CTargetValue &target)
{
    const CColorTemperature white = target.GetWhitePoint();
    return white.IsNative() ? reach.nativeWhite : white.GetCIExy();
}

// The enabled displays of the wall, each with its record when it has one.
struct enabled_display
{
    bool hasRecord = false;
    CAdjustValue record;
};

bool wall_available()
{
    return g_master && g_master->getLayoutManager() && g_master->getMonitorTracker();
}

bool record_of(const display_layout_item &item, CAdjustValue &record)
{
    return look_up_display_record(*g_master->getMonitorTracker(), item, record);
}

QVector<enabled_display> enabled_displays()
{
    QVector<enabled_display> displays;
    if (!wall_available())
        return displays;
    const layout_manager *layout = g_master->getLayoutManager();
    for (int i = 0; i < layout->item_count(); ++i) {
        display_layout_item item;
        if (layout->get_item(i, item) != 0 || !item.enabled)
            continue;
        enabled_display display;
        display.hasRecord = record_of(item, display.record);
        displays.append(display);
    }
    return displays;
}

} // namespace

color_calc_utils::color_calc_utils(QObject *parent) : QObject(parent) {}

int color_calc_utils::calculate_display_max_luminance(int index, const CTargetValue &target, double &luminance) const
{
    luminance = kUnreachable;
    display_layout_item item;
    if (!wall_available() || g_master->getLayoutManager()->get_item(index, item) != 0)
        return -1;
    if (!item.enabled)
        return 0;
    CAdjustValue record;
    if (!record_of(item, record))
        return -1;
    return calculate_record_max_luminance(record, target, luminance);
}

int color_calc_utils::calculate_record_max_luminance(const CAdjustValue &record, const CTargetValue &target,
                                                     double &luminance)
{
    luminance = kUnreachable;
    white_reach reach;
    const int result = reach_of(record, reach);
    if (result != 0)
        return result;
    const CIExy white = aimed_white(reach, target);
    luminance = reachable_luminance(reach, white.x, white.y);
    return 0;
}

int color_calc_utils::calculate_max_matching_luminance(const CTargetValue &target, double &luminance) const
{
    luminance = kUnreachable;
    if (!wall_available())
        return -1;
    float minimum = kNoMinimumYet;
    bool taken = false;
    for (const enabled_display &display : enabled_displays()) {
        if (!display.hasRecord)
            return -1;
        white_reach reach;
        const int result = reach_of(display.record, reach);
        if (result != 0)
            return result;
        const CIExy white = aimed_white(reach, target);
        minimum = std::min(minimum, reachable_luminance(reach, white.x, white.y));
        taken = true;
    }
    if (taken)
        luminance = minimum;
    return 0;
}

int color_calc_utils::calculate_best_common_white_point(CTargetValue &target) const
{
    // Each display's data is read once; displays without usable data take
    // no part, neither in the box nor in the luminance compared.
    QVector<white_reach> reaches;
    double xMin = 1.0, yMin = 1.0, xMax = 0.0, yMax = 0.0;
    for (const enabled_display &display : enabled_displays()) {
        white_reach reach;
        if (!display.hasRecord || reach_of(display.record, reach) != 0)
            continue;
        xMin = std::min(xMin, reach.nativeWhite.x);
        xMax = std::max(xMax, reach.nativeWhite.x);
        yMin = std::min(yMin, reach.nativeWhite.y);
        yMax = std::max(yMax, reach.nativeWhite.y);
        reaches.append(reach);
    }
    if (reaches.isEmpty())
        return -1;

    CIExy best{xMin, yMin};
    float bestLuminance = 0.0f;
    // Grid points are counted, not accumulated, so that no rounding drift
    // adds or drops a column.
    for (int i = 0; xMin + i * kWhiteGridStep < xMax; ++i) {
        const double x = xMin + i * kWhiteGridStep;
        for (int j = 0; yMin + j * kWhiteGridStep < yMax; ++j) {
            const double y = yMin + j * kWhiteGridStep;
            float dimmest = kNoMinimumYet;
            for (const white_reach &reach : reaches)
                dimmest = std::min(dimmest, reachable_luminance(reach, x, y));
            if (dimmest > bestLuminance) {
                bestLuminance = dimmest;
                best = CIExy{x, y};
            }
        }
    }
    target.SetWhitePoint(CColorTemperature(best));
    return 0;
}

bool color_calc_utils::all_displays_measured() const
{
    if (!wall_available() || g_master->getLayoutManager()->item_count() == 0)
        return false;
    bool anyMeasured = false;
    for (const enabled_display &display : enabled_displays()) {
        const CColorValue::Patches &native = display.record.measurements.native;
        if (!display.hasRecord || !usable(native.red) || !usable(native.green) || !usable(native.blue))
            return false;
        anyMeasured = true;
    }
    return anyMeasured;
}

int color_calc_utils::make_smpte240m_curve(CSpline &curve)
{
    return ::make_smpte240m_curve(curve);
}

int color_calc_utils::make_lstar_curve(CSpline &curve)
{
    return ::make_lstar_curve(curve);
}

int color_calc_utils::make_ntsc_smpte170m_curve(CSpline &curve)
{
    return ::make_ntsc_smpte170m_curve(curve);
}

int color_calc_utils::make_srgb_curve(CSpline &curve)
{
    return ::make_srgb_curve(curve);
}

int color_calc_utils::make_target_curve(const CColorValue &measurements, const CTargetValue &target, CSpline &curve)
{
    return ::make_target_curve(measurements, target, curve);
}
