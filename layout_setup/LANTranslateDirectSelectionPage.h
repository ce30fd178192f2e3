#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_LAN_translate_direct_selection_widget;

// Whether commands reach each display of a LAN daisy chain directly or
// through the first display. Backing out of the page forgets the choice.
class LANTranslateDirectSelectionPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit LANTranslateDirectSelectionPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_LAN_translate_direct_selection_widget *translateWidget() const { return m_widget; }

    void cleanupPage() override;
    bool isComplete() const override;

public slots:
    void selection_changed();

private:
    KQ_display_layout_LAN_translate_direct_selection_widget *m_widget;
};
