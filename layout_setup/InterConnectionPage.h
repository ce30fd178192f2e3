#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_interconnection_select_widget;

// How the displays are joined to each other when this PC reaches the first
// one over the LAN. Backing out of the page forgets its choices.
class InterConnectionPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit InterConnectionPage(display_layout_wizard_advanced *wizard);

    KQ_display_interconnection_select_widget *interconnectionWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override;
    bool isComplete() const override;

public slots:
    void selection_changed();
    void checkIfComplete();

private:
    KQ_display_interconnection_select_widget *m_widget;
};
