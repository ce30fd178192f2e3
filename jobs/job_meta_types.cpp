#include "jobs/job_meta_types.h"

#include "jobs/calibration_job_status_info_item.h"
#include "jobs/job_list_item.h"

#include <QList>
#include <QMetaType>

void register_job_meta_types()
{
    qRegisterMetaType<job_list_item>("job_list_item");
    qRegisterMetaType<QList<job_list_item>>("QList<job_list_item>");
    qRegisterMetaType<calibration_job_status_info_item>("calibration_job_status_info_item");
}
