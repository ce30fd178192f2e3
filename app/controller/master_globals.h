#pragma once

class CTargetSensor;
class KQ_Information_Dialog;
class MasterControl;
class QDesktopWidget;
class basic_monitor;

// The start-up globals. Each is set once where start-up makes its object
// and cleared when that object goes; null before and after.
extern MasterControl *g_master;                       // set by main after the controller exists
extern QDesktopWidget *g_desktop;                     // set by main; dialogs place themselves on it
extern CTargetSensor *g_target_sensor;                // the controller's sensor factory
extern basic_monitor *g_monitor;                      // the controller's shared display link
extern KQ_Information_Dialog *g_information_dialog;   // the information dialog, a child of the main window
