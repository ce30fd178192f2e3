#include "layout_setup/InterConnectionPage.h"

#include "layout_setup/KQ_display_interconnection_select_widget.h"
#include "layout_setup/layout_wizard_entry_rules.h"
#include "layout_setup/layout_wizard_flow.h"

#include <QPixmap>

InterConnectionPage::InterConnectionPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select how the displays are connected to each other"), QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_interconnection_select_widget))
{
    namespace f = layout_wizard_field_name;
    Ui::KQ_display_interconnection_select_widgetClass &ui = m_widget->ui;
    registerField(QString::fromLatin1(f::interconnection_separate_lan), ui.intereconnect_via_separate_LAN_radioButton);
    registerField(QString::fromLatin1(f::interconnection_lan_daisychain), ui.intereconnect_via_LAN_daisychain_radioButton);
    registerField(QString::fromLatin1(f::interconnection_rs232_daisychain),
                  ui.intereconnect_via_RS232_daisychain_radioButton);
    registerField(QString::fromLatin1(f::interconnection_all_LAN_have_same_ID),
                  ui.intereconnect_via_all_LAN_have_same_ID_checkBox);
    for (QRadioButton *choice : {ui.intereconnect_via_separate_LAN_radioButton,
                                 ui.intereconnect_via_LAN_daisychain_radioButton,
                                 ui.intereconnect_via_RS232_daisychain_radioButton})
        connect(choice, &QRadioButton::clicked, this, &InterConnectionPage::selection_changed);
    connect(ui.intereconnect_via_all_LAN_have_same_ID_checkBox, &QCheckBox::stateChanged, this,
            &InterConnectionPage::selection_changed);
    selection_changed();
}

void InterConnectionPage::initializePage()
{
    Ui::KQ_display_interconnection_select_widgetClass &ui = m_widget->ui;
    const interconnection_page_entry entry = interconnection_page_entry_for(
        answers().model_configuration_type, ui.intereconnect_via_separate_LAN_radioButton->isChecked(),
        ui.intereconnect_via_LAN_daisychain_radioButton->isChecked(),
        ui.intereconnect_via_RS232_daisychain_radioButton->isChecked());
    ui.intereconnect_via_RS232_daisychain_radioButton->setEnabled(entry.rs232DaisyChainEnabled);
    ui.intereconnect_via_RS232_daisychain_label->setEnabled(entry.rs232DaisyChainEnabled);
    ui.intereconnect_via_LAN_daisychain_radioButton->setEnabled(entry.lanDaisyChainEnabled);
    ui.intereconnect_via_LAN_daisychain_label->setEnabled(entry.lanDaisyChainEnabled);
    // Checking one choice of the group unchecks the others.
    if (entry.separateLan)
        ui.intereconnect_via_separate_LAN_radioButton->setChecked(true);
    if (entry.lanDaisyChain)
        ui.intereconnect_via_LAN_daisychain_radioButton->setChecked(true);
    if (entry.rs232DaisyChain)
        ui.intereconnect_via_RS232_daisychain_radioButton->setChecked(true);
    selection_changed();
}

void InterConnectionPage::cleanupPage()
{
    Ui::KQ_display_interconnection_select_widgetClass &ui = m_widget->ui;
    resetFieldsToStart({ui.intereconnect_via_separate_LAN_radioButton, ui.intereconnect_via_LAN_daisychain_radioButton,
                        ui.intereconnect_via_RS232_daisychain_radioButton});
    selection_changed();
}

bool InterConnectionPage::isComplete() const
{
    // The page's own choices: the framework asks while the wizard is still
    // being built.
    const Ui::KQ_display_interconnection_select_widgetClass &ui = m_widget->ui;
    layout_wizard_answers choices;
    choices.interconnection_separate_lan = ui.intereconnect_via_separate_LAN_radioButton->isChecked();
    choices.interconnection_lan_daisychain = ui.intereconnect_via_LAN_daisychain_radioButton->isChecked();
    choices.interconnection_rs232_daisychain = ui.intereconnect_via_RS232_daisychain_radioButton->isChecked();
    return interconnection_page_complete(choices);
}

void InterConnectionPage::selection_changed()
{
    Ui::KQ_display_interconnection_select_widgetClass &ui = m_widget->ui;
    const interconnection_page_selection selection =
        interconnection_page_selection_for(ui.intereconnect_via_separate_LAN_radioButton->isChecked(),
                                           ui.intereconnect_via_all_LAN_have_same_ID_checkBox->isChecked());
    ui.intereconnect_via_all_LAN_have_same_ID_checkBox->setEnabled(selection.sameIdEnabled);
    ui.intereconnect_via_separate_LAN_label->setPixmap(QPixmap(selection.separateLanPicture));
    emit completeChanged();
}

void InterConnectionPage::checkIfComplete()
{
    emit completeChanged();
}
