#pragma once

#include <QtGlobal>

#include <array>

// One entry of the display's operation log.
struct display_log_entry
{
    quint8 status = 0;
    quint16 log_number = 0;
    quint8 video_input = 0;
    quint16 input_signal_h = 0;
    quint16 input_signal_v = 0;
    quint8 audio_input = 0;
    quint8 audio_input_status = 0;
    quint8 picture_status = 0;
    quint8 audio_status = 0;
    quint16 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 second = 0;
    std::array<quint8, 3> reserved {};
};
