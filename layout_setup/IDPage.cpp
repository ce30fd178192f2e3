#include "layout_setup/IDPage.h"

#include "layout_setup/KQ_display_layout_ID_widget.h"
#include "layout_setup/layout_wizard_entry_rules.h"

IDPage::IDPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(QStringLiteral(" "), QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_layout_ID_widget))
{
    registerField(QString::fromLatin1(layout_wizard_field_name::id_first), m_widget->ui.starting_id_spinBox);
}

void IDPage::initializePage()
{
    const id_page_entry entry = id_page_entry_for(answers());
    m_widget->ui.starting_id_spinBox->setRange(entry.minimum, entry.maximum);
    setTitle(entry.title);
    if (!entry.keepSubTitle)
        setSubTitle(entry.subTitle);
    m_widget->ui.label->setText(entry.label);
}
