#include "dialogs/active_sensor_measurement.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/ui/message_boxes.h"
#include "dialogs/display_light_reading.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"
#include "sensors/CTargetSensor.h"

#include <QApplication>

namespace {

CTargetSensor *sensor_factory()
{
    return g_master ? g_master->getTargetSensor() : nullptr;
}

// Whether the factory has a driver now; false while another thread holds it.
bool has_active_sensor(CTargetSensor *factory)
{
    if (!factory || !factory->DriverMutex().tryLock())
        return false;
    const bool present = factory->GetSensor() != nullptr;
    factory->DriverMutex().unlock();
    return present;
}

// One reading with the driver mutex held throughout; the driver is fetched
// again under it, since a detection may have replaced it meanwhile.
int read_active_sensor(CTargetSensor *factory, int backlightType, CCIEXYZ &reading)
{
    if (!factory || !factory->DriverMutex().tryLock())
        return kMeasurementCancelled;
    CSensor *sensor = factory->GetSensor();
    const int status =
        sensor ? read_display_light(guarded_sensor(sensor, nullptr), backlightType, reading) : kMeasurementCancelled;
    factory->DriverMutex().unlock();
    return status;
}

} // namespace

int measure_with_active_sensor(QWidget *parent, int backlightType, const std::function<void()> &measuring,
                               CCIEXYZ &reading, const std::function<void(int status)> &measured)
{
    CTargetSensor *factory = sensor_factory();
    if (!has_active_sensor(factory) || run_color_sensor_setup_dialog(false, false, parent) != 0)
        return kMeasurementCancelled;
    show_sensor_placement_hint(parent);
    if (measuring)
        measuring();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int status = read_active_sensor(factory, backlightType, reading);
    QApplication::restoreOverrideCursor();
    if (measured)
        measured(status);
    if (status != 0 && status != kMeasurementCancelled)
        show_error_message(parent, status, false, false, false);
    return status;
}
