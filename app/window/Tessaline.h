#pragma once

#include "app/controller/startup_views.h"
#include "app/window/main_window_docks.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class CMonitorTracker;
class CPreferences;
class CTargetValue;
class KQ_central_display_widget;
class KQ_main_controller_dock_widget;
class checkForSoftwareUpdates;
enum class display_command;
class NetworkInterfaceCard;
class QAction;
class QCloseEvent;
class QDockWidget;
class QLabel;
class QTimer;
class layout_manager;

namespace Ui {
class TessalineClass;
}

// The main window: the wall view in the middle, eight docks around it, the
// menus and a status bar with the display link's port and the job counts.
// It owns the current project (its file name, the file commands, the backup
// copies written shortly after each change) and the mark of an unclean
// shutdown, and runs the start-up checks that follow the splash screen.
//
// Built by the start-up on the controller that g_master points at; the
// controller shows it, emits its start-up signals and destroys it.
class Tessaline : public QMainWindow, public main_window_view
{
    Q_OBJECT

public:
    // Nominal delays, run on the wait service's time scale.
    static constexpr int kBackupDelayMs = 1500;
    static constexpr int kStartupContinuationMs = 1000;

    explicit Tessaline(QWidget *parent = nullptr);
    // Clears the unclean-shutdown mark.
    ~Tessaline() override;

    void show_main_window() override { show(); }
    QString project_file_path() const override { return m_currentFile; }

    // Project files. save_project_file writes the project in one step (the
    // file keeps its old contents on failure) and clears the modified flags
    // only after success, when asked; 0 or the failure's code.
    int save_project_file(const QString &path, bool clear_modified);
    // Replaces the project by the file's; shows its error itself and then
    // stays untitled with what was read before the failing part.
    int open_project_file(const QString &path);
    // Save (a known name) and Save As (asks for one); true when written.
    bool SaveProject(bool prompt_for_name);
    // Offers to save a modified project; true when the caller may go on.
    bool ask_save_if_modified();
    void set_current_file(const QString &path);
    void add_recent_file(const QString &path);
    void updateRecentFileActions();
    void reset_default_target();
    // Opens the newest backup copy of any project as an untitled, modified
    // project and says so. A copy that cannot be read is reported and set
    // aside, and one that brings the program down is not opened again at the
    // next start.
    void restore_newest_backup();
    // A new wall view in a scroll area as the central widget.
    void create_central_widget();

    // What follows an accepted target dialog: displays calibrated to the old
    // target are restored or reset as the operator answers, and the
    // maximum-matching luminance is recomputed.
    void apply_edited_target(const CTargetValue &edited);
    // Forgets the last calibration of the displays at |indexes|.
    void reset_calibration_records(const QList<int> &indexes);

    QDockWidget *dock(main_window_dock which) const { return m_docks[which]; }
    // What the dock shows (the dock itself holds it in a scroll area).
    QWidget *dock_content(main_window_dock which) const { return m_dockContents[which]; }
    KQ_main_controller_dock_widget *controller_dock() const { return m_controllerDock; }
    KQ_central_display_widget *wall_view() const { return m_wallView; }
    // The program's list of network interfaces, which the network searches use.
    NetworkInterfaceCard *networkInterfaces() const { return m_networkInterfaces; }
    int selected_display_index() const { return m_selectedIndex; }
    bool previous_run_unclean() const { return m_previousRunUnclean; }

signals:
    void updateTargetInfo();
    void selection_changed_out(int index);
    void select_first_position();
    void out_updateControlsStatus();

public slots:
    void startup_complete();
    void fileMenuAboutToShow();
    void itemMenuAboutToShow();
    void toolsMenuAboutToShow();
    void selection_changed(int index);
    void UpdateTarget();
    void num_jobs_running(int count);
    void num_pending_jobs(int count);
    void ensureWidgetVisible(QWidget *widget);
    void zoom_main_view(bool on);
    void updateControlsStatus();

    // Start-up after the splash: the sensor check, then 1000 ms later
    // showNewFeatures (update check, backup restore or introduction).
    void start_check_calibration_sensor();
    void showNewFeatures();
    void show_introduction_dialog();
    void auto_check_for_updates();
    void check_for_updates();
    void check_for_update_reply(QString message, int kind);

    // Backups.
    void start_save_backup_file_timer();
    void save_backup_file();

