#pragma once

#include <QDataStream>
#include <QDateTime>
#include <QString>

#include <array>

// One event of a display's own calibration history, as the display reports it.
struct calibration_history_item
{
    enum Type : quint8 {
        kUserCalibration = 0,
        kFactoryCalibration = 2,
        kUserCalibrationAlt = 3,
        kUniformityUpdate = 4,
        kUniformityUpdateAlt = 5,
        kOtherEvent = 99,
    };

    // Smallest stream form: null date-time (9), int32, byte, two empty strings, three bytes.
    static constexpr qint64 kMinStreamBytes = 9 + 4 + 1 + 4 + 4 + 3;

    QDateTime date_time;
    qint32 value = 0;
    quint8 type = 0;
    QString sensor_model;
    QString sensor_serial;
    // After a uniformity update the first two are the horizontal and vertical point counts.
    std::array<quint8, 3> further_bytes{};

    bool operator==(const calibration_history_item &other) const;
    bool operator!=(const calibration_history_item &other) const { return !(*this == other); }

    // No header; the caller checks the stream's status.
    void Read(QDataStream &stream);
    void Write(QDataStream &stream) const;
};
