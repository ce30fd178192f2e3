// The Cooling page's rows; the Power and Saving pages' are in
// control_page_rows.cpp.
#include "control_panel/core/control_page_row_groups.h"

#include "app/services/string_resource.h"
#include "control_panel/core/control_row_builders.h"
#include "control_panel/core/cooling_page.h"
#include "display_protocol/control_codes.h"

namespace control_page {

QList<control_row> cooling_rows()
{
    using control_row_builders::combo_box;
    // Choosing a sensor or a mode changes what the others show: the page is
    // read again after the write.
    control_row sensor = combo_box(control_code::kFanSensor, QStringLiteral("cooling_fan_sensor_comboBox"), QString());
    sensor.on_failure = read_policy::end_showing();
    sensor.items_from_maximum = cooling_page::sensor_items;
    sensor.then = after_write::page_read;
    sensor.update = update_rule::none;   // written with the mode by one Update button

    control_row speed = combo_box(control_code::kFanSpeed, QStringLiteral("cooling_fan_speed_comboBox"),
                                  QStringLiteral("update_cooling_fan_speed_pushButton"),
                                  {{string_resource(1801), 1}, {string_resource(1802), 2}});

    control_row mode = combo_box(control_code::kFanMode, QStringLiteral("cooling_fan_mode_comboBox"), QString());
    mode.items_from_maximum = cooling_page::fan_mode_items;
    mode.then = after_write::page_read;
    mode.update = update_rule::none;

    QList<control_row> rows = {sensor, speed, mode};
    for (int sensor_number = 1; sensor_number <= 3; ++sensor_number) {
        rows << control_row_builders::slider_pair(control_code::kFanSensorLimitFirst + 2 * (sensor_number - 1),
                                                  QStringLiteral("fan_sensor%1_temp").arg(sensor_number),
                                                  read_policy::end_quietly());
    }
    return rows;
}

} // namespace control_page