    // File menu.
    void on_actionNew_Project_triggered();
    void on_actionOpen_Project_triggered();
    void on_actionSave_Project_triggered();
    void on_actionSave_Project_As_triggered();
    void on_action_recent_file_1_triggered();
    void on_action_recent_file_2_triggered();
    void on_action_recent_file_3_triggered();
    void on_action_recent_file_4_triggered();
    void on_action_recent_file_5_triggered();

    // Commands on displays and dialogs of other parts (Tessaline_commands.cpp).
    void on_actionGenerate_ICC_Display_Profile_triggered();
    void on_actionPreferences_triggered();
    void on_actionLayout_triggered();
    void on_actionSet_Calibration_Order_triggered();
    void on_actionTile_Matrix_Wizard_triggered();
    void on_actionTarget_triggered();
    void on_actionCalibration_Target_Offset_triggered();
    void on_actionDisplay_Settings_triggered();
    void on_actionUpdate_Factory_Color_Calibration_triggered();
    void on_actionAbout_triggered();
    void on_actionCheck_for_updates_triggered();
    void on_actionUser_s_Guide_triggered();
    void verify_Monitor_Firmware();
    void verify_RS232_COM_Port();
    void show_information_dialog();
    void identify_display(int index);
    void power_on_display(int index, int state);
    void set_osd_orientation(int index, int value);
    void CalculateNewTargetWhitePoint(bool ask_if_changed);

    // Each resizes its dock to its size hint when it starts floating.
    void communications_interface_configure_dock_floated(bool floating);
    void display_settings_dock_floated(bool floating);
    void target_summary_dock_floated(bool floating);
    void colorimeter_dock_floated(bool floating);
    void calibration_information_dock_floated(bool floating);
    void main_controller_dock_floated(bool floating);
    void test_pattern__dock_floated(bool floating);
    void status_operations_dock_floated(bool floating);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createStatusBarLabels();
    void refreshOperationsLabel();
    void createStartLayout();
    void createDocks();
    // Tessaline_docks.cpp
    QWidget *createDockContent(main_window_dock which);
    template <class Receiver> void followChanges(Receiver *receiver, void (Receiver::*slot)());
    QWidget *createConnectionWidget();
    QWidget *createTargetSummaryWidget();
    QWidget *createColorimeterWidget();
    QWidget *createCalibrationInformationWidget();
    template <class Widget> Widget *createWallActionWidget();
    QWidget *createTestPatternWidget();
    void connectChangeSignals();
    void connectControllerDock();
    void restoreWindowLayout();
    void connectDockFloatedSlots();
    void resizeFloatedDock(main_window_dock which, bool floating);
    void reshowDocks();
    void openRecentFile(int index);
    void askToCloseUtility(const QString &program, int question_id, bool detect_after);
    void showStatusMessage(int code);
    // open_project_file without the message: the failure's code.
    int readProjectFile(const QString &path);
    void reportUnreadableBackup(const QString &path, int status);
    bool isProjectModified() const;
    bool saveWithKnownOrNewName();
    void applyControlsStatus();
    void refreshSaveAction();
    void runDisplayCommand(int index, display_command command, int value);
    void runRestoreJobs(const QList<int> &positions);
    void runJobOnEveryDisplay(int task, const QString &title);
    void refresh_information_dialog();

    layout_manager &layout() const;
    CMonitorTracker &records() const;
    CPreferences *preferences() const;

    std::unique_ptr<Ui::TessalineClass> m_ui;
    QString m_currentFile;
    int m_selectedIndex = 0;
    bool m_relayingSelection = false;
    bool m_previousRunUnclean = false;
    QTimer *m_backupTimer = nullptr;
    NetworkInterfaceCard *m_networkInterfaces = nullptr;
    std::array<QDockWidget *, kDockCount> m_docks{};
    std::array<QWidget *, kDockCount> m_dockContents{};
    KQ_main_controller_dock_widget *m_controllerDock = nullptr;
    KQ_central_display_widget *m_wallView = nullptr; // replaced with the central widget
    QLabel *m_portLabel = nullptr;
    QLabel *m_operationsLabel = nullptr;
    int m_runningCount = 0;
    int m_queuedCount = 0;
    std::array<QAction *, 5> m_recentFileActions{};
    checkForSoftwareUpdates *m_updateCheck = nullptr; // made on the first check
    bool m_automaticUpdateCheck = false;
};
