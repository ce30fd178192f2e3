#include "layout_setup/FirstConnectionPage.h"

#include "layout_setup/KQ_display_layout_connection_widget.h"

FirstConnectionPage::FirstConnectionPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select how this PC connects to the first display"), QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_layout_connection_widget))
{
    registerField(QString::fromLatin1(layout_wizard_field_name::connection_rs232), m_widget->ui.rs232_radioButton);
    registerField(QString::fromLatin1(layout_wizard_field_name::connection_comport), m_widget->ui.com_port_comboBox);
    // The fixed list of port names is never empty; a list without ports
    // would leave nothing to choose.
    if (m_widget->ui.com_port_comboBox->count() == 0)
        m_widget->ui.rs232_radioButton->setEnabled(false);
    connect(m_widget->ui.rs232_radioButton, &QRadioButton::toggled, this, &FirstConnectionPage::checkIfComplete);
}

void FirstConnectionPage::initializePage()
{
    const layout_wizard_answers a = answers();
    m_widget->SetModelConfigurationType(a.model_configuration_type, a.display_count());
}

void FirstConnectionPage::checkIfComplete()
{
    emit completeChanged();
}
