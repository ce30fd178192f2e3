#include "app/controller/master_globals.h"

MasterControl *g_master = nullptr;
QDesktopWidget *g_desktop = nullptr;
CTargetSensor *g_target_sensor = nullptr;
basic_monitor *g_monitor = nullptr;
KQ_Information_Dialog *g_information_dialog = nullptr;
