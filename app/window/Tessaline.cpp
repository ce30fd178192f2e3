#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/controls_status.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/window/dialog_hooks.h"
#include "app/window/dock_scroll_area.h"
#include "app/window/shutdown_marker.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CMonitorTracker.h"
#include "colour/stored_records_follower.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "display_protocol/NetworkInterfaceCard.h"
#include "layout_setup/program_network_interfaces.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/QueryThreadPool.h"
#include "sensors/CTargetSensor.h"
#include "views/wall/KQ_central_display_widget.h"

#include "ui_Tessaline.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

// The shared display link rests on the null link, addressed to no display.
constexpr int kNullLinkKind = 2;
constexpr quint8 kNoDisplayMonitorId = 0x41;

// The wall a new window starts with: two LAN displays side by side.
constexpr int kStartColumns = 2;
constexpr int kStartRows = 1;
constexpr int kStartFirstMonitorId = 1;
constexpr int kStartCorner = 0;
const char kStartAddress[] = "192.168.0.10";

constexpr int kEnsureVisibleMargin = 50;
// The version under which the dock layout is kept in the preferences.
constexpr int kWindowStateVersion = 0;
constexpr int kApplicationNameId = 1;
constexpr int kTestPatternsStayOnId = 731;

using dock_floated_slot = void (Tessaline::*)(bool);
// Indexed by main_window_dock.
const dock_floated_slot kDockFloatedSlots[kDockCount] = {
    &Tessaline::communications_interface_configure_dock_floated,
    &Tessaline::display_settings_dock_floated,
    &Tessaline::target_summary_dock_floated,
    &Tessaline::colorimeter_dock_floated,
    &Tessaline::calibration_information_dock_floated,
    &Tessaline::main_controller_dock_floated,
    &Tessaline::test_pattern__dock_floated,
    &Tessaline::status_operations_dock_floated,
};

} // namespace

Tessaline::Tessaline(QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TessalineClass>()), m_backupTimer(new QTimer(this))
{
    Q_ASSERT(g_master);
    m_backupTimer->setSingleShot(true);
    connect(m_backupTimer, &QTimer::timeout, this, &Tessaline::save_backup_file);

    m_ui->setupUi(this);
    install_dialog_hooks();
    m_networkInterfaces = new NetworkInterfaceCard(this);
    set_program_network_interfaces(m_networkInterfaces);
    m_recentFileActions = {m_ui->action_recent_file_1, m_ui->action_recent_file_2, m_ui->action_recent_file_3,
                           m_ui->action_recent_file_4, m_ui->action_recent_file_5};

    connect(g_master, &MasterControl::startup_complete, this, &Tessaline::startup_complete);
    connect(g_master, &MasterControl::start_check_calibration_sensor, this,
            &Tessaline::start_check_calibration_sensor);
    connect(m_ui->menu_File, &QMenu::aboutToShow, this, &Tessaline::fileMenuAboutToShow);
    connect(m_ui->menuView, &QMenu::aboutToShow, this, &Tessaline::itemMenuAboutToShow);
    connect(m_ui->menuTools, &QMenu::aboutToShow, this, &Tessaline::toolsMenuAboutToShow);
    connect(m_ui->action_Information_Window, &QAction::triggered, this, &Tessaline::show_information_dialog);
    connect(m_ui->actionVerify_Monitor_Firmware, &QAction::triggered, this, &Tessaline::verify_Monitor_Firmware);
    connect(m_ui->actionVerify_RS232_COM_Port, &QAction::triggered, this, &Tessaline::verify_RS232_COM_Port);

    createStatusBarLabels();
    connect(m_ui->actionZoom_main_view, &QAction::triggered, this, &Tessaline::zoom_main_view);

    if (basic_monitor *monitor = g_master->getMonitor()) {
        monitor->open_link(QString(), kNullLinkKind);
        monitor->set_monitor_id(kNoDisplayMonitorId);
    }
    m_ui->mainToolBar->hide();

    createStartLayout();
    createDocks();
    create_central_widget();
    set_current_file(QString());
    connectChangeSignals();
    reset_default_target();
    if (CTargetSensor *sensor = g_master->getTargetSensor())
        connect(sensor, &CTargetSensor::sensorChanged, this, &Tessaline::updateControlsStatus);

    m_selectedIndex = 0;
    emit selection_changed_out(0);
    updateControlsStatus();

    restoreWindowLayout();
    connectDockFloatedSlots();
    updateRecentFileActions();

    m_previousRunUnclean = shutdown_marker::read();
    shutdown_marker::write(true);
}

