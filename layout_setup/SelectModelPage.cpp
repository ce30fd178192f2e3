#include "layout_setup/SelectModelPage.h"

#include "layout_setup/KQ_display_layout_select_model_widget.h"
#include "layout_setup/display_layout_wizard_advanced.h"

SelectModelPage::SelectModelPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select display model or connection configuration"),
                         tr("This determines the different connection configurations that will be available."),
                         wizard)
    , m_widget(addContent(new KQ_display_layout_select_model_widget))
{
    connect(m_widget, &KQ_display_layout_select_model_widget::selected_model_type, this,
            &SelectModelPage::selected_model_type);
    connect(m_widget, &KQ_display_layout_select_model_widget::selected_model_name, this,
            &SelectModelPage::SetSelectedModelName);
}

void SelectModelPage::selected_model_type(int value)
{
    layoutWizard()->SetModelConfigurationType(value);
}

void SelectModelPage::SetSelectedModelName(QString name)
{
    layoutWizard()->SetSelectedModelName(name);
}
