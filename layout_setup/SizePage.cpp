#include "layout_setup/SizePage.h"

#include "layout_setup/KQ_display_layout_size_widget.h"

SizePage::SizePage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Specify the size of the video wall"),
                         tr("Select the size of the video wall in columns (width in displays) and rows (height in "
                            "displays)."),
                         wizard)
    , m_widget(addContent(new KQ_display_layout_size_widget))
{
    registerField(QString::fromLatin1(layout_wizard_field_name::size_rows), m_widget->ui.rows_spinBox);
    registerField(QString::fromLatin1(layout_wizard_field_name::size_columns), m_widget->ui.columns_spinBox);
    connect(m_widget, &KQ_display_layout_size_widget::size_valid, this, &SizePage::set_size_valid);
    connect(this, &SizePage::check_if_valid, m_widget, &KQ_display_layout_size_widget::check_if_valid);
}

void SizePage::initializePage()
{
    emit check_if_valid();
}

void SizePage::set_size_valid(bool in_valid)
{
    m_valid = in_valid;
    emit completeChanged();
}
