#pragma once

#include "colour/CAdjustValue.h"
#include "colour/CColorValue.h"
#include "colour/stream_record.h"

#include <QtTest>

// Records whose every field differs from its default and from its neighbours,
// their stream bytes, and field-by-field comparisons for the record tests.
namespace record_fixtures {

template <class Record>
QByteArray written(const Record &record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(out);
    return record.Write(out) == 0 ? bytes : QByteArray();
}

template <class Record>
int read_into(Record &record, const QByteArray &bytes)
{
    QDataStream in(bytes);
    stream_record::prepare(in);
    return record.Read(in);
}

inline void set_marker_curve(CSpline &curve, double marker)
{
    curve.Init(CSpline::kBSpline, 3, 0.0, 1.0);
    curve.SetPoint(1, 0.5, marker);
    curve.SetValid(true);
}

inline CColorValue populated_color_value(double seed = 1.0)
{
    CColorValue value;
    const auto next = [&seed] {
        seed += 1.25;
        return CCIEXYZ(seed, seed + 0.5, seed + 0.75);
    };
    for (CColorValue::Patches *patches : {&value.native, &value.uncorrected, &value.corrected}) {
        for (CCIEXYZ *xyz : {&patches->red, &patches->green, &patches->blue, &patches->white,
                             &patches->black})
            *xyz = next();
    }
    value.measurement_date_time = QDateTime(QDate(2024, 3, 5), QTime(14, 30, 12, 250), Qt::UTC);
    for (int i = 0; i < 4; ++i)
        value.corrected_greyscale.append(next());
    for (int i = 0; i < 6; ++i)
        value.uncorrected_greyscale.append(next());
    double marker = seed / 1000.0;
    for (auto *group : {&value.response_curves, &value.inverse_response_curves,
                        &value.further_curves, &value.correction_curves}) {
        for (CSpline &curve : *group)
            set_marker_curve(curve, marker += 0.03);
    }
    set_marker_curve(value.target_curve, marker + 0.5);
    value.adjusted_white = next();
    value.adjusted_black = next();
    value.further_value = next();
    value.further_integer_a = 7;
    value.further_integer_b = 9;
    return value;
}

inline calibration_history_item history_item(int n)
{
    calibration_history_item item;
    item.date_time = QDateTime(QDate(2020 + n % 5, 1 + n % 12, 1 + n), QTime(n % 24, 7), Qt::UTC);
    item.value = -n;
    item.type = quint8(n % 2 ? calibration_history_item::kUniformityUpdate
                             : calibration_history_item::kFactoryCalibration);
    item.sensor_model = QString("model %1").arg(n);
    item.sensor_serial = QString("S%1").arg(n, 13, 10, QChar('0'));
    item.further_bytes = {{quint8(n), quint8(n + 1), quint8('c')}};
    return item;
}

inline QList<calibration_history_item> history(int count)
{
    QList<calibration_history_item> items;
    for (int i = 0; i < count; ++i)
        items.append(history_item(i));
    return items;
}

// |seed| shifts every value so that two records differ everywhere.
inline CAdjustValue populated_adjust_value(int seed = 0)
{
    CAdjustValue r;
    const auto word = [&seed](int n) { return quint16(1000 + 17 * n + seed); };
    const auto real = [&seed](int n) { return 0.125 * n + seed; };
    const auto text = [&seed](const char *name) { return QString("%1 %2 é").arg(name).arg(seed); };
    const auto byte = [&seed](int n) { return qint8(n + seed); };
    r.backlight_setting = word(1);
    r.backlight_maximum = word(2);
    r.contrast = word(3);
    r.gain = {{real(1), real(2), real(3)}};
    r.setting_word_i = word(4);
    r.setting_word_j = word(5);
    r.setting_word_k = word(6);
    r.setting_word_l = word(7);
    r.setting_word_m = qint16(-word(8));
    r.text_n = text("n");
    r.text_o = text("o");
    r.SetCalibrationDateTime(QDateTime(QDate(2023, 11, 2), QTime(9, 41, 5, 10), Qt::UTC));
    r.measurements = populated_color_value(seed + 3.0);
    r.calibrated = true;
    r.operating_hours_calibrated = real(4);
    r.operating_hours_measured = real(5);
    r.sensor_name = text("sensor");
    r.sensor_serial_number = text("serial");
    r.leading_flag = byte(1);
    r.native_gamut_valid = byte(2);
    r.calibration_duration = quint16(60000 + seed); // above the int16 range on purpose
    r.calibration_mode = CAdjustValue::kModeGains;
    r.capability_word = qint16(word(9));
    r.visual_trim_flags = qint16(0x3F);
    r.visual_trim_multiplier = {{real(6), real(7), 9999.0}};
    r.backlight_visual_trim = word(10);
    r.engine_capability_word = qint16(word(11));
    r.engine_calibrated_word = qint16(word(12));
    for (int i = 0; i < 6; ++i)
        r.native_gamut[i] = qint16(word(13 + i));
    r.engine_white_x = quint16(40000 + seed);
    r.engine_white_y = word(20);
    r.uniformity_level = qint16(word(21));
    r.backlight_minimum = qint16(word(22));
    r.engine_white_x_visual_trim = quint16(50000 + seed);
    r.engine_white_y_visual_trim = word(23);
    r.uniformity_level_visual_trim = qint16(word(24));
    r.target_offset_enabled = 1;
    r.target_offset_dx = qint16(-12 - seed);
    r.target_offset_dy = qint16(7 + seed);
    r.target_intensity_offset = real(8);
    r.software_build = 210208 + seed;
    r.video_input = qint16(word(25));
    r.firmware_version = text("firmware");
    r.SetMacAddress(text("mac"));
    r.further_device_texts = {{text("t3"), text("t4"), text("t5")}};
    r.black_level_value = qint16(word(26));
    r.luminance_scale_switch = qint16(word(27));
    r.word_t = qint16(word(28));
    r.luminance_scale_value = real(9);
    r.value_v = real(10);
    r.value_w = real(11);
    r.corner_uniformity_flag = byte(3);
    r.engine_no_sensor_flag = byte(4);
    r.engine_luminance_flag = byte(5);
    r.capability_flags = qint16(word(29));
    for (int c = 0; c < CAdjustValue::kCornerCount; ++c) {
        CornerUniformityEntry corner;
        corner.first_offset = 10 * c + seed;
        corner.second_offset = 10 * c + 1;
        corner.first_span = 10 * c + 2;
        corner.second_span = -(10 * c + 3);
        corner.size_level = c;
        r.SetChannelEntry(c, corner);
    }
    r.SetCalibrationHistory(history(3 + seed % 4));
    return r;
}

inline void compare_xyz(const CCIEXYZ &actual, const CCIEXYZ &expected)
{
    // Doubles travel bit for bit through copies and streams.
    QCOMPARE(actual.X, expected.X);
    QCOMPARE(actual.Y, expected.Y);
    QCOMPARE(actual.Z, expected.Z);
}

inline void compare_patches(const CColorValue::Patches &a, const CColorValue::Patches &b)
{
    for (auto field : {&CColorValue::Patches::red, &CColorValue::Patches::green,
                       &CColorValue::Patches::blue, &CColorValue::Patches::white,
                       &CColorValue::Patches::black})
        compare_xyz(a.*field, b.*field);
}

inline void compare_curve(const CSpline &a, const CSpline &b)
{
    QVERIFY(!(a != b));
    QCOMPARE(a.IsValid(), b.IsValid());
    QCOMPARE(a.GetTension(), b.GetTension());
    QCOMPARE(a.GetBias(), b.GetBias());
}

inline void compare_greyscale(const QVector<CCIEXYZ> &a, const QVector<CCIEXYZ> &b)
{
    QCOMPARE(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i)
        compare_xyz(a[i], b[i]);
}

// Every streamed field of the measurements.
inline void compare_streamed(const CColorValue &a, const CColorValue &b)
{
    compare_patches(a.native, b.native);
    compare_patches(a.uncorrected, b.uncorrected);
    compare_patches(a.corrected, b.corrected);
    QCOMPARE(a.measurement_date_time, b.measurement_date_time);
    compare_greyscale(a.corrected_greyscale, b.corrected_greyscale);
    compare_greyscale(a.uncorrected_greyscale, b.uncorrected_greyscale);
    for (int c = 0; c < CColorValue::kChannelCount; ++c) {
        compare_curve(a.response_curves[c], b.response_curves[c]);
        compare_curve(a.inverse_response_curves[c], b.inverse_response_curves[c]);
        compare_curve(a.further_curves[c], b.further_curves[c]);
        compare_curve(a.correction_curves[c], b.correction_curves[c]);
    }
    compare_curve(a.target_curve, b.target_curve);
    compare_xyz(a.adjusted_white, b.adjusted_white);
    compare_xyz(a.adjusted_black, b.adjusted_black);
    compare_xyz(a.further_value, b.further_value);
}

// Fields of rows that every stored version holds (backlight to calibration date-time).
inline void compare_base_fields(const CAdjustValue &a, const CAdjustValue &b)
{
    QCOMPARE(a.backlight_setting, b.backlight_setting);
    QCOMPARE(a.backlight_maximum, b.backlight_maximum);
    QCOMPARE(a.contrast, b.contrast);
    QCOMPARE(a.gain, b.gain);
    QCOMPARE(a.setting_word_i, b.setting_word_i);
    QCOMPARE(a.setting_word_j, b.setting_word_j);
    QCOMPARE(a.setting_word_k, b.setting_word_k);
    QCOMPARE(a.setting_word_l, b.setting_word_l);
    QCOMPARE(a.setting_word_m, b.setting_word_m);
    QCOMPARE(a.text_n, b.text_n);
    QCOMPARE(a.text_o, b.text_o);
    QCOMPARE(a.calibrated, b.calibrated);
    QCOMPARE(a.operating_hours_calibrated, b.operating_hours_calibrated);
    QCOMPARE(a.operating_hours_measured, b.operating_hours_measured);
    QCOMPARE(a.sensor_name, b.sensor_name);
    QCOMPARE(a.sensor_serial_number, b.sensor_serial_number);
    QCOMPARE(a.leading_flag, b.leading_flag);
    QCOMPARE(a.native_gamut_valid, b.native_gamut_valid);
    QCOMPARE(a.calibration_duration, b.calibration_duration);
    QCOMPARE(a.calibration_mode, b.calibration_mode);
    QCOMPARE(a.capability_word, b.capability_word);
    QCOMPARE(a.backlight_visual_trim, b.backlight_visual_trim);
    QCOMPARE(a.GetCalibrationDateTime(), b.GetCalibrationDateTime());
}

inline void compare_engine_fields(const CAdjustValue &a, const CAdjustValue &b)
{
    QCOMPARE(a.engine_capability_word, b.engine_capability_word);
    QCOMPARE(a.engine_calibrated_word, b.engine_calibrated_word);
    QCOMPARE(a.native_gamut, b.native_gamut);
    QCOMPARE(a.engine_white_x, b.engine_white_x);
    QCOMPARE(a.engine_white_y, b.engine_white_y);
    QCOMPARE(a.uniformity_level, b.uniformity_level);
    QCOMPARE(a.backlight_minimum, b.backlight_minimum);
    QCOMPARE(a.engine_white_x_visual_trim, b.engine_white_x_visual_trim);
    QCOMPARE(a.engine_white_y_visual_trim, b.engine_white_y_visual_trim);
    QCOMPARE(a.uniformity_level_visual_trim, b.uniformity_level_visual_trim);
    QCOMPARE(a.target_offset_enabled, b.target_offset_enabled);
    QCOMPARE(a.target_offset_dx, b.target_offset_dx);
    QCOMPARE(a.target_offset_dy, b.target_offset_dy);
    QCOMPARE(a.target_intensity_offset, b.target_intensity_offset);
    QCOMPARE(a.software_build, b.software_build);
    QCOMPARE(a.video_input, b.video_input);
    QCOMPARE(a.firmware_version, b.firmware_version);
}

// Fields of rows 18 and 19 that reading an older version leaves as they were.
inline void compare_kept_device_fields(const CAdjustValue &a, const CAdjustValue &b)
{
    QCOMPARE(a.GetMacAddress(), b.GetMacAddress());
    QCOMPARE(a.further_device_texts, b.further_device_texts);
    QCOMPARE(a.black_level_value, b.black_level_value);
    QCOMPARE(a.luminance_scale_switch, b.luminance_scale_switch);
    QCOMPARE(a.word_t, b.word_t);
    QCOMPARE(a.luminance_scale_value, b.luminance_scale_value);
    QCOMPARE(a.value_v, b.value_v);
    QCOMPARE(a.value_w, b.value_w);
    QCOMPARE(a.corner_uniformity_flag, b.corner_uniformity_flag);
    QCOMPARE(a.engine_no_sensor_flag, b.engine_no_sensor_flag);
    QCOMPARE(a.engine_luminance_flag, b.engine_luminance_flag);
}

inline void compare_uniformity_fields(const CAdjustValue &a, const CAdjustValue &b)
{
    QCOMPARE(a.capability_flags, b.capability_flags);
    for (int c = 0; c < CAdjustValue::kCornerCount; ++c) {
        CornerUniformityEntry ea, eb;
        a.GetChannelEntry(c, ea);
        b.GetChannelEntry(c, eb);
        QVERIFY(ea == eb);
    }
    QCOMPARE(a.GetCalibrationHistory(), b.GetCalibrationHistory());
}

// Every field but the loaded flag.
inline void compare_record(const CAdjustValue &a, const CAdjustValue &b)
{
    compare_base_fields(a, b);
    QCOMPARE(a.visual_trim_flags, b.visual_trim_flags);
    QCOMPARE(a.visual_trim_multiplier, b.visual_trim_multiplier);
    compare_engine_fields(a, b);
    compare_kept_device_fields(a, b);
    compare_uniformity_fields(a, b);
    compare_streamed(a.measurements, b.measurements);
}

} // namespace record_fixtures
