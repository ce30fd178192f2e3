#include "app/window/main_window_docks.h"

#include <QtGlobal>

namespace {

constexpr Qt::DockWidgetAreas kLeftAndRight = Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea;
constexpr Qt::DockWidgetAreas kAnyArea = Qt::AllDockWidgetAreas;

} // namespace

const main_window_dock_spec kMainWindowDocks[kDockCount] = {
    {QT_TRANSLATE_NOOP("Tessaline", "Connection"), "Connection", Qt::RightDockWidgetArea, kLeftAndRight, false,
     true, -1, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Display Control"), "Display Control", Qt::RightDockWidgetArea,
     kLeftAndRight, false, true, kConnectionDock, true},
    {QT_TRANSLATE_NOOP("Tessaline", "Calibration Target"), "CalibrationTarget", Qt::RightDockWidgetArea,
     kAnyArea, false, true, -1, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Colorimeter"), "Colorimeter", Qt::RightDockWidgetArea, kAnyArea, false,
     true, -1, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Display Measurements"), "DisplayMeasurements", Qt::RightDockWidgetArea,
     kLeftAndRight, false, true, kCalibrationTargetDock, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Actions"), "Actions", Qt::LeftDockWidgetArea, kLeftAndRight, true, false,
     -1, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Test Pattern"), "TestPattern", Qt::RightDockWidgetArea, kLeftAndRight,
     false, true, -1, false},
    {QT_TRANSLATE_NOOP("Tessaline", "Reset/Restore"), "Reset", Qt::RightDockWidgetArea, kLeftAndRight, false,
     true, -1, false},
};
