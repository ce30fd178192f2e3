#pragma once

#include "app/services/serial_ports.h"

class QComboBox;

// Fills |combo| with the port names "COM1" to "COM16", each with a green
// circle when the port is present among |ports| (com_port_present) and a red
// one otherwise. A refresh keeps the current row and emits no change signal;
// a first fill leaves the first port current.
void fill_com_port_combo(QComboBox *combo, const QList<serial_port_record> &ports);
