#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The Connection dock's "Search..." reaches the network search dialog
// through this hook, which the application installs; views do not depend on
// the wall layout set-up's dialogs. Without an opener the search does nothing.
struct network_search_request
{
    int mode = 2;                    // large-screen displays
    QStringList used_addresses;      // marked as already used in the layout
    QStringList existing_displays;   // MAC address texts of the wall's displays
};

// Runs the search modally over |parent|; true with |chosen| set when the
// operator accepted an address.
using network_search_opener =
    std::function<bool(QWidget *parent, const network_search_request &request, QString &chosen)>;

// Replaces the installed opener; an empty one removes it.
void set_network_search_opener(network_search_opener opener);

// False without an opener or when the operator cancelled.
bool open_network_search(QWidget *parent, const network_search_request &request, QString &chosen);
