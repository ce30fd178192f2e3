#pragma once

#include "layout_setup/layout_wizard_answers.h"

#include <QString>

// What each page of the display layout wizard shows when it is entered with
// Next: which choices the model's connectors allow, which are forced, the
// ranges and the texts that depend on earlier answers.

// The interconnection page's choices after entry.
struct interconnection_page_entry
{
    bool rs232DaisyChainEnabled = true; // the choice and its picture
    bool lanDaisyChainEnabled = true;
    bool separateLan = false; // which choice is checked
    bool lanDaisyChain = false;
    bool rs232DaisyChain = false;
};
// A chain the connectors cannot make is disabled, and a checked one is
// replaced by the chain they can; displays with RS-232 in and a single LAN
// port can only sit on the LAN each.
interconnection_page_entry interconnection_page_entry_for(int configurationType, bool separateLan,
                                                          bool lanDaisyChain, bool rs232DaisyChain);

// The interconnection page after a change of its choices: the shared-ID
// check box is offered only with separate LAN links, and the picture beside
// that choice shows one ID or several.
struct interconnection_page_selection
{
    bool sameIdEnabled;
    QString separateLanPicture;
};
interconnection_page_selection interconnection_page_selection_for(bool separateLan, bool sameId);

// The RS-232 interconnection page's choices after entry.
struct rs232_interconnection_page_entry
{
    bool rs232DaisyChainEnabled = true; // the choice and its picture
    bool lanDaisyChainEnabled = true;
    bool rs232DaisyChain = false; // which choice is checked
    bool lanDaisyChain = false;
};
rs232_interconnection_page_entry rs232_interconnection_page_entry_for(int configurationType, bool rs232DaisyChain,
                                                                      bool lanDaisyChain);

struct ip_address_page_entry
{
    bool searchVisible;
    QString label;
};
ip_address_page_entry ip_address_page_entry_for(const layout_wizard_answers &answers);

// The ID page: the range keeps the last of the sequential IDs at 100 or
// below; a single display leaves the sub-title as it was.
struct id_page_entry
{
    int minimum;
    int maximum;
    QString title;
    bool keepSubTitle;
    QString subTitle;
    QString label;
};
id_page_entry id_page_entry_for(const layout_wizard_answers &answers);

// The first display page: corners the wall has, and the sub-title.
struct first_display_page_entry
{
    bool topRightEnabled;
    bool bottomLeftEnabled;
    bool bottomRightEnabled;
    QString subTitle;
};
first_display_page_entry first_display_page_entry_for(const layout_wizard_answers &answers);

// The sub-title of the layout direction page.
QString layout_direction_page_subtitle(const layout_wizard_answers &answers);
