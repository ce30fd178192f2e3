#pragma once

#include "layout_setup/layout_wizard_page.h"

// Whether the displays hang in landscape or portrait; the displays' menus
// and other orientation dependent features follow it.
class DisplayOrientationPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit DisplayOrientationPage(display_layout_wizard_advanced *wizard);

    void cleanupPage() override {}
};
