#pragma once

#include "simulator/sim_wall_config.h"
#include "simulator/simulated_wall.h"

#include <QList>
#include <QString>

// Where one display of a configured wall sits and how it is reached.
struct sim_wall_position
{
    int handle = -1;
    int row = 0;
    int column = 0;
    int endpoint = -1;
    QString endpoint_name;   // LAN address or pseudo-terminal path
    char monitor_id = 'A';
};

// Sets |wall| up as |config| describes: the imperfections, one endpoint per
// chain, the displays with their models (each known model with its whole
// profile), serial numbers and input level.
// false with a message when an endpoint cannot be set up (an address that
// cannot be bound, no pseudo-terminal).
bool build_wall(const sim_wall_config &config, simulated_wall &wall, QList<sim_wall_position> *placed,
                QString *error);
