#include "colour/CAdjustValue.h"

#include "colour/stream_record.h"

#include <limits>

namespace {

// A damaged count must not make the reader loop or allocate without end; the
// reader consumes every entry of a sane count so the stream stays aligned.
constexpr qint32 kMaxStoredHistoryEntries = 65536;

// The 16-bit settings travel as int32 (row "word32") or int16 ("word16");
// reading keeps the low 16 bits.
struct FieldWriter
{
    QDataStream &stream;

    template <class T>
    void plain(const T &value) { stream << value; }
    template <class T>
    void word32(T value) { stream << qint32(value); }
    template <class T>
    void word16(T value) { stream << qint16(value); }
    void entry(const CornerUniformityEntry &corner) { corner.Write(stream); }
};

struct FieldReader
{
    QDataStream &stream;

    template <class T>
    void plain(T &value) { stream >> value; }
    template <class T>
    void word32(T &value)
    {
        qint32 stored = 0;
        stream >> stored;
        value = T(stored);
    }
    template <class T>
    void word16(T &value)
    {
        qint16 stored = 0;
        stream >> stored;
        value = T(stored);
    }
    void entry(CornerUniformityEntry &corner) { corner.Read(stream); }
};

} // namespace

// Every field before the history, in stream order, as far as |version| has it.
template <class IO, class Record>
void CAdjustValue::TransferFields(IO &io, Record &record, qint32 version)
{
    io.word32(record.backlight_setting);
    io.word32(record.backlight_maximum);
    io.word32(record.contrast);
    for (auto &gain : record.gain)
        io.plain(gain);
    io.word32(record.setting_word_i);
    io.word32(record.setting_word_j);
    io.word32(record.setting_word_k);
    io.word32(record.setting_word_l);
    io.plain(record.calibrated);
    io.plain(record.operating_hours_calibrated);
    io.plain(record.operating_hours_measured);
    io.word32(record.setting_word_m);
    io.plain(record.text_n);
    io.plain(record.text_o);
    io.plain(record.leading_flag);
    io.plain(record.native_gamut_valid);
    io.word16(record.calibration_duration);
    io.word16(record.calibration_mode);
    io.word16(record.capability_word);
    io.word16(record.backlight_visual_trim);
    io.plain(record.sensor_name);
    io.plain(record.sensor_serial_number);
    io.plain(record.m_calibrationDateTime);
    if (version < kFirstVersionWithVisualTrim)
        return;

    io.word16(record.visual_trim_flags);
    for (auto &multiplier : record.visual_trim_multiplier)
        io.plain(multiplier);
    if (version < kFirstVersionWithEngineState)
        return;

    io.word16(record.engine_capability_word);
    io.word16(record.engine_calibrated_word);
    for (auto &value : record.native_gamut)
        io.word16(value);
    io.word16(record.engine_white_x);
    io.word16(record.engine_white_y);
    io.word16(record.uniformity_level);
    io.word16(record.backlight_minimum);
    io.word16(record.engine_white_x_visual_trim);
    io.word16(record.engine_white_y_visual_trim);
    io.word16(record.uniformity_level_visual_trim);
    io.word16(record.target_offset_enabled);
    io.word16(record.target_offset_dx);
    io.word16(record.target_offset_dy);
    io.plain(record.target_intensity_offset);
    io.plain(record.software_build);
    io.word16(record.video_input);
    io.plain(record.firmware_version);
    io.plain(record.m_macAddress);
    for (auto &text : record.further_device_texts)
        io.plain(text);
    io.word16(record.black_level_value);
    io.word16(record.luminance_scale_switch);
    io.word16(record.word_t);
    io.plain(record.luminance_scale_value);
    io.plain(record.value_v);
    io.plain(record.value_w);
    io.plain(record.corner_uniformity_flag);
    io.plain(record.engine_no_sensor_flag);
    io.plain(record.engine_luminance_flag);
    if (version < kFirstVersionWithUniformity)
        return;

    io.word16(record.capability_flags);
    for (auto &corner : record.m_corners)
        io.entry(corner);
}

