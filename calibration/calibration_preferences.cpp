#include "calibration/calibration_preferences.h"

#include "app/services/preferences.h"
#include "app/services/shell_registry.h"

calibration_preferences calibration_preferences::current()
{
    calibration_preferences taken;
    taken.display = display_task_preferences::current();
    const CPreferences *preferences = shell_registry::preferences();
    if (!preferences)
        return taken;
    taken.extended_stabilisation = preferences->GetExtendedLuminanceStabilizationTime();
    taken.measure_after_calibration = preferences->GetMeasureDisplaysAfterCalibration();
    taken.grey_steps = preferences->GetCalibrationSteps();
    return taken;
}
