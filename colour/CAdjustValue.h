#pragma once

#include "colour/CColorValue.h"
#include "colour/CornerUniformityEntry.h"
#include "colour/calibration_history_item.h"

#include <QDataStream>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

// Everything stored for one display from one run to the next: the settings
// calibration chose, the measurements, when and how the display was calibrated,
// the state of its internal calibration engine, its corner uniformity and its
// own calibration history. Fields without an accessor are read and written
// directly by the calibration engine, the display jobs and the dialogs.
class CAdjustValue
{
public:
    static constexpr quint32 kMagic = 0xDEADFADE;
    static constexpr qint32 kVersion = 117;
    static constexpr qint32 kFirstVersionWithVisualTrim = 115;
    static constexpr qint32 kFirstVersionWithEngineState = 116;
    static constexpr qint32 kFirstVersionWithUniformity = 117;
    static constexpr int kMaxHistoryEntries = 10;
    static constexpr int kCornerCount = 4;

    enum Channel { kRed = 0, kGreen = 1, kBlue = 2 };

    // Bits of visual_trim_flags.
    enum VisualTrim : qint16 {
        kTrimGains = 0x01,            // channel gains or levels
        kTrimBacklight = 0x02,        // backlight or engine luminance
        kTrimEngineWhiteX = 0x04,
        kTrimEngineWhiteY = 0x08,
        kTrimUniformityLevel = 0x10,
        kTrimCorners = 0x20,
    };

    // Values of calibration_mode.
    enum CalibrationMode : qint16 { kModeLookupTable = 0, kModeGains = 1 };

    using ChannelValues = std::array<double, 3>;

    CAdjustValue() = default;
    CAdjustValue(const CAdjustValue &) = default;
    CAdjustValue &operator=(const CAdjustValue &) = default;
    virtual ~CAdjustValue() = default;

    QDateTime GetCalibrationDateTime() const { return m_calibrationDateTime; }
    QString GetMacAddress() const { return m_macAddress; }
    QList<calibration_history_item> GetCalibrationHistory() const { return m_history; }
    // Leaves |entry| unchanged for an index outside 0..3.
    void GetChannelEntry(int index, CornerUniformityEntry &entry) const;
    // The correction curve of a channel (the display's lookup table); a
    // default curve for another channel.
    CSpline GetSpline(int channel) const;

    void SetCalibrationSoftwareBuild(qint32 build) { software_build = build; }
    void SetCalibrationDateTime(const QDateTime &dateTime) { m_calibrationDateTime = dateTime; }
    void SetCalibrationMode(qint16 mode) { calibration_mode = mode; }
    void SetCapabilityWord(qint16 word) { capability_word = word; }
    void SetTargetOffsetEnabled(bool enabled) { target_offset_enabled = enabled ? 1 : 0; }
    void SetCalibrationFlagB(qint8 flag) { engine_no_sensor_flag = flag; }
    void SetCalibrated(bool isCalibrated) { calibrated = isCalibrated; }
    void SetCapabilityFlags(qint16 flags) { capability_flags = flags; }
    void SetCalibrationOperatingHours(double hours) { operating_hours_calibrated = hours; }
    void SetMeasurementOperatingHours(double hours) { operating_hours_measured = hours; }
    void SetCapabilityFlagC(qint8 flag) { corner_uniformity_flag = flag; }
    void SetCapabilityWordA(qint16 word) { engine_capability_word = word; }
    void SetCalibrationFlagA(bool engineCalibrated) { engine_calibrated_word = engineCalibrated ? 1 : 0; }
    void SetMacAddress(const QString &address) { m_macAddress = address; }
    // Keeps the first ten entries: a display reports at most ten.
    void SetCalibrationHistory(const QList<calibration_history_item> &history);
    void SetSensorName(const QString &name) { sensor_name = name; }
    void SetSensorSerialNumber(const QString &serialNumber) { sensor_serial_number = serialNumber; }
    void SetCapabilityWordK(qint16 level) { uniformity_level = level; }
    // Stores the entry of corner 0..3 and returns its size level; another
    // index changes nothing and returns 0.
    int SetChannelEntry(int index, const CornerUniformityEntry &entry);
    void SetVideoInput(qint16 input) { video_input = input; }

