#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_RS232_interconnection_selection_widget;

// How the displays behind an RS-232 link are joined: an RS-232 or a LAN
// daisy chain. Backing out of the page forgets the choice.
class RS232InterconnectionSelectionPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit RS232InterconnectionSelectionPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_RS232_interconnection_selection_widget *interconnectionWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override;
    bool isComplete() const override;

public slots:
    void selection_changed();

private:
    KQ_display_layout_RS232_interconnection_selection_widget *m_widget;
};