void CAdjustValue::GetChannelEntry(int index, CornerUniformityEntry &entry) const
{
    if (index >= 0 && index < kCornerCount)
        entry = m_corners[index];
}

int CAdjustValue::SetChannelEntry(int index, const CornerUniformityEntry &entry)
{
    if (index < 0 || index >= kCornerCount)
        return 0;
    m_corners[index] = entry;
    return entry.size_level;
}

CSpline CAdjustValue::GetSpline(int channel) const
{
    if (channel < kRed || channel > kBlue)
        return CSpline();
    return measurements.correction_curves[channel];
}

void CAdjustValue::SetCalibrationHistory(const QList<calibration_history_item> &history)
{
    m_history = history.mid(0, kMaxHistoryEntries);
}

double CAdjustValue::BacklightPercent(int value) const
{
    const int range = int(backlight_maximum) - int(backlight_minimum);
    if (range <= 0)
        return 0.0;
    return (value - int(backlight_minimum)) * 100.0 / range;
}

void CAdjustValue::ResetFieldsMissingFrom(qint32 version)
{
    if (version < kFirstVersionWithVisualTrim) {
        visual_trim_flags = 0;
        visual_trim_multiplier = {{1.0, 1.0, 1.0}};
    }
    if (version < kFirstVersionWithEngineState) {
        target_intensity_offset = 1.0;
        engine_capability_word = 0;
        engine_calibrated_word = 0;
        native_gamut.fill(0);
        engine_white_x = 0;
        engine_white_y = 0;
        uniformity_level = 0;
        backlight_minimum = 0;
        engine_white_x_visual_trim = 0;
        engine_white_y_visual_trim = 0;
        uniformity_level_visual_trim = 0;
        target_offset_enabled = 0;
        target_offset_dx = 0;
        target_offset_dy = 0;
        software_build = 0;
        video_input = 0;
        firmware_version.clear();
    }
    if (version < kFirstVersionWithUniformity) {
        capability_flags = 0;
        m_corners.fill(CornerUniformityEntry());
        m_history.clear();
    }
}

int CAdjustValue::ReadHistory(QDataStream &stream)
{
    m_history.clear();
    qint32 count = 0;
    if (!stream_record::read_count(stream, &count, kMaxStoredHistoryEntries,
                                   calibration_history_item::kMinStreamBytes))
        return stream_record::kErrRead;
    for (qint32 i = 0; i < count; ++i) {
        calibration_history_item item;
        item.Read(stream);
        if (const int result = stream_record::read_status(stream))
            return result;
        if (m_history.size() < kMaxHistoryEntries)
            m_history.append(item);
    }
    return 0;
}

int CAdjustValue::Read(QDataStream &stream)
{
    loaded = false;
    qint32 version = 0;
    if (const int result = stream_record::read_header(
            stream, kMagic, std::numeric_limits<qint32>::min(), kVersion, &version))
        return result;
    ResetFieldsMissingFrom(version);
    FieldReader reader{stream};
    TransferFields(reader, *this, version);
    if (version >= kFirstVersionWithUniformity) {
        if (const int result = ReadHistory(stream))
            return result;
    }
    const int result = measurements.Read(stream);
    loaded = result == 0;
    return result;
}

int CAdjustValue::Write(QDataStream &stream) const
{
    // After a failed header the measurements' own write reports the failure.
    if (stream_record::write_header(stream, kMagic, kVersion) == 0) {
        FieldWriter writer{stream};
        TransferFields(writer, *this, kVersion);
        stream << qint32(m_history.size());
        for (const calibration_history_item &item : m_history)
            item.Write(stream);
    }
    if (const int result = measurements.Write(stream))
        return result;
    return stream_record::status_code(stream, stream_record::kErrRead);
}
