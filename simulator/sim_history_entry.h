#pragma once

#include <QtGlobal>

#include <array>

// One calibration the internal engine of a simulated display remembers,
// in the field order of its history reply.
struct sim_history_entry
{
    quint8 command_id = 0;
    quint8 year = 0, month = 0, day = 0, hour = 0, minute = 0;
    quint16 hours_high = 0, hours_low = 0;
    quint8 hours_minutes = 0;
    std::array<quint16, 3> before_rgb {};
    std::array<quint16, 3> after_rgb {};
    quint8 calibration_type = 0;
    std::array<quint8, 13> first_text {};
    quint8 points_h = 0, points_v = 0;
    std::array<quint8, 13> second_text {};
};
