#pragma once

#include <QtGlobal>

#include <array>

// One entry of the calibration history that a display with an internal
// calibration engine keeps.
struct calibration_history_entry
{
    quint8 status = 0;
    quint8 command_id = 0;
    quint8 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minute = 0;
    quint16 hours_running_high = 0;
    quint16 hours_running_low = 0;
    quint8 hours_running_minutes = 0;
    std::array<quint16, 3> before_rgb {};
    std::array<quint16, 3> after_rgb {};
    quint8 calibration_type = 0;
    std::array<quint8, 13> first_text {};
    quint8 measurement_points_h = 0;
    quint8 measurement_points_v = 0;
    std::array<quint8, 13> second_text {};
};
