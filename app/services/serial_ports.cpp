#include "app/services/serial_ports.h"

#include "display_protocol/serial_port_path.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <sys/stat.h>

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

serial_port_record named_device_record(const QString &name, const QString &path)
{
    serial_port_record record;
    record.portName = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    record.physName = path;
    record.friendName = name;
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

bool is_character_device(const QString &path)
{
    struct stat status;
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

bool com_port_present(const QString &name, const QList<serial_port_record> &ports)
{
    const QString path = serial_port_path(name);
    if (path.isEmpty())
        return false;
    for (const serial_port_record &port : ports) {
        if (port.physName == path)
            return true;
    }
    return !serial_port_override_path(name).isEmpty() && is_character_device(path);
}

QList<serial_port_record> named_serial_devices()
{
    QList<serial_port_record> devices;
    QStringList names;
    list_com_port_names(names);
    for (const QString &name : names) {
        const QString path = serial_port_override_path(name);
        if (is_character_device(path))
            devices.append(named_device_record(name, path));
    }
    return devices;
}
