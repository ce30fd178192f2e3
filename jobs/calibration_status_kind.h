#pragma once

#include <QtGlobal>

// What a calibration_job_status_info_item reports, and where its payload is.
enum calibration_status_kind : qint32 {
    CAL_STATUS_TASK = 1,                        // value: calibration step code
    CAL_STATUS_INSTRUCTION = 2,                 // text: instruction for the operator
    CAL_STATUS_AUDIO = 3,                       // value: recorded prompt, text: sentence to speak
    CAL_STATUS_WAIT = 4,                        // value: wait time in ms
    CAL_STATUS_MISC = 5,                        // value: 1 = the sensor may leave this display
    CAL_STATUS_WHITE_POINT_TARGET = 10,         // d1, d2: target x, y
    CAL_STATUS_WHITE_POINT_MEASURED = 11,       // d1, d2, d3: measured x, y, Y
    CAL_STATUS_WHITE_LEVEL_TARGET = 20,         // d1: target white luminance
    CAL_STATUS_WHITE_LEVEL_TARGET_MIN_MAX = 22, // d1, d2: minimum, maximum
    CAL_STATUS_SHOW_WHITE_LEVEL_TARGET = 23,    // value: 0 hide, else show
    CAL_STATUS_BLACK_LEVEL_MEASURED = 30,       // d1: measured black luminance
    CAL_STATUS_BLACK_LEVEL_TARGET_MIN_MAX = 32, // d1, d2: minimum, maximum
};

// The value of kind CAL_STATUS_MISC that lets the operator take the sensor off.
constexpr qint32 CAL_MISC_SENSOR_MAY_BE_REMOVED = 1;
