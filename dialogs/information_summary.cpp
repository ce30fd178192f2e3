#include "dialogs/information_summary.h"

#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "dialogs/information_texts.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cstdlib>

namespace {

const char kContext[] = "KQ_Information_Dialog";

const char kEyeIcon[] = ":/images/Resources/eye_adjust.png";
const char kAlertIcon[] = ":/images/Resources/alerts_yellow_icon_20.png";
const char kOffsetIcon[] = ":/images/Resources/offset_target_16.png";

QString tr(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

QString supported_text(qint16 capability)
{
    return capability != 0 ? tr("Supported") : tr("Unsupported");
}

QString luminance_text(double cdm2)
{
    return to_display_luminance_text(cdm2, 1, true);
}

QString date_time_lines(const QDateTime &dateTime)
{
    const QLocale system = QLocale::system();
    return QStringLiteral("%1\n%2")
        .arg(system.toString(dateTime.date(), QLocale::ShortFormat), system.toString(dateTime.time(), QLocale::ShortFormat));
}

QString hours_text(double hours)
{
    return QString::number(hours, 'f', 1);
}

// A closing line break opens no line of its own.
int line_count_of(const QString &text)
{
    const int breaks = text.count(QLatin1Char('\n'));
    return text.endsWith(QLatin1Char('\n')) ? breaks : breaks + 1;
}

// Connection cells 0 to 3 and the orientation.
void fill_identity(const display_layout_item &item, connection_cells &cells)
{
    cells[0] = summary_cell{item.connection_address, {}, {}, true};
    cells[1] = summary_cell{QString::number(item.monitor_id), {}, {}, true};
    cells[2] = summary_cell{item.model_name, {}, {}, true};
    cells[3] = summary_cell{item.serial_number, {}, {}, true};
    summary_cell orientation;
    orientation.icon_for_report = false;
    switch (item.orientation) {
    case display_layout_item::kOrientationNotSet:
        orientation.text = tr("Not Set");
        break;
    case display_layout_item::kLandscape:
        orientation.text = tr("Landscape");
        orientation.icon = QStringLiteral(":/images/Resources/orientation_landscape.png");
        break;
    case display_layout_item::kPortrait:
        orientation.text = tr("Portrait");
        orientation.icon = QStringLiteral(":/images/Resources/orientation_portrait.png");
        break;
    default:
        orientation.text = QString::number(item.orientation);
        break;
    }
    cells[6] = orientation;
}

void fill_capabilities(const CAdjustValue &record, connection_cells &cells)
{
    cells[4] = summary_cell{record.firmware_version, {}, {}, true};
    cells[5] = summary_cell{record.GetMacAddress(), {}, {}, true};
    cells[7] = summary_cell{supported_text(record.engine_capability_word), {}, {}, true};
    for (int column : {8, 9, 10})
        cells[column] = summary_cell{supported_text(record.capability_flags), {}, {}, true};
}

summary_cell status_cell(const display_layout_item &item, const wall_display &display)
{
    const CAdjustValue &record = display.record;
    summary_cell cell;
    cell.text = display_status_text(item, display.has_record ? &record : nullptr);
    const bool calibrated = item.enabled && !item.id_conflict && !item.duplicate_display
        && item.verify_status == display_layout_item::kVerified && display.has_record && is_calibrated(record);
    if (!calibrated)
        return cell;
    if (record.engine_calibrated_word != 0) {
        if (record.engine_no_sensor_flag != 0) {
            cell.icon = QStringLiteral(":/images/Resources/kqe_no_sensor_cal.png");
            cell.tooltip = tr("Calibrated using Quillon Engine without Color Sensor.");
        } else {
            cell.icon = QStringLiteral(":/images/Resources/kqe_calibrated.png");
            cell.tooltip = tr("Calibrated using Quillon Engine.");
        }
    }
    if (record.calibration_mode == CAdjustValue::kModeGains) {
        cell.icon = QStringLiteral(":/images/Resources/rgb 16.png");
        cell.tooltip = tr("Calibrated using RGB Gains.");
    }
    return cell;
}

QString corner_label(int corner, bool portrait)
{
    static const char *const landscape[] = {QT_TRANSLATE_NOOP("KQ_Information_Dialog", "TL:"),
                                            QT_TRANSLATE_NOOP("KQ_Information_Dialog", "TR:"),
                                            QT_TRANSLATE_NOOP("KQ_Information_Dialog", "BL:"),
                                            QT_TRANSLATE_NOOP("KQ_Information_Dialog", "BR:")};
    static const int portrait_order[] = {1, 3, 0, 2};
    return tr(landscape[portrait ? portrait_order[corner] : corner]);
}

QString area_text(int size_level)
{
    switch (size_level) {
    case CornerUniformityEntry::kSizeMedium:
        return tr("Medium");
    case CornerUniformityEntry::kSizeSmall:
        return tr("Small");
    default:
        return tr("Large");
    }
}

QString sign_of(int value)
{
    return value < 0 ? QStringLiteral("-") : QStringLiteral("+");
}

QString level_text(const char *withLevel, const char *off, int level)
{
    return level != 0 ? tr(withLevel).arg(level) : tr(off);
}

// The corner lines follow the level; a corner never read from the display
// replaces everything before it with "Not Read".
void append_corners(const CAdjustValue &record, bool portrait, summary_cell &cell)
{
    cell.text += QLatin1Char('\n');
    for (int corner = 0; corner < CAdjustValue::kCornerCount; ++corner) {
        CornerUniformityEntry entry;
        record.GetChannelEntry(corner, entry);
        if (!entry.IsRead()) {
            cell.text = tr("Not Read");
            continue;
        }
        if (corner > 0)
            cell.text += QLatin1Char('\n');
        const QString label = corner_label(corner, portrait);
        const int dx = entry.first_span / 2 - entry.first_offset;
        const int dy = entry.second_span / 2 - entry.second_offset;
        if (dx == 0 && dy == 0) {
            cell.text += tr("%1 None").arg(label);
            continue;
        }
        cell.text += tr("%1 x=%2%3 y=%4%5 Area=%6")
                         .arg(label, sign_of(dx))
                         .arg(std::abs(dx))
                         .arg(sign_of(dy))
                         .arg(std::abs(dy))
                         .arg(area_text(entry.size_level));
        cell.icon = QString::fromLatin1(kEyeIcon);
    }
}

summary_cell uniformity_cell(const CAdjustValue &record, bool portrait)
{
    summary_cell cell;
    if (record.engine_capability_word == 0) {
        cell.text = tr("Not supported");
    } else if (record.visual_trim_flags & CAdjustValue::kTrimUniformityLevel) {
        cell.text = level_text(QT_TRANSLATE_NOOP("KQ_Information_Dialog", "Correction Level: %1\n"),
                               QT_TRANSLATE_NOOP("KQ_Information_Dialog", "Correction Level: Off\n"),
                               record.uniformity_level_visual_trim)
            + level_text(QT_TRANSLATE_NOOP("KQ_Information_Dialog", "[No trim Level: %1]"),
                         QT_TRANSLATE_NOOP("KQ_Information_Dialog", "[No trim Level: Off]"), record.uniformity_level);
        cell.icon = QString::fromLatin1(kEyeIcon);
    } else {
        cell.text = level_text(QT_TRANSLATE_NOOP("KQ_Information_Dialog", "Correction Level: %1"),
                               QT_TRANSLATE_NOOP("KQ_Information_Dialog", "Correction Level: Off"),
                               record.uniformity_level);
    }
    if (record.capability_flags != 0 && record.uniformity_level != 0)
        append_corners(record, portrait, cell);
    return cell;
}

void fill_measured(const CAdjustValue &record, const CTargetValue &target, display_max_luminance max_luminance,
                   calibration_cells &cells)
{
    const CColorValue &measured = record.measurements;
    const CCIEYxy white = measured.native.white.ToYxy();
    cells[0] = summary_cell{luminance_text(white.Y), {}, {}, true};
    cells[1] = summary_cell{tr("%L1 K\n(%L2, %L3)")
                                .arg(measured.native.white.GetColorTemperature())
                                .arg(white.x, 0, 'f', 3)
                                .arg(white.y, 0, 'f', 3),
                            {}, {}, true};
    if (measured.native.black.Y > 0.0) {
        const long long ratio = static_cast<long long>(std::min(1e15, measured.native.white.Y / measured.native.black.Y));
        cells[2] = summary_cell{QStringLiteral("%L1:1").arg(ratio), {}, {}, true};
    }
    if (max_luminance.known && max_luminance.luminance > 0.0) {
        summary_cell cell{luminance_text(max_luminance.luminance), {}, {}, true};
        const int mode = target.GetIntensityMode();
        const bool matchable = mode == CTargetValue::kIntensityMaximumMatching || mode == CTargetValue::kIntensitySpecified;
        if (matchable && 0.95 * target.GetIntensity() > max_luminance.luminance) {
            cell.icon = QString::fromLatin1(kAlertIcon);
            cell.tooltip = tr("Calculated Maximum Intensity result is not close to Target. Target is too high.");
        }
        cells[3] = cell;
    }
    cells[4] = summary_cell{date_time_lines(measured.measurement_date_time), {}, {}, true};
    cells[5] = summary_cell{hours_text(record.operating_hours_measured), {}, {}, true};
}

// A native target white has no point for the offsets to move: none applies.
bool has_white_offset(const CAdjustValue &record, const CTargetValue &target)
{
    return record.target_offset_enabled != 0 && (record.target_offset_dx != 0 || record.target_offset_dy != 0)
        && !target.GetWhitePoint().IsNative();
}

bool engine_holds_luminance(const CAdjustValue &record)
{
    return record.engine_luminance_flag != 0 && record.engine_calibrated_word != 0;
}

std::optional<summary_cell> actual_intensity_cell(const CAdjustValue &record, const CTargetValue &target)
{
    const CCIEXYZ &white = record.measurements.corrected.white;
    if (!(white.Y > 0.0) || !(white.X > 0.0 || engine_holds_luminance(record)))
        return std::nullopt;
    summary_cell cell{luminance_text(white.Y), {}, {}, true};
    const int mode = target.GetIntensityMode();
    if (mode != CTargetValue::kIntensityMaximumMatching && mode != CTargetValue::kIntensitySpecified)
        return cell;
    double intended = target.GetIntensity();
    if (record.target_offset_enabled != 0 && record.target_intensity_offset != 1.0) {
        intended *= record.target_intensity_offset;
        cell.text += QStringLiteral("\n[Target: %2]").arg(luminance_text(intended));
        cell.tooltip = tr("Calibration Target Offset applied.");
        cell.icon = QString::fromLatin1(kOffsetIcon);
    }
    if (white.Y > 1.1 * intended || white.Y < 0.9 * intended) {
        if (!cell.tooltip.isEmpty())
            cell.tooltip += QStringLiteral("<br>");
        cell.tooltip += tr("Actual Calibrated Intensity result is not close to Target.");
        cell.icon = QString::fromLatin1(kAlertIcon);
    }
    return cell;
}

std::optional<summary_cell> actual_white_cell(const CAdjustValue &record, const CTargetValue &target)
{
    const CCIEXYZ &white = record.measurements.corrected.white;
    summary_cell cell;
    if (white.X > 0.0) {
        const CIExy xy = white.ToCIExy();
        cell.text = tr("%L1 K\n(%L2, %L3)\n").arg(white.GetColorTemperature()).arg(xy.x, 0, 'f', 3).arg(xy.y, 0, 'f', 3);
    }
    if (has_white_offset(record, target)) {
        const CColorTemperature aim = target.GetWhitePoint();
        cell.text += QStringLiteral("[Target: (%L1, %L2)]")
                         .arg(aim.GetX() + record.target_offset_dx / 1000.0, 0, 'f', 3)
                         .arg(aim.GetY() + record.target_offset_dy / 1000.0, 0, 'f', 3);
        cell.tooltip = tr("Calibration Target Offset applied.");
        cell.icon = QString::fromLatin1(kOffsetIcon);
    }
    if (cell.text.isEmpty())
        return std::nullopt;
    return cell;
}

QString percent_text(double percent)
{
    return QStringLiteral("%L1").arg(percent, 0, 'f', 1);
}

std::optional<summary_cell> brightness_cell(const CAdjustValue &record)
{
    if (record.backlight_maximum == 0 || record.backlight_minimum >= record.backlight_maximum)
        return std::nullopt;
    const bool engine = engine_holds_luminance(record);
    summary_cell cell;
    if (record.visual_trim_flags & CAdjustValue::kTrimBacklight) {
        cell.text = engine ? tr("KQE Trim %L1 %3\n[No trim %L2 %3]")
                                 .arg(record.backlight_visual_trim)
                                 .arg(record.backlight_setting)
                                 .arg(candela_unit_text())
                           : tr("Trim %L1%\n[No trim %L2%]")
                                 .arg(percent_text(record.BacklightPercent(record.backlight_visual_trim)),
                                      percent_text(record.BacklightPercent(record.backlight_setting)));
        cell.icon = QString::fromLatin1(kEyeIcon);
    } else {
        cell.text = engine ? tr("KQE %L1 %2").arg(record.backlight_setting).arg(candela_unit_text())
                           : tr("%L1%").arg(percent_text(record.BacklightPercent(record.backlight_setting)));
    }
    return cell;
}

summary_cell channel_settings_cell(const CAdjustValue &record, const char *trimmed, const char *plain)
{
    const trimmed_gain_codes codes = gain_codes(record);
    summary_cell cell;
    if (record.visual_trim_flags & CAdjustValue::kTrimGains) {
        cell.text = tr(trimmed)
                        .arg(codes.trimmed[0])
                        .arg(codes.trimmed[1])
                        .arg(codes.trimmed[2])
                        .arg(codes.untrimmed[0])
                        .arg(codes.untrimmed[1])
                        .arg(codes.untrimmed[2]);
        cell.icon = QString::fromLatin1(kEyeIcon);
    } else {
        cell.text = tr(plain).arg(codes.untrimmed[0]).arg(codes.untrimmed[1]).arg(codes.untrimmed[2]);
    }
    return cell;
}

summary_cell engine_white_cell(const CAdjustValue &record)
{
    const double x = record.engine_white_x / 1000.0;
    const double y = record.engine_white_y / 1000.0;
    summary_cell cell;
    const qint16 flags = record.visual_trim_flags;
    if (flags & (CAdjustValue::kTrimEngineWhiteX | CAdjustValue::kTrimEngineWhiteY)) {
        const double trimmedX = (flags & CAdjustValue::kTrimEngineWhiteX) ? record.engine_white_x_visual_trim / 1000.0 : x;
        const double trimmedY = (flags & CAdjustValue::kTrimEngineWhiteY) ? record.engine_white_y_visual_trim / 1000.0 : y;
        cell.text = tr("KQE trim x=%L3 y=%L4\n[No trim x=%L1, y=%L2]")
                        .arg(x, 0, 'f', 3)
                        .arg(y, 0, 'f', 3)
                        .arg(trimmedX, 0, 'f', 3)
                        .arg(trimmedY, 0, 'f', 3);
        cell.icon = QString::fromLatin1(kEyeIcon);
    } else {
        cell.text = tr("KQE x=%L1, y=%L2").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
    }
    return cell;
}

summary_cell colour_settings_cell(const CAdjustValue &record)
{
    if (record.calibration_mode == CAdjustValue::kModeGains)
        return channel_settings_cell(record,
                                     QT_TRANSLATE_NOOP("KQ_Information_Dialog",
                                                       "Gains Trim R=%L1, G=%L2, B=%L3\n[No trim R=%L4, G=%L5, B=%L6]"),
                                     QT_TRANSLATE_NOOP("KQ_Information_Dialog", "Gains R=%L1, G=%L2, B=%L3"));
    if (record.engine_calibrated_word != 0)
        return engine_white_cell(record);
    return channel_settings_cell(record,
                                 QT_TRANSLATE_NOOP("KQ_Information_Dialog",
                                                   "LUT trim R=%L1, G=%L2, B=%L3\n[No trim R=%L4, G=%L5, B=%L6]"),
                                 QT_TRANSLATE_NOOP("KQ_Information_Dialog", "LUT R=%L1, G=%L2, B=%L3"));
}

void fill_calibrated(const CAdjustValue &record, const CTargetValue &target, calibration_cells &cells)
{
    cells[6] = actual_intensity_cell(record, target);
    cells[7] = actual_white_cell(record, target);
    cells[8] = summary_cell{date_time_lines(record.GetCalibrationDateTime()), {}, {}, true};
    cells[9] = summary_cell{hours_text(record.operating_hours_calibrated), {}, {}, true};
    cells[10] = brightness_cell(record);
    cells[11] = colour_settings_cell(record);
}

// Every calibration cell's lines fit the row; two-line values keep two
// lines even when a cell happens to need one.
int calibration_line_count(const calibration_cells &cells)
{
    int lines = 1;
    for (const std::optional<summary_cell> &cell : cells) {
        if (cell)
            lines = std::max(lines, line_count_of(cell->text));
    }
    for (int twoLines : {1, 4, 6, 8}) {
        if (cells[twoLines])
            lines = std::max(lines, 2);
    }
    return lines;
}

} // namespace

summary_row build_summary_row(const wall_display &display, const CTargetValue &target,
                              display_max_luminance max_luminance)
{
    summary_row row;
    if (!display.readable)
        return row;
    const display_layout_item &item = display.item;
    fill_identity(item, row.connection);
    row.connection[11] = status_cell(item, display);
    if (!display.has_record)
        return row;
    const CAdjustValue &record = display.record;
    fill_capabilities(record, row.connection);
    row.calibration[12] = uniformity_cell(record, item.orientation == display_layout_item::kPortrait);
    if (is_measured(record))
        fill_measured(record, target, max_luminance, row.calibration);
    if (is_calibrated(record))
        fill_calibrated(record, target, row.calibration);
    row.line_count = calibration_line_count(row.calibration);
    return row;
}

QStringList connection_summary_headers()
{
    return {tr("Port"),
            tr("Monitor ID"),
            tr("Model"),
            tr("Serial Number"),
            tr("Firmware Version"),
            tr("MAC Address"),
            tr("Orientation"),
            tr("Quillon Engine"),
            tr("Corner Uniformity"),
            tr("Update Uniformity"),
            tr("Update Factory\nColor Calibration"),
            tr("Status")};
}

QStringList calibration_summary_headers()
{
    return {tr("Uncalibrated\nIntensity"),
            tr("Uncalibrated\nWhite Point\n(CIE xy)"),
            tr("Uncalibrated\nContrast Ratio"),
            tr("Maximum\nCalibrated\nIntensity"),
            tr("Date Measured"),
            tr("Operating\nHours when\nMeasured"),
            tr("Actual\nCalibrated\nIntensity"),
            tr("Actual\nCalibrated\nWhite Point\n(CIE xy)"),
            tr("Date Calibrated"),
            tr("Operating\nHours when\nCalibrated"),
            tr("Calibrated\nBrightness\nSetting"),
            tr("Calibrated\nColor Settings"),
            tr("Uniformity Settings")};
}
