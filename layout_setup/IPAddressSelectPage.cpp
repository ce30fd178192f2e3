#include "layout_setup/IPAddressSelectPage.h"

#include "layout_setup/KQ_display_layout_ipaddress_select_widget.h"
#include "layout_setup/layout_wizard_entry_rules.h"
#include "layout_setup/layout_wizard_flow.h"

IPAddressSelectPage::IPAddressSelectPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Display IP address"), QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_layout_ipaddress_select_widget))
{
    registerField(QString::fromLatin1(layout_wizard_field_name::connection_ipaddress),
                  m_widget->ui.ip_address_lineEdit);
    connect(m_widget->ui.ip_address_lineEdit, &QLineEdit::textChanged, this, &IPAddressSelectPage::checkIfComplete);
}

void IPAddressSelectPage::initializePage()
{
    const ip_address_page_entry entry = ip_address_page_entry_for(answers());
    m_widget->ui.monitor_lan_search_pushButton->setVisible(entry.searchVisible);
    m_widget->ui.ip_address_label->setText(entry.label);
}

bool IPAddressSelectPage::isComplete() const
{
    return ip_address_page_complete(m_widget->ui.ip_address_lineEdit->text());
}

void IPAddressSelectPage::checkIfComplete()
{
    emit completeChanged();
}
