#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "app/window/main_window_docks.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/QueryThreadPool.h"
#include "main_window_fixture.h"
#include "tests/support/modal_box_answerer.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QtTest>

namespace {

QAction *action(Tessaline &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

QMenu *menu(Tessaline &window, const QString &name)
{
    return window.findChild<QMenu *>(name);
}

// A menu's entries: object names, "-" for a separator, toggle actions by text.
QStringList entries(QMenu *menu)
{
    QStringList names;
    for (QAction *entry : menu->actions()) {
        if (entry->isSeparator())
            names.append(QStringLiteral("-"));
        else if (!entry->objectName().isEmpty())
            names.append(entry->objectName());
        else
            names.append(QStringLiteral("toggle:") + entry->text());
    }
    return names;
}

QLabel *status_label(Tessaline &window, int index)
{
    const QList<QLabel *> labels = window.statusBar()->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    return index < labels.size() ? labels.at(index) : nullptr;
}

// The tab bar holding a tab titled |title|, and its current tab's title.
QString front_tab_beside(Tessaline &window, const QString &title)
{
    for (QTabBar *bar : window.findChildren<QTabBar *>()) {
        for (int i = 0; i < bar->count(); ++i) {
            if (bar->tabText(i) == title)
                return bar->tabText(bar->currentIndex());
        }
    }
    return QString();
}

} // namespace

// The main window as the program builds it: form, docks, status bar, window
// layout kept across windows, closing, and the shutdown mark.
class tst_main_window : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void actions_data();
    void actions();
    void menus();
    void first_start();
    void docks_data();
    void docks();
    void docks_tabbed_at_first_start();
    void floated_dock_takes_its_size_hint_data();
    void floated_dock_takes_its_size_hint();
    void geometry_and_dock_layout_survive_a_new_window();
    void exit_asks_to_save_a_modified_project();
    void exit_closes_an_unmodified_project_at_once();
    void save_is_enabled_only_when_modified();
    void status_bar_shows_port_and_job_counts();
    void selection_reaches_the_layout();
    void scale_main_view_follows_the_preferences();
    void shutdown_mark_lasts_as_long_as_the_window();

private:
    std::unique_ptr<main_window_fixture> m_fixture;
};

void tst_main_window::init()
{
    m_fixture = std::make_unique<main_window_fixture>();
}

void tst_main_window::cleanup()
{
    m_fixture.reset();
}

void tst_main_window::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<bool>("checkable");

    const auto row = [](const char *name, const char *caption, const char *shortcut, bool icon,
                        bool checkable = false) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                            << QString::fromLatin1(shortcut) << icon << checkable;
    };
    row("actionNew_Project", "New Project", "Ctrl+N", true);
    row("actionOpen_Project", "Open Project...", "Ctrl+O", true);
    row("actionSave_Project", "Save Project", "Ctrl+S", true);
    row("actionSave_Project_As", "Save Project As...", "", true);
    row("actionGenerate_ICC_Display_Profile", "Generate ICC Display Profile...", "", true);
    row("actionExit", "Exit", "", false);
    row("actionPreferences", "Preferences...", "", true);
    row("actionLayout", "Layout Wizard...", "Ctrl+L", true);
    row("actionSet_Calibration_Order", "Calibration Order...", "", true);
    row("actionTile_Matrix_Wizard", "Tile Matrix Wizard...", "", true);
    row("actionTarget", "Calibration Target...", "Ctrl+T", true);
    row("actionCalibration_Target_Offset", "Calibration Target Offset...", "", true);
    row("actionDisplay_Settings", "Display Settings...", "Ctrl+D", true);
    row("action_Information_Window", "Summary", "Ctrl+I", false, true);
    row("actionZoom_main_view", "Scale Main View", "", false, true);
    row("actionVerify_Monitor_Firmware", "Verify Monitor Firmware...", "", false);
    row("actionVerify_RS232_COM_Port", "Verify RS232 COM Port...", "", false);
    row("actionUpdate_Factory_Color_Calibration", "Update Factory Color Calibration...", "", false);
    row("actionAbout", "About...", "", true);
    row("actionCheck_for_updates", "Check for updates...", "", true);
    row("actionUser_s_Guide", "User's Guide", "", false);
    row("actionResetMeasurementsSelected", "Selected", "", false);
    row("actionResetMeasurementsAll", "All", "", false);
    row("actionResetCalibrationSelected", "Selected", "", false);
    row("actionResetCalibrationAll", "All", "", false);
    row("actionRestoreCalibrationSelected", "Selected", "", false);
    row("actionRestoreCalibrationAll", "All", "", false);
}

