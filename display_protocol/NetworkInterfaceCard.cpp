#include "display_protocol/NetworkInterfaceCard.h"

#include <QNetworkInterface>
#include <QtGlobal>

namespace {

bool is_usable(const QString &name, const QNetworkAddressEntry &address)
{
    return address.ip().toIPv4Address() != 0 && address.ip() != QHostAddress(QHostAddress::LocalHost)
           && address.netmask().toIPv4Address() != 0 && !name.isEmpty();
}

QList<network_interface_source> system_interfaces()
{
    QList<network_interface_source> sources;
    for (const QNetworkInterface &card : QNetworkInterface::allInterfaces())
        sources.append(network_interface_source {card.humanReadableName(), card.isValid(), card.addressEntries()});
    return sources;
}

bool loopback_search_requested()
{
    return qEnvironmentVariableIntValue(kSearchLoopbackVariable) == 1;
}

} // namespace

network_interface_entry loopback_interface_entry()
{
    return {QStringLiteral("Loopback"), QHostAddress(QHostAddress::LocalHost), QHostAddress(QStringLiteral("255.0.0.0")),
            QHostAddress(QStringLiteral("127.255.255.255"))};
}

QList<network_interface_entry> usable_interface_entries(const QList<network_interface_source> &interfaces)
{
    QList<network_interface_entry> entries;
    for (const network_interface_source &card : interfaces) {
        if (!card.valid)
            continue;
        for (const QNetworkAddressEntry &address : card.addresses) {
            if (is_usable(card.name, address))
                entries.append(network_interface_entry {card.name, address.ip(), address.netmask(), address.broadcast()});
        }
    }
    return entries;
}

NetworkInterfaceCard::NetworkInterfaceCard(QObject *parent) : QObject(parent)
{
    enumerate();
}

void NetworkInterfaceCard::set_source(interface_source source)
{
    m_source = std::move(source);
}

int NetworkInterfaceCard::count() const
{
    return m_entries.size();
}

template <typename T>
bool NetworkInterfaceCard::field_at(int i, T network_interface_entry::*field, T &out) const
{
    if (i < 0 || i >= m_entries.size())
        return false;
    out = m_entries.at(i).*field;
    return true;
}

bool NetworkInterfaceCard::name_at(int i, QString &name) const
{
    return field_at(i, &network_interface_entry::name, name);
}

bool NetworkInterfaceCard::address_at(int i, QHostAddress &address) const
{
    return field_at(i, &network_interface_entry::ip, address);
}

bool NetworkInterfaceCard::broadcast_at(int i, QHostAddress &address) const
{
    return field_at(i, &network_interface_entry::broadcast, address);
}

void NetworkInterfaceCard::enumerate_from(const QList<network_interface_source> &interfaces)
{
    m_entries = usable_interface_entries(interfaces);
    if (loopback_search_requested())
        m_entries.append(loopback_interface_entry());
}

void NetworkInterfaceCard::enumerate()
{
    enumerate_from(m_source ? m_source() : system_interfaces());
}
