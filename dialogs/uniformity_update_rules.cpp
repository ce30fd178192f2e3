#include "dialogs/uniformity_update_rules.h"

#include "app/controller/display_layout_item.h"
#include "colour/CAdjustValue.h"
#include "dialogs/calibration_history_scan.h"
#include "dialogs/display_availability.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace {

constexpr int kMinimumPoints = 3;
constexpr int kMaximumPoints = 10;
constexpr double kMinutesPerPoint = 0.2;
constexpr double kMinutesExtra = 0.5;
constexpr int kEngineOff = 1;
constexpr double kScreenLong = 100.0;
constexpr double kScreenShort = 56.0;
constexpr double kPictureMargin = 10.0;
constexpr double kMarkersAcross = 11.0;

const char *const kContext = "KQ_update_uniformity_correction_dialog";

QString tr(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

int checked_count(int count)
{
    return count >= kMinimumPoints && count <= kMaximumPoints ? count : kMinimumPoints;
}

QString icon(const char *path)
{
    return QStringLiteral("<img src=\"%1\">&nbsp;").arg(QLatin1String(path));
}

QString user_update_text(const calibration_history_item &entry, bool portrait)
{
    const int first = entry.further_bytes[0];
    const int second = entry.further_bytes[1];
    const QString points =
        tr("%1 horizontally by %2 vertically").arg(portrait ? second : first).arg(portrait ? first : second);
    const QString row_start = QStringLiteral("</td><td>%1</td></tr><tr><td align=\"right\">");
    // Texts from the display are shown as text, never as markup.
    return tr("The display is currently using a user uniformity update instead of the original factory uniformity "
              "calibration.")
           + QStringLiteral("<br><table style=\"width:100%\"><tr><td align=\"right\">") + tr("Performed:")
           + row_start.arg(QLocale().toString(entry.date_time.date(), QLocale::ShortFormat))
           + tr("Color Sensor Model:") + row_start.arg(entry.sensor_model.toHtmlEscaped())
           + tr("Serial Number:") + row_start.arg(entry.sensor_serial.toHtmlEscaped()) + tr("Measurement Points:")
           + QStringLiteral("</td><td>") + points + QStringLiteral("</td></tr></table>");
}

bool corners_applied(const CAdjustValue &record)
{
    for (int corner = 0; corner < CAdjustValue::kCornerCount; ++corner) {
        CornerUniformityEntry entry;
        record.GetChannelEntry(corner, entry);
        if (entry.first_offset != entry.first_span / 2 || entry.second_offset != entry.second_span / 2)
            return true;
    }
    return false;
}

} // namespace

uniformity_point_counts uniformity_point_counts::from_preferences(int packed)
{
    uniformity_point_counts counts;
    counts.horizontal = checked_count(packed & 0xFF);
    counts.vertical = checked_count((packed >> 8) & 0xFF);
    return counts;
}

QString uniformity_estimate_text(int horizontal, int vertical)
{
    const int points = horizontal * vertical + 1;
    // In tenths of a minute, so that the shortest form of the figure is the
    // figure itself (20.7, not 20.700000000000003).
    const double minutes = std::lround((points * kMinutesPerPoint + kMinutesExtra) * 10) / 10.0;
    return tr("Total of %1 measurement points. Estimated time to complete is %2 minutes.").arg(points).arg(minutes);
}

uniformity_display_state read_uniformity_state(basic_monitor &monitor)
{
    uniformity_display_state state;
    uint engine = 0;
    state.engine_on = monitor.get_vcp(control_code::kEngineSwitch, engine) == 0 && engine > kEngineOff;
    state.level_read = monitor.get_vcp_with_max(control_code::kUniformityLevel, state.level, state.level_maximum) == 0;
    if (!state.level_read)
        state.level = state.level_maximum = 0;
    state.pattern_read = monitor.get_vcp_2c8_or_2c3(state.pattern, true) == 0;
    if (state.pattern_read)
        monitor.get_rgb_levels(state.levels[0], state.levels[1], state.levels[2], state.level_maxima[0],
                               state.level_maxima[1], state.level_maxima[2], true);
    return state;
}

uniformity_status uniformity_status_for(const display_layout_item &item, const CAdjustValue *record, bool engine_on,
                                        int level, bool portrait)
{
    uniformity_status status;
    status.text = display_unavailable_text(item);
    if (!status.text.isEmpty())
        return status;
    if (!record) {
        status.ok = false;
        return status;
    }
    if (!engine_on) {
        status.text = icon(":/images/Resources/alerts_red_icon_20.png") + tr("Quillon Engine is currently Off.");
        return status;
    }
    if (record->capability_flags == 0) {
        status.text = tr("Not supported");
        return status;
    }
    const history_scan_result scan = scan_calibration_history(
        record->GetCalibrationHistory(),
        {calibration_history_item::kUniformityUpdate, calibration_history_item::kUniformityUpdateAlt},
        {calibration_history_item::kFactoryCalibration});
    switch (scan.found) {
    case history_scan_result::kUser:
        status.text = user_update_text(scan.entry, portrait);
        break;
    case history_scan_result::kFactory:
        status.text = tr("The display is currently using the original factory uniformity calibration.");
        break;
    case history_scan_result::kUndetermined:
        status.text = tr("Unable to determine the current calibration status.");
        status.undetermined = true;
        break;
    }
    const QString warning = QStringLiteral("<br>") + icon(":/images/Resources/alerts_yellow_icon_20.png");
    if (level == 0)
        status.text += warning + tr("<b>Uniformity Correction Level is currently Off.</b>");
    else if (corners_applied(*record))
        status.text += warning + tr("Corner Uniformity correction is currently being applied.");
    return status;
}

measurement_point_layout measurement_point_layout_for(QSizeF widget, int horizontal, int vertical, bool portrait)
{
    measurement_point_layout layout;
    const QSizeF screen = portrait ? QSizeF(kScreenShort, kScreenLong) : QSizeF(kScreenLong, kScreenShort);
    const QSizeF room(qMax(widget.width() - kPictureMargin, 0.0), qMax(widget.height() - kPictureMargin, 0.0));
    const double scale = qMin(room.width() / screen.width(), room.height() / screen.height());
    const QSizeF drawn = screen * scale;
    layout.screen = QRectF(QPointF((widget.width() - drawn.width()) / 2, (widget.height() - drawn.height()) / 2), drawn);
    layout.marker = qMax(drawn.width(), drawn.height()) / kMarkersAcross;
    const QRectF grid = layout.screen.adjusted(layout.marker, layout.marker, -layout.marker, -layout.marker);
    for (int row = 0; row < vertical; ++row) {
        for (int column = 0; column < horizontal; ++column) {
            const double x = horizontal > 1 ? grid.left() + grid.width() * column / (horizontal - 1) : grid.center().x();
            const double y = vertical > 1 ? grid.top() + grid.height() * row / (vertical - 1) : grid.center().y();
            layout.centres << QPointF(x, y);
        }
    }
    layout.centres << layout.screen.center();
    return layout;
}
