#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_ID_widget;

// The monitor ID of the first display, or the one ID that displays on
// separate LAN links share. Its texts and range follow the earlier answers.
class IDPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit IDPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_ID_widget *idWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override {}

private:
    KQ_display_layout_ID_widget *m_widget;
};
