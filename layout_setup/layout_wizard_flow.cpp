#include "layout_setup/layout_wizard_flow.h"

#include "layout_setup/IP4Validator.h"

int layout_wizard_next_id(int page, const layout_wizard_answers &a)
{
    const bool single = a.display_count() == 1;
    switch (page) {
    case kIntroPage:
        return kSelectModelPage;
    case kSelectModelPage:
        return kSizePage;
    case kSizePage:
        return kFirstConnectionPage;
    case kFirstConnectionPage:
        if (single)
            return a.connection_rs232 ? kIDPage : kIPAddressSelectPage;
        return a.connection_rs232 ? kRS232InterconnectionSelectionPage : kInterConnectionPage;
    case kInterConnectionPage:
        return a.interconnection_lan_daisychain ? kLANTranslateDirectSelectionPage : kIPAddressSelectPage;
    case kLANTranslateDirectSelectionPage:
        return kIPAddressSelectPage;
    case kRS232InterconnectionSelectionPage:
        return a.rs232interconnection_lan_daisychain ? kFirstDisplayPage : kIDPage;
    case kIPAddressSelectPage:
        return kIDPage;
    case kIDPage:
        return single ? kDisplayOrientationPage : kFirstDisplayPage;
    case kFirstDisplayPage:
        return a.size_rows < 2 || a.size_columns < 2 ? kDisplayOrientationPage : kLayoutDirectionPage;
    case kLayoutDirectionPage:
        return kDisplayOrientationPage;
    case kDisplayOrientationPage:
        return kSummaryPage;
    default:
        return -1;
    }
}

bool interconnection_page_complete(const layout_wizard_answers &a)
{
    return a.interconnection_separate_lan || a.interconnection_lan_daisychain || a.interconnection_rs232_daisychain;
}

bool lan_translate_page_complete(const layout_wizard_answers &a)
{
    return a.translate_direct || a.translate_translate;
}

bool rs232_interconnection_page_complete(const layout_wizard_answers &a)
{
    return a.rs232interconnection_rs232_daisychain || a.rs232interconnection_lan_daisychain;
}

bool ip_address_page_complete(const QString &address)
{
    QString text = address;
    int position = 0;
    return IP4Validator().validate(text, position) == QValidator::Acceptable;
}