void tst_main_window::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, icon);
    QFETCH(bool, checkable);

    QAction *found = action(m_fixture->window(), name);
    QVERIFY(found);
    QCOMPARE(found->text(), caption);
    QCOMPARE(found->shortcut(), QKeySequence(shortcut));
    QCOMPARE(!found->icon().isNull(), icon);
    QCOMPARE(found->isCheckable(), checkable);
}

void tst_main_window::menus()
{
    Tessaline &window = m_fixture->window();
    QStringList bar;
    for (QAction *entry : window.menuBar()->actions())
        bar.append(entry->menu()->objectName() + QLatin1Char('=') + entry->text());
    QCOMPARE(bar, QStringList({"menu_File=&File", "menuEdit=Edit", "menuView=View", "menuTools=Tools",
                               "menuHelp=Help"}));

    QCOMPARE(entries(menu(window, "menu_File")),
             QStringList({"actionNew_Project", "actionOpen_Project", "actionSave_Project", "actionSave_Project_As",
                          "actionGenerate_ICC_Display_Profile", "-", "action_recent_file_1", "action_recent_file_2",
                          "action_recent_file_3", "action_recent_file_4", "action_recent_file_5", "-",
                          "actionExit"}));
    QCOMPARE(entries(menu(window, "menuEdit")),
             QStringList({"actionPreferences", "actionLayout", "actionSet_Calibration_Order",
                          "actionTile_Matrix_Wizard", "actionTarget", "actionCalibration_Target_Offset",
                          "actionDisplay_Settings"}));
    QCOMPARE(entries(menu(window, "menuView")),
             QStringList({"action_Information_Window", "-", "actionZoom_main_view", "-", "toggle:Connection",
                          "toggle:Display Control", "toggle:Calibration Target", "toggle:Colorimeter",
                          "toggle:Display Measurements", "toggle:Test Pattern", "toggle:Reset/Restore"}));
    QCOMPARE(entries(menu(window, "menuTools")),
             QStringList({"actionVerify_Monitor_Firmware", "actionVerify_RS232_COM_Port",
                          "actionUpdate_Factory_Color_Calibration"}));
    QCOMPARE(entries(menu(window, "menuHelp")),
             QStringList({"actionAbout", "actionCheck_for_updates", "actionUser_s_Guide"}));

    // The reset and restore actions belong to no menu.
    for (QMenu *each : window.findChildren<QMenu *>()) {
        for (QAction *entry : each->actions())
            QVERIFY2(!entry->objectName().startsWith(QLatin1String("actionReset"))
                         && !entry->objectName().startsWith(QLatin1String("actionRestore")),
                     qPrintable(entry->objectName()));
    }
    // No project was opened yet: no recent-file entry shows.
    for (int i = 1; i <= 5; ++i)
        QVERIFY(!action(window, QStringLiteral("action_recent_file_%1").arg(i))->isVisible());
}

