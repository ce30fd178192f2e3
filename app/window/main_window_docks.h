#pragma once

#include <Qt>

// The main window's eight docks, in the order the window creates them.
enum main_window_dock {
    kConnectionDock,
    kDisplayControlDock,
    kCalibrationTargetDock,
    kColorimeterDock,
    kDisplayMeasurementsDock,
    kActionsDock,
    kTestPatternDock,
    kResetDock,
    kDockCount
};

struct main_window_dock_spec
{
    const char *title;          // translated in the context "Tessaline"
    const char *object_name;    // also names the dock in the saved window state
    Qt::DockWidgetArea area;
    Qt::DockWidgetAreas allowed_areas;
    bool fixed;                 // only floatable: neither closable nor movable
    bool view_toggle;           // its toggle action joins the View menu
    int tabbed_onto;            // the dock whose tab it joins; -1 none
    bool raise_tab_owner;       // that dock's tab stays in front
};

// Indexed by main_window_dock.
extern const main_window_dock_spec kMainWindowDocks[kDockCount];
