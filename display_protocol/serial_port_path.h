#pragma once

#include <QString>

// Layouts, preferences and projects store the logical port names "COM1" ...
// "COM16"; the serial link opens the device path that a name stands for:
//  - a name that is already a device path ("/dev/ttyUSB0") is used as it is;
//  - COMn (any letter case) is taken from the environment variable
//    TESSALINE_SERIAL_PORT_COMn when that is set and not empty, so that USB
//    adapters and pseudo-terminals can be used;
//  - otherwise COMn is /dev/ttyS(n-1).
// Any other name gives an empty path, which no port opens.
QString serial_port_path(const QString &name);

// The device path that the environment names for the logical port |name|
// (TESSALINE_SERIAL_PORT_COMn), or an empty string when it names none.
QString serial_port_override_path(const QString &name);
