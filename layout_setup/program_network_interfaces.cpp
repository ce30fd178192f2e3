#include "layout_setup/program_network_interfaces.h"

#include "display_protocol/NetworkInterfaceCard.h"

namespace {

NetworkInterfaceCard *g_cards = nullptr;

} // namespace

NetworkInterfaceCard &program_network_interfaces()
{
    if (g_cards)
        return *g_cards;
    static NetworkInterfaceCard stand_in;
    return stand_in;
}

void set_program_network_interfaces(NetworkInterfaceCard *cards)
{
    g_cards = cards;
}
