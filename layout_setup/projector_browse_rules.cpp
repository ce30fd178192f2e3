#include "layout_setup/projector_browse_rules.h"

#include "display_protocol/NetworkInterfaceCard.h"

namespace {

constexpr quint32 kHiddenValue = 255;

} // namespace

QList<QHostAddress> search_targets(const NetworkInterfaceCard &cards, int index)
{
    QList<QHostAddress> targets;
    if (index < 0)
        return targets;
    QHostAddress address;
    if (cards.address_at(index, address))
        targets.append(address);
    if (cards.broadcast_at(index, address))
        targets.append(address);
    return targets;
}

search_poll poll_search(bool searching, int &tick_counter)
{
    search_poll poll;
    if (searching && ++tick_counter > search_poll::kTickLimit) {
        poll.stop = true;
        tick_counter = 0;
    }
    poll.show_results = !searching || poll.stop;
    return poll;
}

QList<browse_row> browse_rows(const QList<PJSearchResult> &results, const QStringList &used_addresses,
                              const QStringList &existing_displays)
{
    QList<browse_row> rows;
    for (const PJSearchResult &result : results) {
        if (result.value == kHiddenValue)
            continue;
        browse_row row;
        row.address = result.address.toString();
        row.name = result.name;
        row.address_used = used_addresses.contains(row.address, Qt::CaseInsensitive);
        row.display_exists = !result.mac.isEmpty() && existing_displays.contains(result.mac, Qt::CaseInsensitive);
        rows.append(row);
    }
    return rows;
}
