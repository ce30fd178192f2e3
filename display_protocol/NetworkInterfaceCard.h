#pragma once

#include <QHostAddress>
#include <QList>
#include <QNetworkAddressEntry>
#include <QObject>
#include <QString>

#include <functional>

// One usable IPv4 address of one of the PC's network interfaces.
struct network_interface_entry
{
    QString name;   // the interface's human-readable name
    QHostAddress ip;
    QHostAddress netmask;
    QHostAddress broadcast;
};

// An interface as the system reports it, reduced to what the filter reads,
// so that the filter can be fed made-up interfaces.
struct network_interface_source
{
    QString name;   // human-readable
    bool valid = false;
    QList<QNetworkAddressEntry> addresses;
};

// The entries of |interfaces| from which a search can be run, in order: each
// IPv4 address (not 127.0.0.1) with a netmask, of a valid interface that has
// a name.
QList<network_interface_entry> usable_interface_entries(const QList<network_interface_source> &interfaces);

// With this environment variable set to 1, a loopback entry follows the
// usable interfaces, so that a search can find simulated displays.
constexpr char kSearchLoopbackVariable[] = "TESSALINE_SEARCH_LOOPBACK";

// The entry that searches the loopback network: own address 127.0.0.1,
// broadcast 127.255.255.255.
network_interface_entry loopback_interface_entry();

// The PC's usable IPv4 network interfaces, for picking the one to search from.
class NetworkInterfaceCard : public QObject
{
    Q_OBJECT

public:
    using interface_source = std::function<QList<network_interface_source>()>;

    explicit NetworkInterfaceCard(QObject *parent = nullptr);

    // Where enumerate() takes the interfaces from; an empty source is the
    // system's. Does not enumerate.
    void set_source(interface_source source);

    int count() const;
    // false, leaving the argument alone, when |i| is out of range.
    bool name_at(int i, QString &name) const;
    bool address_at(int i, QHostAddress &address) const;
    bool broadcast_at(int i, QHostAddress &address) const;

    // Rebuilds the list from |interfaces| instead of the system's.
    void enumerate_from(const QList<network_interface_source> &interfaces);

public slots:
    void enumerate();

private:
    template <typename T>
    bool field_at(int i, T network_interface_entry::*field, T &out) const;

    interface_source m_source;
    QList<network_interface_entry> m_entries;
};
