#include "views/wall/display_tile_view.h"

#include "app/services/string_resource.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"

#include <algorithm>

namespace {

constexpr qint16 kCornersOnly = CAdjustValue::kTrimCorners;
constexpr double kCalibratedTolerance = 0.1;  // calibrated white within 10 % of the target
constexpr double kReachableMargin = 0.95;     // the target may be 5 % above what the display reaches

const QColor kDisabled(128, 128, 128), kDisabledHover(135, 135, 135);
const QColor kFault(255, 192, 192), kFaultHover(255, 205, 205);
const QColor kUnverified(255, 255, 192), kUnverifiedHover(255, 255, 205);
const QColor kCalibrated(192, 255, 192), kCalibratedHover(205, 255, 205);
const QColor kMeasured(192, 192, 255), kMeasuredHover(205, 205, 255);
const QColor kVerified(192, 255, 255), kVerifiedHover(205, 255, 255);

enum status_text : int {
    kTextIdConflict = 305,
    kTextNotVerified = 306,
    kTextCalibrated = 307,
    kTextMeasured = 308,
    kTextVerified = 309,
    kTextVerifyFailed = 310,
    kTextDisabled = 311,
    kTextUnsupportedModel = 312,
    kTextVisualTrim = 313,
    kTextUnsupportedFirmware = 314,
    kTextNotPoweredOn = 316,
    kTextDuplicate = 318,
};

bool intensity_given(const CTargetValue &target)
{
    const int mode = target.GetIntensityMode();
    return mode == CTargetValue::kIntensityMaximumMatching || mode == CTargetValue::kIntensitySpecified;
}

bool calibrated_off_target(const CAdjustValue &record, const CTargetValue &target)
{
    if (!intensity_given(target))
        return false;
    double expected = target.GetIntensity();
    if (record.target_offset_enabled != 0 && record.target_intensity_offset != 1.0)
        expected *= record.target_intensity_offset;
    const double calibrated = record.measurements.corrected.white.Y;
    return calibrated > 0.0
           && (calibrated > (1.0 + kCalibratedTolerance) * expected
               || calibrated < (1.0 - kCalibratedTolerance) * expected);
}

bool verified(const display_layout_item &item) { return item.verify_status == display_layout_item::kVerified; }

QString picture_line(const char *picture, const QString &text)
{
    return QStringLiteral("<br><img src=\":/images/Resources/%1.png\">&nbsp;%2").arg(QLatin1String(picture), text);
}

QString orientation_text(int orientation)
{
    switch (orientation) {
    case display_layout_item::kOrientationNotSet:
        return QStringLiteral("Not Set");
    case display_layout_item::kLandscape:
        return QStringLiteral("<img src=\":/images/Resources/orientation_landscape.png\">&nbsp;Landscape");
    case display_layout_item::kPortrait:
        return QStringLiteral("<img src=\":/images/Resources/orientation_portrait.png\">&nbsp;Portrait");
    default:
        return QString::number(orientation);
    }
}

// The engine's picture, or none for a display without the engine.
const char *engine_picture(const tile_facts &facts, bool use_engine)
{
    if (!facts.engine_present)
        return nullptr;
    if (!facts.calibrated)
        return use_engine ? "kqe_detected" : "kqe_disabled";
    if (!facts.engine_in_use)
        return "kqe_disabled";
    return facts.without_sensor ? "kqe_no_sensor_cal" : "kqe_calibrated";
}

QString engine_line(const tile_facts &facts, bool use_engine)
{
    const char *picture = engine_picture(facts, use_engine);
    if (!picture)
        return QString();
    const QLatin1String name(picture);
    if (name == QLatin1String("kqe_disabled"))
        return picture_line(picture, QStringLiteral("Quillon Engine disabled"));
    if (name == QLatin1String("kqe_detected"))
        return picture_line(picture, QStringLiteral("Quillon Engine enabled"));
    if (name == QLatin1String("kqe_no_sensor_cal"))
        return picture_line(picture, QStringLiteral("Calibrated using Quillon Engine without Color Sensor"));
    return picture_line(picture, QStringLiteral("Calibrated using Quillon Engine"));
}

QString tooltip_of(const display_layout_item &item, const tile_facts &facts, bool use_engine)
{
    QString tip = QStringLiteral("<html>Port: %1<br>Monitor ID: %2<br>Model: %3<br>Serial Number: %4")
                      .arg(item.connection_address, QString::number(item.monitor_id), item.model_name,
                           item.serial_number);
    tip += QStringLiteral("<br>Orientation: %1").arg(orientation_text(item.orientation));
    tip += engine_line(facts, use_engine);
    if (facts.rgb_gains)
        tip += picture_line("rgb 16", QStringLiteral("Calibrated using RGB Gains"));
    if (facts.visual_trim)
        tip += picture_line("eye_adjust", QStringLiteral("Visual Trim is applied"));
    if (facts.uses_target_offset)
        tip += picture_line("offset_target_16", QStringLiteral("Uses Calibration Target Offset"));
    if (facts.maximum_below_target)
        tip += picture_line("alerts_yellow_icon_20",
                            QStringLiteral("Calculated Maximum Intensity result is not close to Target. "
                                           "Target is too high."));
    if (facts.intensity_off_target)
        tip += picture_line("alerts_yellow_icon_20",
                            QStringLiteral("Actual Calibrated Intensity result is not close to Target."));
    return tip;
}

void set_fill(tile_view &view, const display_layout_item &item)
{
    const auto fill = [&view](const QColor &normal, const QColor &hover) {
        view.fill = normal;
        view.hover_fill = hover;
    };
    if (!item.enabled)
        fill(kDisabled, kDisabledHover);
    else if (item.id_conflict || item.duplicate_display)
        fill(kFault, kFaultHover);
    else if (item.verify_status == display_layout_item::kNotVerified)
        fill(kUnverified, kUnverifiedHover);
    else if (item.verify_status >= display_layout_item::kVerifyFailed
             && item.verify_status <= display_layout_item::kNotPoweredOn)
        fill(kFault, kFaultHover);
    else if (view.facts.calibrated)
        fill(kCalibrated, kCalibratedHover);
    else if (view.facts.measured)
        fill(kMeasured, kMeasuredHover);
    else
        fill(kVerified, kVerifiedHover);
    // A failed last job shows whatever the display's state.
    if (item.job_status.last_result != 0)
        fill(kFault, kFaultHover);
}

int status_text_of(const display_layout_item &item, const tile_facts &facts)
{
    if (!item.enabled)
        return kTextDisabled;
    if (item.id_conflict)
        return kTextIdConflict;
    if (item.duplicate_display)
        return kTextDuplicate;
    switch (item.verify_status) {
    case display_layout_item::kNotVerified:
        return kTextNotVerified;
    case display_layout_item::kVerified:
        if (facts.calibrated)
            return facts.visual_trim ? kTextVisualTrim : kTextCalibrated;
        return facts.measured ? kTextMeasured : kTextVerified;
    case display_layout_item::kVerifyFailed:
        return kTextVerifyFailed;
    case display_layout_item::kUnsupportedModel:
        return kTextUnsupportedModel;
    case display_layout_item::kUnsupportedFirmware:
        return kTextUnsupportedFirmware;
    case display_layout_item::kNotPoweredOn:
        return kTextNotPoweredOn;
    default:
        return 0;
    }
}

QStringList icons_of(const display_layout_item &item, const tile_facts &facts, bool use_engine)
{
    QStringList icons;
    if (const char *engine = engine_picture(facts, use_engine))
        icons << QLatin1String(engine);
    if (facts.rgb_gains)
        icons << QStringLiteral("rgb 16");
    if (facts.uses_target_offset && item.enabled)
        icons << QStringLiteral("offset_target_20");
    if (verified(item)) {
        if ((facts.calibrated && facts.intensity_off_target)
            || (facts.measured && !facts.calibrated && facts.maximum_below_target))
            icons << QStringLiteral("alerts_yellow_icon_20");
        if (facts.visual_trim)
            icons << QStringLiteral("eye_adjust");
    }
    return icons;
}

void set_ring(tile_view &view, const display_layout_item::job_status_block &status)
{
    if (status.task_total >= 1) {
        double done = double(status.task_step) / status.task_total;
        if (status.sub_task_total > 0)
            done += double(status.sub_task_step) / status.sub_task_total / status.task_total;
        view.ring = tile_ring::arc;
        view.ring_degrees = std::clamp(done, 0.0, 1.0) * 360.0;
    } else if (status.pending > 0) {
        view.ring = tile_ring::dotted;
    }
}

} // namespace

