#include "colour/calibration_history_item.h"

bool calibration_history_item::operator==(const calibration_history_item &other) const
{
    return date_time == other.date_time && value == other.value && type == other.type
        && sensor_model == other.sensor_model && sensor_serial == other.sensor_serial
        && further_bytes == other.further_bytes;
}

void calibration_history_item::Read(QDataStream &stream)
{
    stream >> date_time >> value >> type >> sensor_model >> sensor_serial;
    for (quint8 &byte : further_bytes)
        stream >> byte;
}

void calibration_history_item::Write(QDataStream &stream) const
{
    stream << date_time << value << type << sensor_model << sensor_serial;
    for (quint8 byte : further_bytes)
        stream << byte;
}