Tessaline::~Tessaline()
{
    if (&program_network_interfaces() == m_networkInterfaces)
        set_program_network_interfaces(nullptr);
    shutdown_marker::write(false);
}

layout_manager &Tessaline::layout() const
{
    return *g_master->getLayoutManager();
}

CMonitorTracker &Tessaline::records() const
{
    return *g_master->getMonitorTracker();
}

CPreferences *Tessaline::preferences() const
{
    return g_master->getPreferences();
}

bool Tessaline::isProjectModified() const
{
    return records().IsModified() || layout().is_modified();
}

void Tessaline::createStatusBarLabels()
{
    m_portLabel = new QLabel(this);
    m_operationsLabel = new QLabel(this);
    m_operationsLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(m_portLabel);
    statusBar()->addPermanentWidget(m_operationsLabel);
    refreshOperationsLabel();
    if (basic_monitor *monitor = g_master->getMonitor())
        connect(monitor, &basic_monitor::com_port_changed, m_portLabel, &QLabel::setText);
}

void Tessaline::refreshOperationsLabel()
{
    m_operationsLabel->setText(tr("Operations [Running: %1 Queued: %2]").arg(m_runningCount).arg(m_queuedCount));
}

void Tessaline::createStartLayout()
{
    layout().create_layout(kStartColumns, kStartRows, kStartFirstMonitorId, kStartCorner,
                           QLatin1String(kStartAddress), display_layout_item::kLan, true, true, false, false,
                           display_layout_item::kLandscape);
    layout().set_modified(false);
}

void Tessaline::createDocks()
{
    for (int i = 0; i < kDockCount; ++i) {
        const main_window_dock_spec &spec = kMainWindowDocks[i];
        auto *dock = new QDockWidget(tr(spec.title), this);
        dock->setObjectName(QLatin1String(spec.object_name));
        dock->setAllowedAreas(spec.allowed_areas);
        if (spec.fixed)
            dock->setFeatures(QDockWidget::DockWidgetFloatable);
        QWidget *content = createDockContent(main_window_dock(i));
        content->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
        m_dockContents[i] = content;
        dock->setWidget(new dock_scroll_area(content));
        addDockWidget(spec.area, dock);
        if (spec.tabbed_onto >= 0) {
            tabifyDockWidget(m_docks[spec.tabbed_onto], dock);
            if (spec.raise_tab_owner)
                m_docks[spec.tabbed_onto]->raise();
        }
        if (spec.view_toggle)
            m_ui->menuView->addAction(dock->toggleViewAction());
        m_docks[i] = dock;
    }
}

void Tessaline::create_central_widget()
{
    auto *scroll = new QScrollArea;
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setWidgetResizable(true);
    auto *view = new KQ_central_display_widget(nullptr, &layout());
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    scroll->setWidget(view);
    setCentralWidget(scroll);
    m_wallView = view;
    connect(view, &KQ_central_display_widget::focus_changed_out2, this, &Tessaline::ensureWidgetVisible);
    connect(view, &KQ_central_display_widget::selection_changed_out, this, &Tessaline::selection_changed);
    connect(view, &KQ_central_display_widget::identify_display_out, this, &Tessaline::identify_display);
    connect(view, &KQ_central_display_widget::power_on_display_out, this, &Tessaline::power_on_display);
    connect(view, &KQ_central_display_widget::set_osd_orientation_out, this, &Tessaline::set_osd_orientation);
    connect(this, &Tessaline::select_first_position, view, &KQ_central_display_widget::select_first_position);
    connect(this, &Tessaline::selection_changed_out, view, &KQ_central_display_widget::select_position);
    const CPreferences *prefs = preferences();
    const bool expand = prefs && prefs->GetExpandMainView();
    m_ui->actionZoom_main_view->setChecked(expand);
    view->set_view_expansion(expand);
}