    // A backlight value as a percentage of the control range between
    // backlight_minimum and backlight_maximum; 0 when the range is empty.
    double BacklightPercent(int value) const;

    // Reads versions up to 117 (fields that an older version lacks take their
    // defaults) and sets |loaded| on success.
    int Read(QDataStream &stream);
    // Always the current version; -1503 (not -1504) when the stream fails
    // outside the measurements.
    int Write(QDataStream &stream) const;

    bool loaded = false; // not streamed

    quint16 backlight_setting = 127;  // brightness at calibration (engine: luminance)
    quint16 backlight_maximum = 127;
    quint16 contrast = 127;           // contrast at calibration
    ChannelValues gain{{1.0, 1.0, 1.0}}; // channel ratios 0..1, shown x 255
    quint16 setting_word_i = 127;
    quint16 setting_word_j = 127;
    quint16 setting_word_k = 127;
    quint16 setting_word_l = 0;
    qint16 setting_word_m = 0;
    QString text_n;
    QString text_o;
    CColorValue measurements;
    bool calibrated = false;
    double operating_hours_calibrated = 0.0;
    double operating_hours_measured = 0.0;
    QString sensor_name;          // "KQE" when the internal engine calibrated
    QString sensor_serial_number;
    qint8 leading_flag = 0;       // 1 after a completed calibration with a sensor
    qint8 native_gamut_valid = 0; // native_gamut holds values read from the engine
    quint16 calibration_duration = 0; // seconds
    qint16 calibration_mode = kModeLookupTable;
    qint16 capability_word = 0;   // firmware check: 0 unknown, 1 supported, 2 too old
    qint16 visual_trim_flags = 0; // VisualTrim bits; the calibration's status word
    ChannelValues visual_trim_multiplier{{1.0, 1.0, 1.0}}; // trimmed / untrimmed
    quint16 backlight_visual_trim = 0;

    // Internal calibration engine state (the eleven capability words A to K).
    qint16 engine_capability_word = 0; // A: paged engine controls supported
    qint16 engine_calibrated_word = 0; // non-zero after an engine calibration
    // Red x, red y, green x, green y, blue x, blue y read from the engine.
    std::array<qint16, 6> native_gamut{};
    quint16 engine_white_x = 0;        // thousandths
    quint16 engine_white_y = 0;
    qint16 uniformity_level = 0;       // K: 0 off

    // Engine trim words.
    qint16 backlight_minimum = 0;      // engine luminance lower limit
    quint16 engine_white_x_visual_trim = 0;
    quint16 engine_white_y_visual_trim = 0;
    qint16 uniformity_level_visual_trim = 0;
    qint16 target_offset_enabled = 0;
    qint16 target_offset_dx = 0;       // thousandths, signed
    qint16 target_offset_dy = 0;

    double target_intensity_offset = 1.0; // multiplies the target intensity
    qint32 software_build = 0;
    qint16 video_input = 0;
    QString firmware_version;
    std::array<QString, 3> further_device_texts;
    qint16 black_level_value = 0;      // engine black-level control 0x1054
    qint16 luminance_scale_switch = 0;
    qint16 word_t = 0;
    double luminance_scale_value = 0.0; // divides the maximum luminance when switched on
    double value_v = 0.0;
    double value_w = 0.0;
    qint8 corner_uniformity_flag = 0;  // C: corner uniformity supported
    qint8 engine_no_sensor_flag = 0;   // B: engine calibration without a sensor
    qint8 engine_luminance_flag = 0;   // engine brightness held as cd/m²
    qint16 capability_flags = 0;       // uniformity capability word

private:
    template <class IO, class Record>
    static void TransferFields(IO &io, Record &record, qint32 version);
    int ReadHistory(QDataStream &stream);
    void ResetFieldsMissingFrom(qint32 version);

    QDateTime m_calibrationDateTime; // null: never calibrated
    QString m_macAddress;
    std::array<CornerUniformityEntry, kCornerCount> m_corners{};
    QList<calibration_history_item> m_history; // at most ten entries
};
