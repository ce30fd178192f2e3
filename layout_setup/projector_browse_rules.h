#pragma once

#include "display_protocol/PJSearchUdp.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

class NetworkInterfaceCard;

// What the network search dialog decides without a widget: where a search
// goes, when the dialog stops one, and how the answers are listed.

// The search's address list for interface |index|: its own address, then its
// broadcast address, each only when the card has it (empty for -1).
QList<QHostAddress> search_targets(const NetworkInterfaceCard &cards, int index);

// One poll of a search. |tick_counter| counts the polls that found the search
// still running, over every search of the program run: it is not cleared
// when a search starts or ends by itself, only when the dialog stops one.
struct search_poll
{
    static constexpr int kTickLimit = 10;

    bool stop = false;          // stop the search now
    bool show_results = false;  // the search has ended: list its results
};
search_poll poll_search(bool searching, int &tick_counter);

// One row of the result table.
struct browse_row
{
    QString address;
    QString name;
    bool address_used = false;  // the layout already uses the address
    bool display_exists = false; // the layout already holds the display (by MAC address)
};

// The rows for |results|, in their order, leaving out the answers whose
// value is 255. Addresses and MAC address texts match without regard to
// letter case; an empty MAC address text never matches.
QList<browse_row> browse_rows(const QList<PJSearchResult> &results, const QStringList &used_addresses,
                              const QStringList &existing_displays);