void Tessaline::connectChangeSignals()
{
    CMonitorTracker *store = &records();
    layout_manager *wall = &layout();
    follow_stored_records(*store, this, [this] {
        updateControlsStatus();
        UpdateTarget();
        start_save_backup_file_timer();
    });
    connect(wall, &layout_manager::layout_changed, this, &Tessaline::updateControlsStatus);
    connect(wall, &layout_manager::layout_changed, this, &Tessaline::UpdateTarget);
    connect(wall, &layout_manager::layout_changed, this, &Tessaline::start_save_backup_file_timer);
    connect(this, &Tessaline::selection_changed_out, wall, &layout_manager::selection_changed);
    connectControllerDock();
    if (QueryThreadPool *pool = g_master->getQueryThreadPool()) {
        connect(pool, &QueryThreadPool::num_pending_jobs, this, &Tessaline::num_pending_jobs);
        connect(pool, &QueryThreadPool::num_jobs_running, this, &Tessaline::num_jobs_running);
    }
}

void Tessaline::connectControllerDock()
{
    KQ_main_controller_dock_widget *actions = m_controllerDock;
    connect(this, &Tessaline::out_updateControlsStatus, actions, &KQ_main_controller_dock_widget::updateControlsStatus);
    connect(actions, &KQ_main_controller_dock_widget::out_updateControlsStatus, this, &Tessaline::updateControlsStatus);
    connect(actions, &KQ_main_controller_dock_widget::out_updateTargetInfo, this, &Tessaline::UpdateTarget);
    connect(this, &Tessaline::selection_changed_out, actions, &KQ_main_controller_dock_widget::selection_changed);
    connect(actions, &KQ_main_controller_dock_widget::CalculateNewTargetWhitePoint, this,
            &Tessaline::CalculateNewTargetWhitePoint);
}

void Tessaline::restoreWindowLayout()
{
    const CPreferences *prefs = preferences();
    if (!prefs)
        return;
    const QByteArray geometry = prefs->GetMainWindowGeometry();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QByteArray state = prefs->GetMainWindowState();
    if (!state.isEmpty())
        restoreState(state, kWindowStateVersion);
}

void Tessaline::connectDockFloatedSlots()
{
    for (int i = 0; i < kDockCount; ++i)
        connect(m_docks[i], &QDockWidget::topLevelChanged, this, kDockFloatedSlots[i]);
}

void Tessaline::resizeFloatedDock(main_window_dock which, bool floating)
{
    if (floating)
        m_docks[which]->resize(m_docks[which]->layout()->sizeHint());
}

void Tessaline::communications_interface_configure_dock_floated(bool floating)
{
    resizeFloatedDock(kConnectionDock, floating);
}

void Tessaline::display_settings_dock_floated(bool floating)
{
    resizeFloatedDock(kDisplayControlDock, floating);
}

void Tessaline::target_summary_dock_floated(bool floating)
{
    resizeFloatedDock(kCalibrationTargetDock, floating);
}

void Tessaline::colorimeter_dock_floated(bool floating)
{
    resizeFloatedDock(kColorimeterDock, floating);
}

void Tessaline::calibration_information_dock_floated(bool floating)
{
    resizeFloatedDock(kDisplayMeasurementsDock, floating);
}

void Tessaline::main_controller_dock_floated(bool floating)
{
    resizeFloatedDock(kActionsDock, floating);
}

void Tessaline::test_pattern__dock_floated(bool floating)
{
    resizeFloatedDock(kTestPatternDock, floating);
}

void Tessaline::status_operations_dock_floated(bool floating)
{
    resizeFloatedDock(kResetDock, floating);
}

void Tessaline::reshowDocks()
{
    QList<QDockWidget *> shown;
    for (QDockWidget *dock : m_docks) {
        if (dock->isVisible()) {
            dock->hide();
            shown.append(dock);
        }
    }
    QCoreApplication::processEvents();
    for (QDockWidget *dock : shown)
        dock->show();
}

