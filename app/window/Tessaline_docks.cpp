// The content widgets of the main window's docks and what connects them to
// the window, the layout, the record store and the sensor factory.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CMonitorTracker.h"
#include "colour/stored_records_follower.h"
#include "sensors/CTargetSensor.h"
#include "views/docks/KQ_calibration_information_dock_widget.h"
#include "views/docks/KQ_colorimeter_widget.h"
#include "views/docks/KQ_communications_interface_configure_widget.h"
#include "views/docks/KQ_display_settings_widget.h"
#include "views/docks/KQ_display_test_pattern_widget.h"
#include "views/docks/KQ_status_operations_widget.h"
#include "views/docks/kq_target_summary_widget.h"

#include <QStatusBar>

QWidget *Tessaline::createDockContent(main_window_dock which)
{
    switch (which) {
    case kConnectionDock:
        return createConnectionWidget();
    case kCalibrationTargetDock:
        return createTargetSummaryWidget();
    case kColorimeterDock:
        return createColorimeterWidget();
    case kDisplayMeasurementsDock:
        return createCalibrationInformationWidget();
    case kActionsDock:
        m_controllerDock = new KQ_main_controller_dock_widget;
        return m_controllerDock;
    case kTestPatternDock:
        return createTestPatternWidget();
    case kResetDock:
        return createWallActionWidget<KQ_status_operations_widget>();
    case kDisplayControlDock:
        return createWallActionWidget<KQ_display_settings_widget>();
    case kDockCount:
        break;
    }
    return new QWidget;
}

// Both change signals refresh |receiver| through |slot|; the records the
// workers store arrive gathered.
template <class Receiver>
void Tessaline::followChanges(Receiver *receiver, void (Receiver::*slot)())
{
    follow_stored_records(records(), receiver, [receiver, slot] { (receiver->*slot)(); });
    connect(&layout(), &layout_manager::layout_changed, receiver, slot);
}

QWidget *Tessaline::createConnectionWidget()
{
    auto *widget = new KQ_communications_interface_configure_widget;
    followChanges(widget, &KQ_communications_interface_configure_widget::UpdateDataDisplay);
    connect(this, &Tessaline::selection_changed_out, widget,
            &KQ_communications_interface_configure_widget::selection_changed);
    connect(widget, &KQ_communications_interface_configure_widget::status_message, statusBar(),
            &QStatusBar::showMessage);
    return widget;
}

QWidget *Tessaline::createTargetSummaryWidget()
{
    auto *widget = new kq_target_summary_widget;
    connect(this, &Tessaline::updateTargetInfo, widget, &kq_target_summary_widget::updateTargetInfo);
    connect(widget, &kq_target_summary_widget::edit_target, this, &Tessaline::on_actionTarget_triggered);
    return widget;
}

QWidget *Tessaline::createColorimeterWidget()
{
    auto *widget = new KQ_colorimeter_widget;
    connect(this, &Tessaline::selection_changed_out, widget, &KQ_colorimeter_widget::selection_changed);
    if (CTargetSensor *sensor = g_master->getTargetSensor())
        connect(sensor, &CTargetSensor::sensorChanged, widget, &KQ_colorimeter_widget::sensor_changed);
    widget->sensor_changed();
    return widget;
}

QWidget *Tessaline::createCalibrationInformationWidget()
{
    auto *widget = new KQ_calibration_information_dock_widget;
    followChanges(widget, &KQ_calibration_information_dock_widget::UpdateDataDisplay);
    connect(this, &Tessaline::updateTargetInfo, widget, &KQ_calibration_information_dock_widget::UpdateDataDisplay);
    connect(this, &Tessaline::selection_changed_out, widget,
            &KQ_calibration_information_dock_widget::selection_changed);
    return widget;
}

// The docks that act on the selected display or on all displays: their
// buttons follow the selection and every record or layout change.
template <class Widget>
Widget *Tessaline::createWallActionWidget()
{
    auto *widget = new Widget;
    followChanges(widget, &Widget::update_ui_state);
    connect(this, &Tessaline::selection_changed_out, widget, &Widget::selection_changed);
    return widget;
}

QWidget *Tessaline::createTestPatternWidget()
{
    auto *widget = createWallActionWidget<KQ_display_test_pattern_widget>();
    // The Actions dock is created first: the docks are built in table order.
    if (m_controllerDock)
        connect(widget, &KQ_display_test_pattern_widget::test_patterns_changed, m_controllerDock,
                &KQ_main_controller_dock_widget::set_evaluate_calibration_mode_checkBox);
    return widget;
}
