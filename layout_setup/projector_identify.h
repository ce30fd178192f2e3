#pragma once

#include <QString>

class basic_monitor;

// Makes the display at |address| on the LAN show itself: its picture levels
// are cycled, after switching it on (and waiting for it) when it is off. The
// display is addressed by its own monitor ID where it tells it, else as any
// display. The link is released in every case. 0 or the failure's code
// (-1028 when it does not switch on).
int identify_projector(basic_monitor &monitor, const QString &address);
