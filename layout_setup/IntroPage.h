#pragma once

#include "layout_setup/layout_wizard_page.h"

// What the wizard does and where the calibration order is set later.
class IntroPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit IntroPage(display_layout_wizard_advanced *wizard);
};
