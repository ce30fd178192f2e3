#pragma once

#include "jobs/job_list_item.h"

#include <QList>
#include <QPair>
#include <QString>

class layout_manager;
struct display_layout_item;

// One set of display jobs as the user interface starts them: a template, the
// wall positions it covers and the operation text the progress dialog shows.
// A per-display set gives each display its own job with the on-screen menu
// orientation of its layout record.
struct job_set
{
    job_list_item job_template;
    QList<int> positions;
    QString text;
    bool per_display = false;
};

// The template's menu orientation for a display: 0 landscape, 1 portrait,
// -1 when its layout record leaves it unset (or there is no record).
qint32 osd_orientation_of(const display_layout_item *item);

// What to hand the progress dialog for |set|: one template over every
// position, or one per position with that display's orientation.
QList<QPair<job_list_item, QList<int>>> job_set_additions(const job_set &set, const layout_manager &layout);
