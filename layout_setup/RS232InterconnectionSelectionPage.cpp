#include "layout_setup/RS232InterconnectionSelectionPage.h"

#include "layout_setup/KQ_display_layout_RS232_interconnection_selection_widget.h"
#include "layout_setup/layout_wizard_entry_rules.h"
#include "layout_setup/layout_wizard_flow.h"

RS232InterconnectionSelectionPage::RS232InterconnectionSelectionPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select how the displays are connected to each other"), QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_layout_RS232_interconnection_selection_widget))
{
    namespace f = layout_wizard_field_name;
    Ui::KQ_display_layout_RS232_interconnection_selection_widgetClass &ui = m_widget->ui;
    registerField(QString::fromLatin1(f::rs232interconnection_rs232_daisychain),
                  ui.rs232_intereconnect_via_RS232_daisychain_radioButton);
    registerField(QString::fromLatin1(f::rs232interconnection_lan_daisychain),
                  ui.rs232_intereconnect_via_LAN_daisychain_radioButton);
    for (QRadioButton *choice :
         {ui.rs232_intereconnect_via_RS232_daisychain_radioButton, ui.rs232_intereconnect_via_LAN_daisychain_radioButton})
        connect(choice, &QRadioButton::clicked, this, &RS232InterconnectionSelectionPage::selection_changed);
    emit completeChanged();
}

void RS232InterconnectionSelectionPage::initializePage()
{
    Ui::KQ_display_layout_RS232_interconnection_selection_widgetClass &ui = m_widget->ui;
    const rs232_interconnection_page_entry entry = rs232_interconnection_page_entry_for(
        answers().model_configuration_type, ui.rs232_intereconnect_via_RS232_daisychain_radioButton->isChecked(),
        ui.rs232_intereconnect_via_LAN_daisychain_radioButton->isChecked());
    ui.rs232_intereconnect_via_RS232_daisychain_radioButton->setEnabled(entry.rs232DaisyChainEnabled);
    ui.intereconnect_via_RS232_daisychain_label->setEnabled(entry.rs232DaisyChainEnabled);
    ui.rs232_intereconnect_via_LAN_daisychain_radioButton->setEnabled(entry.lanDaisyChainEnabled);
    ui.intereconnect_via_LAN_daisychain_label->setEnabled(entry.lanDaisyChainEnabled);
    if (entry.rs232DaisyChain)
        ui.rs232_intereconnect_via_RS232_daisychain_radioButton->setChecked(true);
    if (entry.lanDaisyChain)
        ui.rs232_intereconnect_via_LAN_daisychain_radioButton->setChecked(true);
    emit completeChanged();
}

void RS232InterconnectionSelectionPage::cleanupPage()
{
    resetFieldsToStart({m_widget->ui.rs232_intereconnect_via_RS232_daisychain_radioButton,
                        m_widget->ui.rs232_intereconnect_via_LAN_daisychain_radioButton});
}

bool RS232InterconnectionSelectionPage::isComplete() const
{
    // The page's own choices: the framework asks while the wizard is still
    // being built.
    const Ui::KQ_display_layout_RS232_interconnection_selection_widgetClass &ui = m_widget->ui;
    layout_wizard_answers choices;
    choices.rs232interconnection_rs232_daisychain = ui.rs232_intereconnect_via_RS232_daisychain_radioButton->isChecked();
    choices.rs232interconnection_lan_daisychain = ui.rs232_intereconnect_via_LAN_daisychain_radioButton->isChecked();
    return rs232_interconnection_page_complete(choices);
}

void RS232InterconnectionSelectionPage::selection_changed()
{
    emit completeChanged();
}
