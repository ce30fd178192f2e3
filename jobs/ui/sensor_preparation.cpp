#include "jobs/ui/sensor_preparation.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/ui/message_boxes.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/SensorPlacementInfo.h"
#include "sensors/sensor_setup_rule.h"

#include <QMutexLocker>

namespace {

constexpr int kPlacementHintMessage = 1;

color_sensor_setup_dialog_runner &installed_runner()
{
    static color_sensor_setup_dialog_runner runner;
    return runner;
}

// |query| on the sensor active at this moment, under its driver mutex;
// |fallback| without one. Fetched again on every call: a dialog in between
// may have seen the driver replaced.
template <class Result, class Query> Result ask_active_sensor(Query query, Result fallback)
{
    CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr;
    if (!factory)
        return fallback;
    QMutexLocker lock(&factory->DriverMutex());
    CSensor *sensor = factory->GetSensor();
    return sensor ? query(*sensor) : fallback;
}

enum class need { no_sensor, not_needed, needed };

} // namespace

void set_color_sensor_setup_dialog_runner(color_sensor_setup_dialog_runner runner)
{
    installed_runner() = std::move(runner);
}

int run_color_sensor_setup_dialog(bool at_calibration_position, bool force, QWidget *parent)
{
    const need setup = ask_active_sensor<need>(
        [=](CSensor &sensor) {
            return sensor_setup_needed(sensor, at_calibration_position, force) ? need::needed : need::not_needed;
        },
        need::no_sensor);
    if (setup == need::no_sensor)
        return -1;
    if (setup == need::not_needed)
        return 0;
    const color_sensor_setup_dialog_runner runner = installed_runner();
    return runner ? runner(at_calibration_position, force, parent) : -1;
}

void show_sensor_placement_hint(QWidget *parent)
{
    CPreferences *preferences = g_master ? g_master->getPreferences() : nullptr;
    if (!preferences || preferences->IsMessageSuppressed(kPlacementHintMessage))
        return;
    SensorPlacementInfo info;
    const bool pending = ask_active_sensor<bool>(
        [&info](CSensor &sensor) {
            if (!sensor.ShowsPlacementHint() || !sensor.IsPlacementHintPending())
                return false;
            sensor.GetPlacementInfo(info);
            return true;
        },
        false);
    if (!pending)
        return;
    bool dont_show = true;
    show_notice_box(parent, info.beforeDisplayMessage, &dont_show, QMessageBox::Information, false, false);
    ask_active_sensor<bool>([](CSensor &sensor) { sensor.SetPlacementHintPending(false); return true; }, false);
    if (dont_show)
        preferences->SuppressMessage(kPlacementHintMessage);
}
