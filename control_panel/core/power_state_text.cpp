#include "control_panel/core/power_state_text.h"

#include <QCoreApplication>

QString power_state_text(int mode)
{
    const char *context = "kq_monitor_control_panel_dialog";
    switch (mode) {
    case 1:
        return QCoreApplication::translate(context, "<img src=\":/images/Resources/power-on16.png\"> On",
                                           "power status=on");
    case 2:
    case 3:
        return QCoreApplication::translate(context, "Standby", "power status=standby");
    case 4:
        return QCoreApplication::translate(context, "<img src=\":/images/Resources/power-off16.png\"> Off",
                                           "power status=off");
    default:
        return QString();
    }
}
