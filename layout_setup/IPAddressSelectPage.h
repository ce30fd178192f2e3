#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_ipaddress_select_widget;

// The IP address of the first display (or the lowest of several); complete
// once it is a whole address.
class IPAddressSelectPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit IPAddressSelectPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_ipaddress_select_widget *addressWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override {}
    bool isComplete() const override;

public slots:
    void checkIfComplete();

private:
    KQ_display_layout_ipaddress_select_widget *m_widget;
};
