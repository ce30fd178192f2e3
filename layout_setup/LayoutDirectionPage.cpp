#include "layout_setup/LayoutDirectionPage.h"

#include "layout_setup/KQ_display_layout_direction_widget.h"
#include "layout_setup/layout_wizard_entry_rules.h"

LayoutDirectionPage::LayoutDirectionPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select the order in which the display IDs or IP addresses are arranged"),
                         QStringLiteral(" "), wizard)
    , m_widget(addContent(new KQ_display_layout_direction_widget))
{
    namespace f = layout_wizard_field_name;
    registerField(QString::fromLatin1(f::direction_clockwise), m_widget->ui.clockwise_radioButton);
    registerField(QString::fromLatin1(f::direction_zigzag), m_widget->ui.zigzag_radioButton);
    // Every cell carries its number.
    m_widget->setLimitSizeForText(true);
}

void LayoutDirectionPage::initializePage()
{
    const layout_wizard_answers a = answers();
    setSubTitle(layout_direction_page_subtitle(a));
    m_widget->setArraySize(a.size_rows, a.size_columns);
    m_widget->setStartingCorner(a.start_corner());
}
