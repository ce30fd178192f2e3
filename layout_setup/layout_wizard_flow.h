#pragma once

#include "layout_setup/layout_wizard_answers.h"

#include <QString>

// The pages of the display layout wizard, by id, and the way through them.
enum layout_wizard_page_id {
    kIntroPage = 0,
    kSelectModelPage = 1,
    kSizePage = 2,
    kFirstConnectionPage = 3,
    kInterConnectionPage = 4,
    kLANTranslateDirectSelectionPage = 5,
    kRS232InterconnectionSelectionPage = 6,
    kIPAddressSelectPage = 7,
    kIDPage = 8,
    kFirstDisplayPage = 9,
    kLayoutDirectionPage = 10,
    kDisplayOrientationPage = 11,
    kSummaryPage = 12,
    kLayoutWizardPageCount = 13,
};

// The page after |page| for these answers; -1 after the summary (Finish)
// and for an unknown page. A single display skips the chaining pages, a
// single row or column the direction page, an RS-232 link the address page.
int layout_wizard_next_id(int page, const layout_wizard_answers &answers);

// Completion of the pages whose rule is their own (the others are always
// complete, the size page as its widget last reported).
bool interconnection_page_complete(const layout_wizard_answers &answers);
bool lan_translate_page_complete(const layout_wizard_answers &answers);
bool rs232_interconnection_page_complete(const layout_wizard_answers &answers);
// The address text is a whole IPv4 address.
bool ip_address_page_complete(const QString &address);
