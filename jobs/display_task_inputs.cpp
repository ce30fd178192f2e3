#include "jobs/display_task_inputs.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "colour/CMonitorTracker.h"
#include "jobs/job_list_item.h"

display_task_preferences display_task_preferences::current()
{
    display_task_preferences taken;
    const CPreferences *preferences = shell_registry::preferences();
    if (!preferences)
        return taken;
    taken.engine_picture_mode = preferences->GetQuillonPictureModeNumber();
    taken.engine_gamut = preferences->GetQuillonColorGamut();
    taken.engine_uniformity = preferences->GetQuillonUniformity();
    taken.brightness_control_mode = preferences->GetBrightnessControlMode();
    taken.calibration_method = preferences->GetCalibrationMethod();
    taken.programmable_gamma_number = preferences->GetProgrammableGammaNumber();
    taken.use_engine = preferences->GetUseQuillonEngine();
    return taken;
}

CTargetValue current_target()
{
    return g_master ? g_master->getTarget() : CTargetValue();
}

bool load_display_record(const job_list_item &job, monitor_tracker_item &item, bool add_when_absent)
{
    const QString model = job.job_parameters.model_name;
    const QString serial = job.job_parameters.serial_number;
    item = monitor_tracker_item(model, serial);
    CMonitorTracker *store = g_master ? g_master->getMonitorTracker() : nullptr;
    if (!store)
        return false;
    if (store->GetAdjustValue(item) >= 0)
        return true;
    // The store hands back a default record with empty keys.
    item = monitor_tracker_item(model, serial);
    if (!add_when_absent)
        return false;
    store->SetAdjustValue(item);
    return true;
}

void store_display_record(const monitor_tracker_item &item)
{
    if (CMonitorTracker *store = g_master ? g_master->getMonitorTracker() : nullptr)
        store->SetAdjustValue(item);
}
