#pragma once

#include <QtGlobal>

#include <array>

// One stored settings profile of a display.
struct display_profile_record
{
    quint8 status = 0;
    quint8 profile_number = 0;
    quint8 mode = 0;
    std::array<quint8, 9> video_input {};
    std::array<quint8, 4> aspect {};
    std::array<quint8, 8> position {};
    std::array<quint8, 11> reserved {};
};
