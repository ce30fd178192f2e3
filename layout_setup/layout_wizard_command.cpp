#include "layout_setup/layout_wizard_command.h"

#include "app/controller/layout_manager.h"
#include "layout_setup/display_layout_wizard_advanced.h"
#include "layout_setup/layout_wizard_builder.h"

int run_layout_wizard(layout_manager &layout, QWidget *parent)
{
    namespace f = layout_wizard_field_name;
    display_layout_wizard_advanced wizard(parent);
    int columns = 0;
    int rows = 0;
    layout.get_size(columns, rows);
    wizard.setField(QString::fromLatin1(f::size_rows), rows);
    wizard.setField(QString::fromLatin1(f::size_columns), columns);
    wizard.setField(QString::fromLatin1(f::id_first), layout.get_lowest_monitor_id());
    const int result = wizard.exec();
    if (result == QDialog::Accepted)
        create_layout_from_answers(layout, wizard.answers());
    return result;
}
