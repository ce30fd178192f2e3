#include "layout_setup/layout_wizard_entry_rules.h"

#include "layout_setup/model_configuration_type.h"

#include <QCoreApplication>

namespace {

constexpr int kHighestMonitorId = 100;

QString tr(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

// A LAN daisy chain reached over the LAN: its cabling, not the IDs, decides
// the order.
bool lan_chain_from_lan(const layout_wizard_answers &a)
{
    return a.interconnection_lan_daisychain && !a.connection_rs232;
}

} // namespace

interconnection_page_entry interconnection_page_entry_for(int type, bool separateLan, bool lanDaisyChain,
                                                          bool rs232DaisyChain)
{
    interconnection_page_entry entry;
    entry.separateLan = separateLan;
    entry.lanDaisyChain = lanDaisyChain;
    entry.rs232DaisyChain = rs232DaisyChain;
    switch (type) {
    case MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN:
        entry.lanDaisyChainEnabled = false;
        if (entry.lanDaisyChain) {
            entry.lanDaisyChain = false;
            entry.rs232DaisyChain = true;
        }
        break;
    case MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232:
        entry.rs232DaisyChainEnabled = false;
        if (entry.rs232DaisyChain) {
            entry.rs232DaisyChain = false;
            entry.lanDaisyChain = true;
        }
        break;
    case MODEL_CONFIGURATION_TYPE_RS232_IN_LAN:
        entry.lanDaisyChainEnabled = false;
        entry.rs232DaisyChainEnabled = false;
        entry.separateLan = true;
        entry.lanDaisyChain = false;
        entry.rs232DaisyChain = false;
        break;
    default:
        break;
    }
    return entry;
}

interconnection_page_selection interconnection_page_selection_for(bool separateLan, bool sameId)
{
    return {separateLan, sameId ? QStringLiteral(":/images/Resources/display conneciton diagram 03.png")
                                : QStringLiteral(":/images/Resources/display conneciton diagram 02.png")};
}

rs232_interconnection_page_entry rs232_interconnection_page_entry_for(int type, bool rs232DaisyChain,
                                                                      bool lanDaisyChain)
{
    rs232_interconnection_page_entry entry;
    entry.rs232DaisyChain = rs232DaisyChain;
    entry.lanDaisyChain = lanDaisyChain;
    switch (type) {
    case MODEL_CONFIGURATION_TYPE_RS232_IN_OUT:
    case MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN:
        entry.lanDaisyChainEnabled = false;
        entry.rs232DaisyChain = true;
        entry.lanDaisyChain = false;
        break;
    case MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232:
        entry.rs232DaisyChainEnabled = false;
        entry.lanDaisyChain = true;
        entry.rs232DaisyChain = false;
        break;
    default:
        break;
    }
    return entry;
}

ip_address_page_entry ip_address_page_entry_for(const layout_wizard_answers &a)
{
    const char *context = "IPAddressSelectPage";
    const int type = a.model_configuration_type;
    ip_address_page_entry entry;
    entry.searchVisible = type == MODEL_CONFIGURATION_TYPE_ALL || type == MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232
                          || type == MODEL_CONFIGURATION_TYPE_RS232_IN_LAN;
    if (a.display_count() == 1)
        entry.label = tr(context, "Enter the IP address of the display connected to the LAN.");
    else if (a.interconnection_separate_lan)
        entry.label = tr(context, "Enter the lowest IP address of the displays connected to the LAN. Sequential IP "
                                  "addresses will be assigned.");
    else if (a.interconnection_lan_daisychain && a.translate_direct)
        entry.label = tr(context, "Enter the IP address of the first display in the LAN daisy chain. Sequential IP "
                                  "addresses will be assigned.");
    else if (a.interconnection_lan_daisychain)
        entry.label = tr(context, "Enter the IP address of the first display in the LAN daisy chain.");
    else
        entry.label = tr(context, "Enter the IP address of the display connected to the LAN.");
    return entry;
}

id_page_entry id_page_entry_for(const layout_wizard_answers &a)
{
    const char *context = "IDPage";
    const int n = a.display_count();
    id_page_entry entry;
    entry.minimum = 1;
    entry.maximum = a.lan_displays_share_id() ? kHighestMonitorId : kHighestMonitorId + 1 - n;
    entry.keepSubTitle = false;
    if (n == 1) {
        entry.title = tr(context, "Enter the ID of the display.");
        entry.keepSubTitle = true;
        entry.label = tr(context, "Display ID");
    } else if (a.lan_displays_share_id()) {
        entry.title = tr(context, "Specify the ID used for all displays connected by LAN");
        entry.subTitle = tr(context, "The default ID is 1. Settings for individual displays can be modified later.");
        entry.label = tr(context, "ID for all displays");
    } else {
        entry.title = tr(context, "Specify the lowest ID in the video wall");
        entry.subTitle = tr(context, "IDs will be assigned sequentially for each display in the project.");
        entry.label = tr(context, "Starting ID");
    }
    return entry;
}

first_display_page_entry first_display_page_entry_for(const layout_wizard_answers &a)
{
    const char *context = "FirstDisplayPage";
    first_display_page_entry entry;
    entry.topRightEnabled = a.size_columns > 1;
    entry.bottomLeftEnabled = a.size_rows > 1;
    entry.bottomRightEnabled = a.size_columns >= 2 && a.size_rows >= 2;
    entry.subTitle = lan_chain_from_lan(a)
                         ? tr(context, "Select the location of the first display in the LAN daisy chain in the "
                                       "video wall.")
                         : tr(context, "Select the location of the display with the lowest ID or IP address in the "
                                       "video wall.");
    return entry;
}

QString layout_direction_page_subtitle(const layout_wizard_answers &a)
{
    const char *context = "LayoutDirectionPage";
    return lan_chain_from_lan(a) ? tr(context, "When using LAN daisy chains and the Auto ID function, the order of the "
                                               "physical cable connections determines the order of Monitor IDs.")
                                 : tr(context, "The physical cable connections between displays do not have to follow "
                                               "this order");
}
