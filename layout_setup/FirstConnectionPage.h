#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_connection_widget;

// How this PC reaches the first display: LAN, or RS-232 on a COM port.
class FirstConnectionPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit FirstConnectionPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_connection_widget *connectionWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override {}

public slots:
    void checkIfComplete();

private:
    KQ_display_layout_connection_widget *m_widget;
};
