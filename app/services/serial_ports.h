#pragma once

#include <QList>
#include <QMetaType>
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
Q_DECLARE_METATYPE(serial_port_record)

// The fixed port names offered for RS-232 layouts: "COM1" to "COM16".
int list_com_port_names(QStringList &names);

// The machine's serial ports; the number found.
int enumerate_serial_ports(QList<serial_port_record> &ports);

// Whether |path| is a character device, as serial ports and pseudo-terminals are.
bool is_character_device(const QString &path);

// A port name ("COM3") is present when the device path it stands for is the
// location of one of |ports|, or, when the environment points the name at a
// device of its own, when that path is a character device: pseudo-terminals
// and some adapters never appear in the machine's port list.
bool com_port_present(const QString &name, const QList<serial_port_record> &ports);

// A record for each device that the environment names for "COM1" to "COM16"
// and that exists as a character device.
QList<serial_port_record> named_serial_devices();
