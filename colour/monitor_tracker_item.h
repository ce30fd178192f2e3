#pragma once

#include "colour/CAdjustValue.h"

#include <QString>

// One display's record together with the key the record store finds it by.
// Callers fill the keys, hand the item to CMonitorTracker and get the record
// back in the same object.
class monitor_tracker_item : public CAdjustValue
{
public:
    monitor_tracker_item() = default;
    monitor_tracker_item(const QString &modelName, const QString &serialNumber)
        : serial_number(serialNumber), model_name(modelName)
    {
    }

    bool HasKey(const QString &modelName, const QString &serialNumber) const
    {
        return model_name == modelName && serial_number == serialNumber;
    }

    QString serial_number;
    QString model_name;
};
