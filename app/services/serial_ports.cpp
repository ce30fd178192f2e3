#include "app/services/serial_ports.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

constexpr int kComPortCount = 16;

// The kernel's bus name of a tty, from its sysfs device link.
QString bus_of(const QString &portName)
{
    const QFileInfo subsystem(QStringLiteral("/sys/class/tty/%1/device/subsystem").arg(portName));
    return subsystem.exists() ? QFileInfo(subsystem.symLinkTarget()).fileName() : QString();
}

serial_port_record to_record(const QSerialPortInfo &info)
{
    serial_port_record record;
    record.portName = info.portName();
    record.physName = info.systemLocation();
    record.friendName = info.description();
    record.enumName = bus_of(info.portName());
    record.vendorID = info.hasVendorIdentifier() ? info.vendorIdentifier() : 0;
    record.productID = info.hasProductIdentifier() ? info.productIdentifier() : 0;
    return record;
}

} // namespace

int list_com_port_names(QStringList &names)
{
    names.clear();
    for (int i = 1; i <= kComPortCount; ++i)
        names.append(QStringLiteral("COM%1").arg(i));
    return names.size();
}

int enumerate_serial_ports(QList<serial_port_record> &ports)
{
    ports.clear();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append(to_record(info));
    return ports.size();
}
