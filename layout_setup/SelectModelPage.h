#pragma once

#include "layout_setup/layout_wizard_page.h"

class KQ_display_layout_select_model_widget;

// The display model or connector configuration; it decides which connection
// choices the later pages offer. The choices go to the wizard, not to fields.
class SelectModelPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit SelectModelPage(display_layout_wizard_advanced *wizard);

    KQ_display_layout_select_model_widget *modelWidget() const { return m_widget; }

public slots:
    void selected_model_type(int value);
    void SetSelectedModelName(QString name);

private:
    KQ_display_layout_select_model_widget *m_widget;
};
