#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_direction_widget;

// The direction and line order in which IDs or addresses are handed out,
// drawn on the wall from the chosen corner.
class LayoutDirectionPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit LayoutDirectionPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_direction_widget *directionWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override {}

private:
    KQ_display_layout_direction_widget *m_widget;
};
