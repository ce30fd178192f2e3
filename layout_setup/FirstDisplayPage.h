#pragma once

#include "layout_setup/layout_wizard_page.h"

class QRadioButton;

// The corner of the first display (the lowest ID or address, or the start
// of a LAN daisy chain). Corners the wall does not have are disabled.
class FirstDisplayPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit FirstDisplayPage(display_layout_wizard_advanced *wizard);

    void initializePage() override;
    void cleanupPage() override {}

private:
    QRadioButton *m_topLeft;
    QRadioButton *m_topRight;
    QRadioButton *m_bottomLeft;
    QRadioButton *m_bottomRight;
};
