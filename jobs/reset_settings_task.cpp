#include "jobs/reset_settings_task.h"

#include "jobs/CPDLANConnectionObject.h"
#include "jobs/engine_procedure.h"

#include <QtGlobal>

int reset_settings(CPDLANConnectionObject &worker)
{
    engine_procedure procedure(worker);
    if (const int status = procedure.select(engine_procedure::kResetSettings))
        return status;
    if (const int status = procedure.start())
        return status;
    engine_procedure::hooks hooks;
    hooks.report = [&worker](const engine_procedure::progress &now) {
        worker.report_task_progress(qMax(0, now.stage - 1), qMax(0, now.stage_count - 1),
                                    CPDLANConnectionObject::tr("Resetting Settings..."));
        worker.report_sub_step(qMax(0, now.position - 1), now.position_count, QString());
    };
    if (const int status = procedure.follow(hooks))
        return status;
    if (const int status = procedure.wait_finished())
        return status;
    return procedure.leave(false);
}
