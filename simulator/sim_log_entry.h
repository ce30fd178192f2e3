#pragma once

#include <QByteArray>
#include <QtGlobal>

// One request frame as an endpoint received it.
struct sim_log_entry
{
    qint64 time_ms = 0;      // since the wall was created
    int endpoint = -1;
    QByteArray raw;
    bool valid = false;
    char destination = 0;
    char type = 0;
    QByteArray body;
    char answered_by = 0;    // monitor ID of the display that answered; 0: none
};