tile_facts tile_facts_of(const display_layout_item &item, const tile_inputs &inputs)
{
    tile_facts facts;
    if (!inputs.record || !inputs.target || !item.enabled || item.id_conflict)
        return facts;
    const CAdjustValue &record = *inputs.record;
    const CTargetValue &target = *inputs.target;
    facts.engine_present = record.engine_capability_word != 0;
    facts.uses_target_offset = record.target_offset_enabled != 0;
    facts.visual_trim = record.visual_trim_flags != 0
                        && !(record.visual_trim_flags == kCornersOnly && record.uniformity_level == 0);
    if (!record.GetCalibrationDateTime().isNull()) {
        facts.calibrated = true;
        facts.without_sensor = record.engine_no_sensor_flag != 0;
        facts.intensity_off_target = calibrated_off_target(record, target);
        facts.rgb_gains = record.calibration_mode == CAdjustValue::kModeGains;
        facts.engine_in_use = record.engine_calibrated_word != 0;
    }
    if (!record.measurements.measurement_date_time.isNull()) {
        facts.measured = true;
        const std::optional<double> &reach = inputs.reachable_luminance;
        facts.maximum_below_target = reach && *reach > 0.0 && intensity_given(target)
                                     && kReachableMargin * target.GetIntensity() > *reach;
    }
    return facts;
}

tile_view tile_view_of(const display_layout_item &item, const tile_inputs &inputs)
{
    return tile_view_from(item, tile_facts_of(item, inputs), inputs.use_engine);
}

tile_view tile_view_from(const display_layout_item &item, const tile_facts &facts, bool use_engine)
{
    tile_view view;
    view.facts = facts;
    view.tooltip = tooltip_of(item, facts, use_engine);
    set_fill(view, item);
    view.status_text_id = status_text_of(item, facts);
    view.icons = icons_of(item, facts, use_engine);
    set_ring(view, item.job_status);
    return view;
}

QString tile_text(int index, int status_text_id)
{
    QString text = QStringLiteral("# %1\n").arg(index + 1);
    if (status_text_id != 0)
        text += string_resource(status_text_id);
    return text;
}
