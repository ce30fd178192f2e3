#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_size_widget;

// The wall's size in columns and rows; complete while the size widget last
// reported a valid size.
class SizePage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit SizePage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_size_widget *sizeWidget() const { return m_widget; }

    void initializePage() override;
    void cleanupPage() override {}
    bool isComplete() const override { return m_valid; }

public slots:
    void set_size_valid(bool in_valid);

signals:
    void check_if_valid();

private:
    KQ_display_layout_size_widget *m_widget;
    bool m_valid = false;
};
