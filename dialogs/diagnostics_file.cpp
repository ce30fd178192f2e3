#include "dialogs/diagnostics_file.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "dialogs/information_texts.h"

#include <QLocale>
#include <QSaveFile>

namespace {

const QString kEnd = QStringLiteral("\r\n");

// The step of the lookup-table listing, accumulated as it is written.
constexpr double kLookupTableStep = 0.00392156862745098;

QString f(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString header(const CTargetValue &target)
{
    return QStringLiteral("Calibration Target:") + kEnd + QStringLiteral(" White Point: ")
        + target_white_point_text(target) + kEnd + QStringLiteral(" Gamma: ") + target.GetGammaText(false) + kEnd
        + QStringLiteral(" Intensity: ") + target.GetIntensityText(true) + kEnd
        + QStringLiteral(" Contrast Ratio: ") + target.GetContrastRatioText() + kEnd + kEnd;
}

QString identity(const display_layout_item &item, const CAdjustValue &record)
{
    return QStringLiteral("Port: ") + item.connection_address + kEnd + QStringLiteral("Monitor ID: ")
        + QString::number(item.monitor_id) + kEnd + QStringLiteral("Model: ") + item.model_name + kEnd
        + QStringLiteral("Serial#: ") + item.serial_number + kEnd + QStringLiteral("MAC Address: ")
        + record.GetMacAddress() + kEnd + QStringLiteral("Firmware Version: ") + record.firmware_version + kEnd;
}

QString target_offset_lines(const CAdjustValue &record, const CTargetValue &target)
{
    if (record.target_offset_enabled == 0)
        return QString();
    QString text;
    if (record.target_intensity_offset != 1.0)
        text += QStringLiteral("Target Intensity with Target Offset: %1\r\n")
                    .arg(to_display_luminance_text(record.target_intensity_offset * target.GetIntensity(), 1, true));
    // A native white has no point for the offsets to move.
    if ((record.target_offset_dx != 0 || record.target_offset_dy != 0) && !target.GetWhitePoint().IsNative()) {
        const CColorTemperature white = target.GetWhitePoint();
        text += QStringLiteral("Target White Point with Target Offset CIE xy: %1, %2\r\n")
                    .arg(f(white.GetX() + record.target_offset_dx / 1000.0, 3),
                         f(white.GetY() + record.target_offset_dy / 1000.0, 3));
    }
    return text;
}

QString patch_line(const QString &label, const CCIEXYZ &value)
{
    const CCIEYxy yxy = value.ToYxy();
    return label + QStringLiteral(" Y=%L1 x=%L2 y=%L3\r\n").arg(yxy.Y, 0, 'f', 2).arg(yxy.x, 0, 'f', 4).arg(yxy.y, 0, 'f', 4);
}

QString patch_lines(const QString &state, const CColorValue::Patches &patches)
{
    return patch_line(state + QStringLiteral(" R"), patches.red) + patch_line(state + QStringLiteral(" G"), patches.green)
        + patch_line(state + QStringLiteral(" B"), patches.blue) + patch_line(state + QStringLiteral(" W"), patches.white)
        + patch_line(state + QStringLiteral(" Bl"), patches.black);
}

QString date_and_time(const QDateTime &dateTime)
{
    const QLocale system = QLocale::system();
    return system.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + system.toString(dateTime.time(), QLocale::ShortFormat);
}

QString trim_and_backlight_lines(const CAdjustValue &record)
{
    QString text;
    const qint16 flags = record.visual_trim_flags;
    if (flags & CAdjustValue::kTrimGains) {
        const CAdjustValue::ChannelValues &m = record.visual_trim_multiplier;
        text += QStringLiteral("Visual Trim: [R %L1%, G %L2%, B %L3%]\r\n")
                    .arg((m[0] - 1.0) * 100.0, 0, 'f', 1)
                    .arg((m[1] - 1.0) * 100.0, 0, 'f', 1)
                    .arg((m[2] - 1.0) * 100.0, 0, 'f', 1);
    }
    const double minimum = record.backlight_minimum;
    const double range = double(record.backlight_maximum) - minimum;
    if (record.backlight_maximum == 0 || range == 0.0)
        return text;
    const double calibrated = (record.backlight_setting - minimum) * 100.0 / range;
    if (flags & CAdjustValue::kTrimBacklight)
        text += QStringLiteral("Backlight brightness Setting with Visual Trim: %L1% [without %L2%]\r\n")
                    .arg((record.backlight_visual_trim - minimum) * 100.0 / range, 0, 'g', 6)
                    .arg(calibrated, 0, 'g', 6);
    else
        text += QStringLiteral("Backlight brightness Setting: %L1%\r\n").arg(calibrated, 0, 'g', 6);
    return text;
}

QString channel_lines(const CAdjustValue &record, const QString &name)
{
    const trimmed_gain_codes codes = gain_codes(record);
    if (!(record.visual_trim_flags & CAdjustValue::kTrimGains))
        return name + QStringLiteral(" R=%L1, G=%L2, B=%L3\r\n")
                          .arg(codes.untrimmed[0])
                          .arg(codes.untrimmed[1])
                          .arg(codes.untrimmed[2]);
    const CAdjustValue::ChannelValues &m = record.visual_trim_multiplier;
    return name
        + QStringLiteral(" with visual trim R=%L1, G=%L2, B=%L3 [without R=%L4, G=%L5, B=%L6]\r\n")
              .arg(codes.trimmed[0])
              .arg(codes.trimmed[1])
              .arg(codes.trimmed[2])
              .arg(codes.untrimmed[0])
              .arg(codes.untrimmed[1])
              .arg(codes.untrimmed[2])
        + name
        + QStringLiteral(" visual trim multiplier R=%L1, G=%L2, B=%L3\r\n")
              .arg(m[0], 0, 'g', 6)
              .arg(m[1], 0, 'g', 6)
              .arg(m[2], 0, 'g', 6);
}

QString engine_lines(const CAdjustValue &record)
{
    const qint16 flags = record.visual_trim_flags;
    const double x = record.engine_white_x / 1000.0;
    const double y = record.engine_white_y / 1000.0;
    QString text;
    if (flags & (CAdjustValue::kTrimEngineWhiteX | CAdjustValue::kTrimEngineWhiteY))
        text = QStringLiteral("KQE White with visual trim x=%L3 y=%L4 [without x=%L1, y=%L2]\r\n")
                   .arg(x, 0, 'f', 3)
                   .arg(y, 0, 'f', 3)
                   .arg((flags & CAdjustValue::kTrimEngineWhiteX) ? record.engine_white_x_visual_trim / 1000.0 : x, 0,
                        'f', 3)
                   .arg((flags & CAdjustValue::kTrimEngineWhiteY) ? record.engine_white_y_visual_trim / 1000.0 : y, 0,
                        'f', 3);
    else
        text = QStringLiteral("KQE White x=%L1, y=%L2\r\n").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
    // These two end in a line feed alone; readers of older files expect it.
    const quint16 level = static_cast<quint16>(record.uniformity_level);
    if (flags & CAdjustValue::kTrimUniformityLevel)
        text += QStringLiteral("Uniformity level with visual trim: %L1 (without %L2)\n")
                    .arg(static_cast<quint16>(record.uniformity_level_visual_trim))
                    .arg(level);
    else
        text += QStringLiteral("Uniformity level: %1\n").arg(level);
    return text;
}

QString method_lines(const CAdjustValue &record)
{
    if (record.calibration_mode == CAdjustValue::kModeGains)
        return channel_lines(record, QStringLiteral("Gains"));
    if (record.engine_calibrated_word != 0)
        return engine_lines(record);
    return channel_lines(record, QStringLiteral("LUT"));
}

QString greyscale_lines(const QString &label, const QVector<CCIEXYZ> &series, const CIExy &white)
{
    QString text;
    for (int i = 0; i < series.size(); ++i) {
        const CCIEYxy yxy = series.at(i).ToYxy();
        text += label
            + QStringLiteral(" %1 Y=%L2 x=%L3 y=%L4 (dx=%L5 dy=%L6)\r\n")
                  .arg(i)
                  .arg(yxy.Y, 0, 'f', 2)
                  .arg(yxy.x, 0, 'f', 4)
                  .arg(yxy.y, 0, 'f', 4)
                  .arg(yxy.x - white.x, 0, 'f', 3)
                  .arg(yxy.y - white.y, 0, 'f', 3);
    }
    return text;
}

// The white the grey steps are compared with: the target's, or for a native
// target the display's own measured white rather than a point at (0, 0).
CIExy greyscale_reference_white(const CColorValue &colour, const CTargetValue &target)
{
    const CColorTemperature white = target.GetWhitePoint();
    return white.IsNative() ? colour.native.white.ToCIExy() : white.GetCIExy();
}

QString curve_listings(const CAdjustValue &record, const CColorValue::ChannelCurves &curves)
{
    const CSpline &red = curves[CColorValue::kRed];
    if (!red.IsValid())
        return QString();
    QString text;
    for (int i = 0; i < red.GetSize(); ++i) {
        text += QStringLiteral("CorrectionSpline %1 R=%L2 G=%L3 B=%L4\r\n")
                    .arg(f(red.GetPoint(i).x(), 3))
                    .arg(red.GetPoint(i).y(), 0, 'f', 3)
                    .arg(curves[CColorValue::kGreen].GetPoint(i).y(), 0, 'f', 3)
                    .arg(curves[CColorValue::kBlue].GetPoint(i).y(), 0, 'f', 3);
    }
    for (double v = 0.0; v <= 1.0; v += kLookupTableStep) {
        QString line = QStringLiteral("LUT %1").arg(f(v * 255.0, 0));
        const char *names[] = {" R=%L1", " G=%L1", " B=%L1"};
        for (size_t c = 0; c < 3; ++c)
            line += QString::fromLatin1(names[c])
                        .arg(double(rounded(gain_code(record.gain[c]) * curves[c].Evaluate(v))), 0, 'f', 0);
        text += line + kEnd;
    }
    return text;
}

QString record_text(const CAdjustValue &stored, const CTargetValue &target)
{
    // The curves are rebuilt on a copy: the store keeps what it holds.
    CAdjustValue record = stored;
    CColorValue &colour = record.measurements;
    QString text = target_offset_lines(record, target);
    text += QStringLiteral("Color Sensor: %1 S/N %2\r\n").arg(record.sensor_name, record.sensor_serial_number);
    text += QStringLiteral("Calibration Time: %L1 seconds\r\n").arg(record.calibration_duration);
    colour.BuildMeasuredChannelCurves(false);
    text += patch_lines(QStringLiteral("Native"), colour.native);
    text += patch_lines(QStringLiteral("Uncorrected"), colour.uncorrected);
    text += patch_lines(QStringLiteral("Corrected"), colour.corrected);
    text += QStringLiteral("Gains: R=%L1 G=%L2 B=%L3\r\n")
                .arg(record.gain[0], 0, 'f', 2)
                .arg(record.gain[1], 0, 'f', 4)
                .arg(record.gain[2], 0, 'f', 4);
    if (is_measured(record)) {
        text += QStringLiteral("Date Measured: ") + date_and_time(colour.measurement_date_time) + kEnd;
        text += QStringLiteral("Operating Hours when measured: %L1\r\n").arg(record.operating_hours_measured, 0, 'f', 1);
    }
    text += trim_and_backlight_lines(record);
    text += method_lines(record);
    text += QStringLiteral("Date Calibrated: ") + date_and_time(record.GetCalibrationDateTime()) + kEnd;
    text += QStringLiteral("Operating Hours When Calibrated: %L1\r\n").arg(record.operating_hours_calibrated, 0, 'f', 1);
    text += QStringLiteral("Calibrated using software build: %1\r\n").arg(static_cast<quint32>(record.software_build));
    text += QStringLiteral("Video input used for calibration: %1\r\n").arg(record.video_input);
    const CIExy white = greyscale_reference_white(colour, target);
    text += greyscale_lines(QStringLiteral("UnCorrectedGrayscale"), colour.uncorrected_greyscale, white);
    text += greyscale_lines(QStringLiteral("CorrectedGrayscale"), colour.corrected_greyscale, white);
    text += curve_listings(record, colour.inverse_response_curves);
    return text;
}

QString display_block(int index, const wall_display &display, const CTargetValue &target)
{
    QString text = QStringLiteral("Display#: %1").arg(index + 1) + kEnd;
    if (!display.readable)
        return text + QStringLiteral(" No data available") + kEnd + kEnd;
    text += identity(display.item, display.record);
    text += QStringLiteral("Status: ")
        + display_status_text(display.item, display.has_record ? &display.record : nullptr) + kEnd;
    if (display.has_record)
        text += record_text(display.record, target) + kEnd;
    return text + kEnd;
}

} // namespace

QByteArray diagnostics_text(const CTargetValue &target, const QList<wall_display> &displays)
{
    QString text = header(target);
    for (int index = 0; index < displays.size(); ++index)
        text += display_block(index, displays.at(index), target);
    return text.toUtf8();
}

int write_diagnostics_file(const QString &path)
{
    if (!g_master)
        return kDiagnosticsSaveFailed;
    const QByteArray bytes = diagnostics_text(
        g_master->getTarget(), read_wall_displays(*g_master->getLayoutManager(), *g_master->getMonitorTracker()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kDiagnosticsSaveFailed;
    // Flushed before the commit: Qt 5 commits a cut-short file when only its
    // final flush fails (a full disk).
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return kDiagnosticsSaveFailed;
    }
    return file.commit() ? 0 : kDiagnosticsSaveFailed;
}
