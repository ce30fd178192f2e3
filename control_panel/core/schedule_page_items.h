#pragma once

#include "control_panel/core/control_row.h"

#include <QList>
#include <QString>

// The items of the schedule, holiday and weekend pages' combo boxes, by the
// combo box's object name, in the order the dialog adds them.
namespace schedule_page_items {

struct combo_items
{
    QString combo;
    QList<control_item> items;
};

// Built on first use, after the application's translators are installed.
const QList<combo_items> &all();

} // namespace schedule_page_items
