#include "layout_setup/LANTranslateDirectSelectionPage.h"

#include "layout_setup/KQ_display_layout_LAN_translate_direct_selection_widget.h"
#include "layout_setup/layout_wizard_flow.h"

LANTranslateDirectSelectionPage::LANTranslateDirectSelectionPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select how commands are sent to displays in the LAN daisy chain"), QStringLiteral(" "),
                         wizard)
    , m_widget(addContent(new KQ_display_layout_LAN_translate_direct_selection_widget))
{
    namespace f = layout_wizard_field_name;
    registerField(QString::fromLatin1(f::translate_direct), m_widget->ui.translate_direct_radioButton);
    registerField(QString::fromLatin1(f::translate_translate), m_widget->ui.translate_translate_radioButton);
    for (QRadioButton *choice : {m_widget->ui.translate_direct_radioButton, m_widget->ui.translate_translate_radioButton})
        connect(choice, &QRadioButton::clicked, this, &LANTranslateDirectSelectionPage::selection_changed);
}

void LANTranslateDirectSelectionPage::cleanupPage()
{
    resetFieldsToStart({m_widget->ui.translate_direct_radioButton, m_widget->ui.translate_translate_radioButton});
}

bool LANTranslateDirectSelectionPage::isComplete() const
{
    // The page's own choices: the framework asks while the wizard is still
    // being built.
    layout_wizard_answers choices;
    choices.translate_direct = m_widget->ui.translate_direct_radioButton->isChecked();
    choices.translate_translate = m_widget->ui.translate_translate_radioButton->isChecked();
    return lan_translate_page_complete(choices);
}

void LANTranslateDirectSelectionPage::selection_changed()
{
    emit completeChanged();
}