void tst_main_window::first_start()
{
    Tessaline &window = m_fixture->window();
    QCOMPARE(window.objectName(), QStringLiteral("TessalineClass"));
    // The form's size; the docks' contents may need more height.
    QCOMPARE(window.width(), 600);
    QVERIFY(window.height() >= 400);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaline - untitled.tslw[*]"));
    QVERIFY(!window.isWindowModified());
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(window.project_file_path().isEmpty());
    QVERIFY(!window.findChild<QToolBar *>(QStringLiteral("mainToolBar"))->isVisibleTo(&window));

    // Start layout: two LAN displays side by side, not modified.
    layout_manager &wall = m_fixture->wall().layout();
    int columns = 0;
    int rows = 0;
    QCOMPARE(wall.get_size(columns, rows), 2);
    QCOMPARE(columns, 2);
    QCOMPARE(rows, 1);
    display_layout_item first;
    QCOMPARE(wall.get_item(0, first), 0);
    QCOMPARE(first.connection_type, qint32(display_layout_item::kLan));
    QCOMPARE(first.connection_address, QStringLiteral("192.168.0.10"));
    QCOMPARE(first.monitor_id, 1);
    QVERIFY(!wall.is_modified());

    // Default target.
    const CTargetValue target = m_fixture->wall().controller().getTarget();
    QCOMPARE(target.GetName(), QStringLiteral("Default"));
    QCOMPARE(target.GetWhitePoint().GetKelvin(), quint16(10000));
    QCOMPARE(target.GetSpecifiedLuminance(), 500.0);
    QCOMPARE(target.GetGamma(), 2.2);
    QCOMPARE(target.GetIntensityMode(), int(CTargetValue::kIntensityMaximumMatching));
    QCOMPARE(target.GetGammaType(), int(CTargetValue::kGammaPower));
    QCOMPARE(target.GetValueA(), 0.0);

    // The central widget: a dark scroll area that resizes its view.
    auto *scroll = qobject_cast<QScrollArea *>(window.centralWidget());
    QVERIFY(scroll);
    QVERIFY(scroll->widgetResizable());
    QCOMPARE(scroll->backgroundRole(), QPalette::Dark);
    QCOMPARE(scroll->widget()->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(scroll->widget()->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
}

void tst_main_window::docks_data()
{
    QTest::addColumn<int>("dock");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("allowed");
    QTest::addColumn<int>("features");
    QTest::addColumn<bool>("toggle");

    const int leftRight = Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea;
    const int all = Qt::AllDockWidgetAreas;
    const int standard = QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                         | QDockWidget::DockWidgetFloatable;
    const int right = Qt::RightDockWidgetArea;
    QTest::newRow("1") << int(kConnectionDock) << "Connection" << "Connection" << right << leftRight << standard
                       << true;
    QTest::newRow("2") << int(kDisplayControlDock) << "Display Control" << "Display Control" << right << leftRight
                       << standard << true;
    QTest::newRow("3") << int(kCalibrationTargetDock) << "Calibration Target" << "CalibrationTarget" << right
                       << all << standard << true;
    QTest::newRow("4") << int(kColorimeterDock) << "Colorimeter" << "Colorimeter" << right << all << standard
                       << true;
    QTest::newRow("5") << int(kDisplayMeasurementsDock) << "Display Measurements" << "DisplayMeasurements"
                       << right << leftRight << standard << true;
    QTest::newRow("6") << int(kActionsDock) << "Actions" << "Actions" << int(Qt::LeftDockWidgetArea) << leftRight
                       << int(QDockWidget::DockWidgetFloatable) << false;
    QTest::newRow("7") << int(kTestPatternDock) << "Test Pattern" << "TestPattern" << right << leftRight
                       << standard << true;
    QTest::newRow("8") << int(kResetDock) << "Reset/Restore" << "Reset" << right << leftRight << standard << true;
}

void tst_main_window::docks()
{
    QFETCH(int, dock);
    QFETCH(QString, title);
    QFETCH(QString, name);
    QFETCH(int, area);
    QFETCH(int, allowed);
    QFETCH(int, features);
    QFETCH(bool, toggle);

    Tessaline &window = m_fixture->window();
    QDockWidget *found = window.dock(main_window_dock(dock));
    QVERIFY(found);
    QCOMPARE(found->parent(), &window);
    QCOMPARE(found->windowTitle(), title);
    QCOMPARE(found->objectName(), name);
    QCOMPARE(int(window.dockWidgetArea(found)), area);
    QCOMPARE(int(found->allowedAreas()), allowed);
    QCOMPARE(int(found->features()), features);
    QCOMPARE(menu(window, "menuView")->actions().contains(found->toggleViewAction()), toggle);
    QWidget *content = window.dock_content(main_window_dock(dock));
    QVERIFY(content && found->widget()->isAncestorOf(content));
    QCOMPARE(content->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(content->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
}

void tst_main_window::docks_tabbed_at_first_start()
{
    Tessaline &window = m_fixture->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.tabifiedDockWidgets(window.dock(kConnectionDock)),
             QList<QDockWidget *>{window.dock(kDisplayControlDock)});
    QCOMPARE(window.tabifiedDockWidgets(window.dock(kCalibrationTargetDock)),
             QList<QDockWidget *>{window.dock(kDisplayMeasurementsDock)});
    QCOMPARE(front_tab_beside(window, QStringLiteral("Display Control")), QStringLiteral("Connection"));
    QVERIFY(window.tabifiedDockWidgets(window.dock(kColorimeterDock)).isEmpty());
}

void tst_main_window::floated_dock_takes_its_size_hint_data()
{
    QTest::addColumn<int>("dock");
    for (int i = 0; i < kDockCount; ++i)
        QTest::newRow(kMainWindowDocks[i].object_name) << i;
}

void tst_main_window::floated_dock_takes_its_size_hint()
{
    QFETCH(int, dock);
    Tessaline &window = m_fixture->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDockWidget *floated = window.dock(main_window_dock(dock));
    // A size the dock's content can take, away from its size hint.
    const QSize other = QSize(377, 311).expandedTo(floated->minimumSizeHint()) + QSize(13, 17);
    floated->resize(other);
    floated->setFloating(true);
    QCOMPARE(floated->size(), floated->layout()->sizeHint());

    // Going back into the window resizes nothing.
    floated->resize(other);
    emit floated->topLevelChanged(false);
    QCOMPARE(floated->size(), other);
}

void tst_main_window::geometry_and_dock_layout_survive_a_new_window()
{
    Tessaline &first = m_fixture->window();
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    first.resize(900, 640);
    first.addDockWidget(Qt::LeftDockWidgetArea, first.dock(kColorimeterDock));
    first.dock(kTestPatternDock)->hide();
    QCoreApplication::processEvents();
    const QSize kept = first.size(); // no smaller than the docks' content allows
    QVERIFY(first.close());
    QVERIFY(!m_fixture->preferences().GetMainWindowGeometry().isEmpty());
    QVERIFY(!m_fixture->preferences().GetMainWindowState().isEmpty());

    Tessaline &second = m_fixture->new_window();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.size(), kept);
    QCOMPARE(second.dockWidgetArea(second.dock(kColorimeterDock)), Qt::LeftDockWidgetArea);
    QVERIFY(!second.dock(kTestPatternDock)->isVisible());
    QVERIFY(second.dock(kConnectionDock)->isVisibleTo(&second));
}

void tst_main_window::exit_asks_to_save_a_modified_project()
{
    Tessaline &window = m_fixture->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    m_fixture->wall().create_wall(3, 1);

    {
        modal_box_answerer boxes({QMessageBox::Cancel});
        action(window, "actionExit")->trigger();
        QCOMPARE(boxes.seen().size(), 1);
        const modal_box_answerer::seen_box &box = boxes.seen().first();
        QCOMPARE(box.title, QStringLiteral("Tessaline"));
        QCOMPARE(box.text, QStringLiteral("The project has been modified.\nDo you want to save your changes?"));
        QCOMPARE(int(box.buttons), int(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel));
    }
    QVERIFY(window.isVisible());
    // A refused close keeps the window layout out of the preferences.
    QVERIFY(m_fixture->preferences().GetMainWindowGeometry().isEmpty());

    modal_box_answerer boxes({QMessageBox::Discard});
    action(window, "actionExit")->trigger();
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY(!window.isVisible());
    QVERIFY(!m_fixture->preferences().GetMainWindowGeometry().isEmpty());
}

void tst_main_window::exit_closes_an_unmodified_project_at_once()
{
    Tessaline &window = m_fixture->window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    modal_box_answerer boxes;
    action(window, "actionExit")->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(boxes.seen().isEmpty());
}

void tst_main_window::save_is_enabled_only_when_modified()
{
    Tessaline &window = m_fixture->window();
    QMenu *file = menu(window, "menu_File");
    QAction *save = action(window, "actionSave_Project");

    emit file->aboutToShow();
    QVERIFY(!save->isEnabled());

    m_fixture->wall().records().SetAdjustValue(monitor_tracker_item(QStringLiteral("P555"), QStringLiteral("1")));
    emit file->aboutToShow();
    QVERIFY(save->isEnabled());
    QVERIFY(window.isWindowModified());

    m_fixture->wall().records().SetModified(false);
    emit file->aboutToShow();
    QVERIFY(!save->isEnabled());

    m_fixture->wall().layout().set_modified(true);
    emit file->aboutToShow();
    QVERIFY(save->isEnabled());
}

void tst_main_window::status_bar_shows_port_and_job_counts()
{
    auto *pool = new QueryThreadPool;
    m_fixture->wall().controller().setQueryThreadPool(pool);
    Tessaline &window = m_fixture->window();

    QLabel *port = status_label(window, 0);
    QLabel *operations = status_label(window, 1);
    QVERIFY(port && operations);
    QVERIFY(port->text().isEmpty());
    QCOMPARE(operations->text(), QStringLiteral("Operations [Running: 0 Queued: 0]"));
    QCOMPARE(operations->frameShape(), QFrame::Panel);
    QCOMPARE(operations->frameShadow(), QFrame::Sunken);

    emit pool->num_jobs_running(3);
    emit pool->num_pending_jobs(12);
    QCOMPARE(operations->text(), QStringLiteral("Operations [Running: 3 Queued: 12]"));

    emit m_fixture->wall().controller().getMonitor()->com_port_changed(QStringLiteral("COM3"));
    QCOMPARE(port->text(), QStringLiteral("COM3"));
}

void tst_main_window::selection_reaches_the_layout()
{
    Tessaline &window = m_fixture->window();
    QSignalSpy out(&window, &Tessaline::selection_changed_out);
    QSignalSpy controls(&window, &Tessaline::out_updateControlsStatus);
    window.selection_changed(1);
    QCOMPARE(window.selected_display_index(), 1);
    QCOMPARE(out.size(), 1);
    QCOMPARE(out.first().first().toInt(), 1);
    QCOMPARE(m_fixture->wall().layout().get_current_index(), 1);
    QCOMPARE(controls.size(), 1);
}

void tst_main_window::scale_main_view_follows_the_preferences()
{
    m_fixture->preferences().SetExpandMainView(true);
    Tessaline &window = m_fixture->window();
    QAction *scale = action(window, "actionZoom_main_view");
    QVERIFY(scale->isChecked());
    scale->trigger();
    QVERIFY(!m_fixture->preferences().GetExpandMainView());
    window.create_central_widget();
    QVERIFY(!scale->isChecked());
}

void tst_main_window::shutdown_mark_lasts_as_long_as_the_window()
{
    QVERIFY(!shutdown_marker::read());
    Tessaline &first = m_fixture->window();
    QVERIFY(!first.previous_run_unclean());
    QVERIFY(shutdown_marker::read());
    m_fixture->close_window();
    QVERIFY(!shutdown_marker::read());

    // A run that never destroyed its window leaves the mark for the next one.
    shutdown_marker::write(true);
    Tessaline &next = m_fixture->window();
    QVERIFY(next.previous_run_unclean());
    QVERIFY(shutdown_marker::read());
    QVERIFY(shutdown_marker::settings_file_path().startsWith(m_fixture->wall().home_folder()));
}

QTEST_MAIN(tst_main_window)
#include "tst_main_window.moc"