void Tessaline::startup_complete()
{
}

void Tessaline::toolsMenuAboutToShow()
{
}

void Tessaline::fileMenuAboutToShow()
{
    refreshSaveAction();
}

// Its shortcut works only while the action is enabled, so it follows every
// change, not only the opening of the menu.
void Tessaline::refreshSaveAction()
{
    m_ui->actionSave_Project->setEnabled(isProjectModified());
}

void Tessaline::selection_changed(int index)
{
    // The wall view answers the selection it is handed with that same index;
    // taking it again would announce the selection twice.
    if (m_relayingSelection && index == m_selectedIndex)
        return;
    m_selectedIndex = index;
    m_relayingSelection = true;
    emit selection_changed_out(index);
    m_relayingSelection = false;
    updateControlsStatus();
}

void Tessaline::UpdateTarget()
{
    emit updateTargetInfo();
}

void Tessaline::num_jobs_running(int count)
{
    m_runningCount = count;
    refreshOperationsLabel();
}

void Tessaline::num_pending_jobs(int count)
{
    m_queuedCount = count;
    refreshOperationsLabel();
}

void Tessaline::ensureWidgetVisible(QWidget *widget)
{
    if (auto *scroll = qobject_cast<QScrollArea *>(centralWidget()))
        scroll->ensureWidgetVisible(widget, kEnsureVisibleMargin, kEnsureVisibleMargin);
}

void Tessaline::zoom_main_view(bool on)
{
    if (m_wallView)
        m_wallView->set_view_expansion(on);
    if (CPreferences *prefs = preferences())
        prefs->SetExpandMainView(on);
}

void Tessaline::updateControlsStatus()
{
    emit out_updateControlsStatus();
    setWindowModified(isProjectModified());
    refreshSaveAction();
    applyControlsStatus();
}

void Tessaline::applyControlsStatus()
{
    using condition = bool controls_status::*;
    const struct
    {
        QAction *action;
        condition enabled_when;
    } rules[] = {
        {m_ui->actionResetMeasurementsAll, &controls_status::any_measured},
        {m_ui->actionResetMeasurementsSelected, &controls_status::selected_measured},
        {m_ui->actionResetCalibrationAll, &controls_status::any_calibrated},
        {m_ui->actionRestoreCalibrationAll, &controls_status::any_calibrated},
        {m_ui->actionResetCalibrationSelected, &controls_status::selected_calibrated},
        {m_ui->actionRestoreCalibrationSelected, &controls_status::selected_calibrated},
        {m_ui->actionGenerate_ICC_Display_Profile, &controls_status::selected_calibrated},
        {m_ui->actionTile_Matrix_Wizard, &controls_status::several_displays},
        {m_ui->actionSet_Calibration_Order, &controls_status::several_displays},
        {m_ui->actionVerify_Monitor_Firmware, &controls_status::any_enabled},
        {m_ui->actionVerify_RS232_COM_Port, &controls_status::selected_on_rs232},
        {m_ui->actionCalibration_Target_Offset, &controls_status::selected_has_record},
        {m_ui->actionUpdate_Factory_Color_Calibration, &controls_status::any_uniformity_capable},
    };
    const controls_status status = evaluate_controls_status(layout(), records(), m_selectedIndex);
    for (const auto &rule : rules)
        rule.action->setEnabled(status.*rule.enabled_when);
}

void Tessaline::closeEvent(QCloseEvent *event)
{
    if (!ask_save_if_modified()) {
        event->ignore();
        return;
    }
    if (m_controllerDock && m_controllerDock->is_evaluate_calibration_mode()
        && QMessageBox::warning(this, string_resource(kApplicationNameId), string_resource(kTestPatternsStayOnId),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
               != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    if (CPreferences *prefs = preferences()) {
        prefs->SetMainWindowGeometry(saveGeometry());
        prefs->SetMainWindowState(saveState(kWindowStateVersion));
        if (g_information_dialog && g_information_dialog->isVisible())
            prefs->SetInformationDialogGeometry(g_information_dialog->saveGeometry());
    }
    if (g_information_dialog)
        g_information_dialog->close();
}
