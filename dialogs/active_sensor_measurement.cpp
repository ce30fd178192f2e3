#include "dialogs/active_sensor_measurement.h"

#include "app/services/ui/message_boxes.h"
#include "dialogs/display_light_reading.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"

#include <QApplication>

int measure_with_active_sensor(QWidget *parent, int backlightType, const std::function<void()> &measuring,
                               CCIEXYZ &reading)
{
    const guarded_sensor sensor = guarded_sensor::active();
    if (sensor.isNull() || run_color_sensor_setup_dialog(false, false, parent) != 0)
        return kMeasurementCancelled;
    show_sensor_placement_hint(parent);
    if (measuring)
        measuring();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int status = read_display_light(guarded_sensor::active(), backlightType, reading);
    QApplication::restoreOverrideCursor();
    if (status != 0)
        show_error_message(parent, status, false, false, false);
    return status;
}
