#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One serial port of the machine as the port enumerator reports it.
struct serial_port_record {
    QString portName;   // "ttyS0", "ttyUSB0"
    QString physName;   // the device path, "/dev/ttyUSB0"
    QString friendName; // the driver's description
    QString enumName;   // the bus the port hangs on, when known ("usb", "pnp", ...)
    int vendorID = 0;
    int productID = 0;
};

// The fixed port names offered for RS-232 layouts: "COM1" to "COM16".
int list_com_port_names(QStringList &names);

// The machine's serial ports; the number found.
int enumerate_serial_ports(QList<serial_port_record> &ports);
