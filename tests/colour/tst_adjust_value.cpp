#include "colour/CAdjustValue.h"
#include "colour/stream_record.h"
#include "record_fixtures.h"

#include <QtTest>

using namespace record_fixtures;

namespace {

// The stream form written independently, row by row, for any version, with
// the history count and entries given separately so that damaged and
// over-long histories can be built.
QByteArray layout(const CAdjustValue &r, qint32 version, qint32 historyCount,
                  const QList<calibration_history_item> &entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(out);
    out << quint32(0xDEADFADE) << version;
    out << qint32(r.backlight_setting) << qint32(r.backlight_maximum) << qint32(r.contrast);
    out << r.gain[0] << r.gain[1] << r.gain[2];
    out << qint32(r.setting_word_i) << qint32(r.setting_word_j) << qint32(r.setting_word_k)
        << qint32(r.setting_word_l);
    out << r.calibrated;
    out << r.operating_hours_calibrated << r.operating_hours_measured;
    out << qint32(r.setting_word_m);
    out << r.text_n << r.text_o;
    out << r.leading_flag << r.native_gamut_valid;
    out << qint16(r.calibration_duration) << r.calibration_mode << r.capability_word;
    out << qint16(r.backlight_visual_trim);
    out << r.sensor_name << r.sensor_serial_number;
    out << r.GetCalibrationDateTime();
    if (version >= 115) {
        out << r.visual_trim_flags;
        for (double m : r.visual_trim_multiplier)
            out << m;
    }
    if (version >= 116) {
        out << r.engine_capability_word << r.engine_calibrated_word;
        for (qint16 g : r.native_gamut)
            out << g;
        out << qint16(r.engine_white_x) << qint16(r.engine_white_y) << r.uniformity_level;
        out << r.backlight_minimum << qint16(r.engine_white_x_visual_trim)
            << qint16(r.engine_white_y_visual_trim) << r.uniformity_level_visual_trim
            << r.target_offset_enabled << r.target_offset_dx << r.target_offset_dy;
        out << r.target_intensity_offset << r.software_build << r.video_input;
        out << r.firmware_version << r.GetMacAddress();
        for (const QString &text : r.further_device_texts)
            out << text;
        out << r.black_level_value << r.luminance_scale_switch << r.word_t;
        out << r.luminance_scale_value << r.value_v << r.value_w;
        out << r.corner_uniformity_flag << r.engine_no_sensor_flag << r.engine_luminance_flag;
    }
    if (version >= 117) {
        out << r.capability_flags;
        for (int c = 0; c < CAdjustValue::kCornerCount; ++c) {
            CornerUniformityEntry e;
            r.GetChannelEntry(c, e);
            out << e.first_offset << e.second_offset << e.first_span << e.second_span
                << e.size_level;
        }
        out << historyCount;
        for (const calibration_history_item &item : entries) {
            out << item.date_time << item.value << item.type << item.sensor_model
                << item.sensor_serial << item.further_bytes[0] << item.further_bytes[1]
                << item.further_bytes[2];
        }
    }
    r.measurements.Write(out);
    return bytes;
}

QByteArray layout(const CAdjustValue &r, qint32 version)
{
    const QList<calibration_history_item> entries = r.GetCalibrationHistory();
    return layout(r, version, entries.size(), entries);
}

// Offsets in the stream of a default record; strings are null (4 bytes each),
// the date-time 9 bytes.
constexpr int kTrimOffset = 8 + 12 + 24 + 16 + 1 + 16 + 4 + 8 + 2 + 6 + 2 + 8 + 9;
constexpr int kEngineOffset = kTrimOffset + 2 + 24;
constexpr int kIntensityOffsetOffset = kEngineOffset + 11 * 2 + 7 * 2;
constexpr int kHistoryCountOffset = kIntensityOffsetOffset + 8 + 4 + 2 + 5 * 4 + 6 + 24 + 3
                                    + 2 + 4 * 5 * 4;
constexpr int kMeasurementsOffset = kHistoryCountOffset + 4;
constexpr int kDefaultMeasurementsSize = 1094;

QByteArray hex_at(const QByteArray &bytes, int offset, int size)
{
    return bytes.mid(offset, size).toHex();
}

} // namespace

