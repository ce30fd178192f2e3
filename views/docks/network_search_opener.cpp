#include "views/docks/network_search_opener.h"

namespace {

network_search_opener &installed_opener()
{
    static network_search_opener opener;
    return opener;
}

} // namespace

void set_network_search_opener(network_search_opener opener)
{
    installed_opener() = std::move(opener);
}

bool open_network_search(QWidget *parent, const network_search_request &request, QString &chosen)
{
    const network_search_opener &opener = installed_opener();
    return opener && opener(parent, request, chosen);
}
