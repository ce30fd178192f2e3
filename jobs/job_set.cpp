#include "jobs/job_set.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"

qint32 osd_orientation_of(const display_layout_item *item)
{
    if (!item)
        return -1;
    switch (item->orientation) {
    case display_layout_item::kLandscape:
        return 0;
    case display_layout_item::kPortrait:
        return 1;
    default:
        return -1;
    }
}

QList<QPair<job_list_item, QList<int>>> job_set_additions(const job_set &set, const layout_manager &layout)
{
    if (!set.per_display)
        return {qMakePair(set.job_template, set.positions)};
    QList<QPair<job_list_item, QList<int>>> additions;
    for (int position : set.positions) {
        job_list_item job = set.job_template;
        display_layout_item item;
        job.osd_orientation = osd_orientation_of(layout.get_item(position, item) == 0 ? &item : nullptr);
        additions.append(qMakePair(job, QList<int>{position}));
    }
    return additions;
}