class tst_adjust_value : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const CAdjustValue r;
        QVERIFY(!r.loaded);
        QCOMPARE(r.backlight_setting, quint16(127));
        QCOMPARE(r.contrast, quint16(127));
        QCOMPARE(r.gain, (CAdjustValue::ChannelValues{{1.0, 1.0, 1.0}}));
        QCOMPARE(r.setting_word_k, quint16(127));
        QCOMPARE(r.setting_word_l, quint16(0));
        QCOMPARE(r.visual_trim_multiplier, (CAdjustValue::ChannelValues{{1.0, 1.0, 1.0}}));
        QCOMPARE(r.target_intensity_offset, 1.0);
        QVERIFY(r.GetCalibrationDateTime().isNull());
        QVERIFY(r.GetCalibrationHistory().isEmpty());
        CornerUniformityEntry corner;
        corner.size_level = 5;
        r.GetChannelEntry(3, corner);
        QVERIFY(corner == CornerUniformityEntry());
    }

    void copies_hold_every_field()
    {
        CAdjustValue source = populated_adjust_value(2);
        source.loaded = true;
        const CAdjustValue constructed(source);
        compare_record(constructed, source);
        QVERIFY(constructed.loaded);
        CAdjustValue assigned;
        assigned = source;
        compare_record(assigned, source);
        QVERIFY(assigned.loaded);
    }

    void setters_store_in_their_fields()
    {
        CAdjustValue r;
        r.SetCalibrationSoftwareBuild(210208);
        r.SetCalibrationMode(CAdjustValue::kModeGains);
        r.SetCapabilityWord(2);
        r.SetTargetOffsetEnabled(true);
        r.SetCalibrationFlagB(1);
        r.SetCalibrated(true);
        r.SetCapabilityFlags(1);
        r.SetCalibrationOperatingHours(12.5);
        r.SetMeasurementOperatingHours(13.5);
        r.SetCapabilityFlagC(1);
        r.SetCapabilityWordA(1);
        r.SetCalibrationFlagA(true);
        r.SetSensorName("KQE");
        r.SetSensorSerialNumber("123");
        r.SetCapabilityWordK(3);
        r.SetVideoInput(17);
        QCOMPARE(r.software_build, 210208);
        QCOMPARE(r.calibration_mode, qint16(1));
        QCOMPARE(r.capability_word, qint16(2));
        QCOMPARE(r.target_offset_enabled, qint16(1));
        QCOMPARE(r.engine_no_sensor_flag, qint8(1));
        QVERIFY(r.calibrated);
        QCOMPARE(r.capability_flags, qint16(1));
        QCOMPARE(r.operating_hours_calibrated, 12.5);
        QCOMPARE(r.operating_hours_measured, 13.5);
        QCOMPARE(r.corner_uniformity_flag, qint8(1));
        QCOMPARE(r.engine_capability_word, qint16(1));
        QCOMPARE(r.engine_calibrated_word, qint16(1));
        QCOMPARE(r.sensor_name, QString("KQE"));
        QCOMPARE(r.sensor_serial_number, QString("123"));
        QCOMPARE(r.uniformity_level, qint16(3));
        QCOMPARE(r.video_input, qint16(17));
        r.SetTargetOffsetEnabled(false);
        r.SetCalibrationFlagA(false);
        QCOMPARE(r.target_offset_enabled, qint16(0));
        QCOMPARE(r.engine_calibrated_word, qint16(0));
    }

    void corner_entries_outside_0_to_3_change_nothing()
    {
        CAdjustValue r = populated_adjust_value();
        const CAdjustValue before = r;
        CornerUniformityEntry entry;
        entry.first_span = 77;
        entry.size_level = 2;
        QCOMPARE(r.SetChannelEntry(-1, entry), 0);
        QCOMPARE(r.SetChannelEntry(4, entry), 0);
        compare_uniformity_fields(r, before);
        CornerUniformityEntry out = entry;
        r.GetChannelEntry(4, out);
        r.GetChannelEntry(-1, out);
        QVERIFY(out == entry);
        QCOMPARE(r.SetChannelEntry(2, entry), 2);
        r.GetChannelEntry(2, out);
        QVERIFY(out == entry);
    }

    void history_holds_at_most_ten_entries()
    {
        CAdjustValue r;
        r.SetCalibrationHistory(history(12));
        QCOMPARE(r.GetCalibrationHistory(), history(10));
        const QByteArray bytes = written(r);
        QCOMPARE(hex_at(bytes, kHistoryCountOffset, 4), QByteArray("0000000a"));
        CAdjustValue copy;
        QCOMPARE(read_into(copy, bytes), 0);
        QCOMPARE(copy.GetCalibrationHistory(), history(10));
    }

    void backlight_percent_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<double>("percent");
        QTest::newRow("80 of 100") << 80 << 100 << 0 << 80.0;
        QTest::newRow("engine range") << 250 << 450 << 50 << 50.0;
        QTest::newRow("empty range") << 80 << 100 << 100 << 0.0;
        QTest::newRow("inverted range") << 80 << 50 << 100 << 0.0;
        QTest::newRow("no maximum") << 0 << 0 << 0 << 0.0;
    }

    void backlight_percent()
    {
        QFETCH(int, setting);
        QFETCH(int, maximum);
        QFETCH(int, minimum);
        QFETCH(double, percent);
        CAdjustValue r;
        r.backlight_maximum = quint16(maximum);
        r.backlight_minimum = qint16(minimum);
        // Exact: small integers and a division that the test values keep exact.
        QCOMPARE(r.BacklightPercent(setting), percent);
    }

    void spline_is_the_channel_correction_curve()
    {
        const CAdjustValue r = populated_adjust_value();
        compare_curve(r.GetSpline(CAdjustValue::kGreen),
                      r.measurements.correction_curves[CColorValue::kGreen]);
        QCOMPARE(r.GetSpline(3).GetSize(), 0);
    }

    void round_trip_is_equal_field_by_field()
    {
        const CAdjustValue source = populated_adjust_value(1);
        const QByteArray bytes = written(source);
        QVERIFY(!bytes.isEmpty());
        CAdjustValue copy;
        QCOMPARE(read_into(copy, bytes), 0);
        QVERIFY(copy.loaded);
        compare_record(copy, source);
        QCOMPARE(written(copy), bytes);
    }

    void layout_matches_the_row_table()
    {
        // Every field at its position: the record's own writer against the
        // row-by-row writer above.
        const CAdjustValue r = populated_adjust_value(3);
        QCOMPARE(written(r).toHex(), layout(r, 117).toHex());
        QCOMPARE(written(CAdjustValue()).toHex(), layout(CAdjustValue(), 117).toHex());
    }

    void default_layout()
    {
        const QByteArray bytes = written(CAdjustValue());
        QCOMPARE(bytes.size(), kMeasurementsOffset + kDefaultMeasurementsSize);
        QCOMPARE(hex_at(bytes, 0, 8), QByteArray("deadfade00000075"));
        // Backlight, maximum and contrast as int32 127, then gain R 1.0.
        QCOMPARE(hex_at(bytes, 8, 20), QByteArray("0000007f0000007f0000007f3ff0000000000000"));
        // Setting word L 0, the calibrated flag, then operating hours.
        QCOMPARE(hex_at(bytes, 56, 5), QByteArray("0000000000"));
        QCOMPARE(hex_at(bytes, kTrimOffset, 10), QByteArray("00003ff0000000000000"));
        QCOMPARE(hex_at(bytes, kIntensityOffsetOffset, 8), QByteArray("3ff0000000000000"));
        QCOMPARE(hex_at(bytes, kHistoryCountOffset, 4), QByteArray("00000000"));
        QCOMPARE(hex_at(bytes, kMeasurementsOffset, 8), QByteArray("0000beef00000068"));
    }

    void sixteen_bit_fields_keep_their_low_bits()
    {
        CAdjustValue r;
        r.setting_word_m = -2;
        r.calibration_duration = 65535;
        r.engine_white_x = 60000;
        CAdjustValue copy;
        QCOMPARE(read_into(copy, written(r)), 0);
        QCOMPARE(copy.setting_word_m, qint16(-2));
        QCOMPARE(copy.calibration_duration, quint16(65535));
        QCOMPARE(copy.engine_white_x, quint16(60000));
        // An int32 slot holding more than 16 bits keeps the low ones.
        QByteArray wide = written(r);
        wide.replace(8, 4, QByteArray::fromHex("00120050"));
        QCOMPARE(read_into(copy, wide), 0);
        QCOMPARE(copy.backlight_setting, quint16(0x50));
    }

    void older_versions_read_with_defaults_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("114") << 114;
        QTest::newRow("115") << 115;
        QTest::newRow("116") << 116;
    }

    void older_versions_read_with_defaults()
    {
        QFETCH(int, version);
        const CAdjustValue stored = populated_adjust_value(1);
        const CAdjustValue earlier = populated_adjust_value(2);
        CAdjustValue r = earlier;
        QCOMPARE(read_into(r, layout(stored, version)), 0);
        QVERIFY(r.loaded);
        compare_base_fields(r, stored);
        compare_streamed(r.measurements, stored.measurements);
        if (version >= 115) {
            QCOMPARE(r.visual_trim_flags, stored.visual_trim_flags);
            QCOMPARE(r.visual_trim_multiplier, stored.visual_trim_multiplier);
        } else {
            QCOMPARE(r.visual_trim_flags, qint16(0));
            QCOMPARE(r.visual_trim_multiplier, (CAdjustValue::ChannelValues{{1.0, 1.0, 1.0}}));
        }
        if (version >= 116) {
            compare_engine_fields(r, stored);
            compare_kept_device_fields(r, stored);
        } else {
            compare_engine_fields(r, CAdjustValue());
            compare_kept_device_fields(r, earlier);
        }
        compare_uniformity_fields(r, CAdjustValue());
    }

    void header_errors_leave_the_record_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        const QByteArray good = layout(populated_adjust_value(1), 117);
        QByteArray newer = good;
        newer[7] = char(118);
        QByteArray magic = good;
        magic[0] = char(0xCE);
        QTest::newRow("version 118") << newer << -1501;
        QTest::newRow("wrong magic") << magic << -1502;
        QTest::newRow("empty") << QByteArray() << -1503;
    }

    void header_errors_leave_the_record()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        const CAdjustValue before = populated_adjust_value(2);
        CAdjustValue r = before;
        r.loaded = true;
        QCOMPARE(read_into(r, bytes), code);
        QVERIFY(!r.loaded);
        compare_record(r, before);
    }

    void history_counts_data()
    {
        QTest::addColumn<qint32>("count");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kept");
        QTest::newRow("none") << 0 << 0 << 0 << 0;
        QTest::newRow("ten") << 10 << 10 << 0 << 10;
        // Written by a writer that did not bound the history: every entry is
        // consumed so that the measurements behind them are found.
        QTest::newRow("eleven") << 11 << 11 << 0 << 10;
        QTest::newRow("forty") << 40 << 40 << 0 << 10;
        QTest::newRow("negative") << -1 << 0 << -1503 << 0;
        QTest::newRow("impossible") << 0x7fffffff << 3 << -1503 << 0;
        QTest::newRow("more than stored") << 12 << 11 << -1503 << 0;
    }

    void history_counts()
    {
        QFETCH(qint32, count);
        QFETCH(int, entries);
        QFETCH(int, code);
        QFETCH(int, kept);
        const CAdjustValue stored = populated_adjust_value(1);
        CAdjustValue r;
        QCOMPARE(read_into(r, layout(stored, 117, count, history(entries))), code);
        QCOMPARE(r.loaded, code == 0);
        if (code == 0) {
            QCOMPARE(r.GetCalibrationHistory(), history(kept));
            compare_streamed(r.measurements, stored.measurements);
        }
    }

    void truncated_streams_data()
    {
        QTest::addColumn<int>("size");
        const int full = written(populated_adjust_value(1)).size();
        for (int size : {0, 4, 8, 11, 30, 61, 100, 150, 200, 300, 400, full - 1200, full - 600,
                         full - 100, full - 1})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    void truncated_streams()
    {
        QFETCH(int, size);
        const QByteArray bytes = written(populated_adjust_value(1)).left(size);
        CAdjustValue r;
        QVERIFY(read_into(r, bytes) < 0);
        QVERIFY(!r.loaded);
    }

    void every_damaged_byte_is_survived()
    {
        // Each byte of a record inverted in turn: some damage reads as other
        // values, but none may crash, hang or report success on a short read.
        for (const CAdjustValue &source : {CAdjustValue(), populated_adjust_value(1)}) {
            const QByteArray good = written(source);
            for (int i = 0; i < good.size(); ++i) {
                QByteArray bytes = good;
                bytes[i] = char(~bytes[i]);
                CAdjustValue r;
                const int code = read_into(r, bytes);
                QVERIFY(code == 0 || code == -1501 || code == -1502 || code == -1503);
                QCOMPARE(r.loaded, code == 0);
            }
        }
    }

    void structural_damage_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("with");
        QTest::addColumn<int>("code");
        QTest::newRow("measurement magic") << kMeasurementsOffset + 2 << QByteArray("\x01", 1)
                                          << -1502;
        QTest::newRow("measurement version") << kMeasurementsOffset + 7 << QByteArray("\x69", 1)
                                            << -1501;
        QTest::newRow("history count") << kHistoryCountOffset << QByteArray::fromHex("80000000")
                                       << -1503;
        QTest::newRow("odd string length") << 8 + 12 + 24 + 16 + 1 + 16 + 4
                                           << QByteArray::fromHex("00000003") << -1503;
        QTest::newRow("string past the end") << 8 + 12 + 24 + 16 + 1 + 16 + 4
                                             << QByteArray::fromHex("7ffffff0") << -1503;
    }

    void structural_damage()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, with);
        QFETCH(int, code);
        QByteArray bytes = written(CAdjustValue());
        bytes.replace(offset, with.size(), with);
        CAdjustValue r;
        QCOMPARE(read_into(r, bytes), code);
    }

    void write_failure_is_reported()
    {
        QBuffer closed; // never opened: every write fails
        QDataStream out(&closed);
        QVERIFY(populated_adjust_value().Write(out) < 0);
    }
};

QTEST_APPLESS_MAIN(tst_adjust_value)
#include "tst_adjust_value.moc"
