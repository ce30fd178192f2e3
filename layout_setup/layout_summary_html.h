#pragma once

#include "app/controller/display_layout_item.h"
#include "layout_setup/layout_wizard_answers.h"

#include <QList>
#include <QString>

// The last line of a printed summary: who made it, and when.
struct layout_summary_footer
{
    QString application_name;
    QString version; // the version text
    QString date;    // the local date and time, as the locale writes it
};

// The layout summary as HTML: the wall's physical layout with each
// display's number and monitor ID, the settings to make on each display,
// the cables to connect and to buy, and connectivity troubleshooting steps.
// |items| is the builder's list for |answers| (numbered 1, 2, ... in list
// order); the footer is added only when one is given (print-outs).
QString layout_summary_html(const layout_wizard_answers &answers, const QList<display_layout_item> &items,
                            const layout_summary_footer *footer = nullptr);
