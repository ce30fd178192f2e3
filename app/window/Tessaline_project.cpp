// The main window's project: file commands, the recent-file list, backup
// copies and their restore after an unclean shutdown.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/error_code_table.h"
#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/file_dialogs.h"
#include "app/services/ui/message_boxes.h"
#include "app/window/main_window_log.h"
#include "app/window/project_backups.h"
#include "app/window/project_file.h"
#include "app/window/recent_files.h"
#include "app/window/shutdown_marker.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/wait_service.h"

#include "ui_Tessaline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

namespace {

constexpr int kSaveChangesQuestionId = 706;

// The default target's settings.
const char kDefaultTargetName[] = "Default";
constexpr quint16 kDefaultWhiteKelvin = 10000;
constexpr double kDefaultSpecifiedLuminance = 500.0;
constexpr double kDefaultGamma = 2.2;

QString extension()
{
    return string_resource(string_id::kProjectFileExtension);
}

QString with_extension(const QString &path)
{
    return path.endsWith(extension()) ? path : path + extension();
}

// Where the file dialogs start: the project itself when it has a folder,
// else the projects folder (followed by the name of a project without one).
QString dialog_start_path(const QString &current_file)
{
    const QString folder = QFileInfo(current_file).path();
    if (!folder.isEmpty() && folder != QLatin1String("."))
        return current_file;
    return projects_folder(true) + current_file;
}

} // namespace

void Tessaline::showStatusMessage(int code)
{
    qCInfo(main_window_log) << "message for status" << code;
    show_error_message(this, code, false, false, false);
}

int Tessaline::save_project_file(const QString &path, bool clear_modified)
{
    const int status = project_file::write(path, layout(), records(), g_master->getTarget());
    if (status != 0)
        return status;
    if (clear_modified) {
        layout().set_modified(false);
        records().SetModified(false);
    }
    return 0;
}

int Tessaline::open_project_file(const QString &path)
{
    const int status = readProjectFile(path);
    if (status != 0)
        showStatusMessage(status);
    return status;
}

int Tessaline::readProjectFile(const QString &path)
{
    set_current_file(QString());
    records().Clear();
    layout().reset_items();
    reset_default_target();

    CTargetValue target;
    bool layout_read = false;
    const int status = project_file::read(path, layout(), records(), target, &layout_read);
    if (status == 0) {
        g_master->setTarget(target);
        emit updateTargetInfo();
    }
    if (layout_read)
        layout().set_modified(false);
    if (status != 0) {
        qCInfo(main_window_log) << "could not open" << path << "status" << status;
        // The view shows what the model now holds, not the wall it held before.
        create_central_widget();
        m_selectedIndex = 0;
        emit selection_changed_out(0);
        updateControlsStatus();
        return status;
    }

    create_central_widget();
    reshowDocks();
    set_current_file(path);
    m_selectedIndex = 0;
    emit selection_changed_out(0);
    updateControlsStatus();
    qCInfo(main_window_log) << "opened" << path;
    return 0;
}

bool Tessaline::SaveProject(bool prompt_for_name)
{
    QString name = with_extension(dialog_start_path(m_currentFile));
    if (prompt_for_name) {
        const QString chosen = get_save_file_name(this, string_resource(string_id::kSaveProjectCaption), name,
                                                  string_resource(string_id::kProjectFileFilter));
        if (chosen.isEmpty())
            return false;
        name = with_extension(chosen);
    }
    if (save_project_file(name, true) != 0) {
        showStatusMessage(project_file::kErrSave);
        return false;
    }
    // Only a project that reached its new file takes its name.
    if (prompt_for_name)
        set_current_file(name);
    layout().set_modified(false);
    setWindowModified(false);
    refreshSaveAction();
    return true;
}

bool Tessaline::saveWithKnownOrNewName()
{
    return SaveProject(m_currentFile.isEmpty());
}

bool Tessaline::ask_save_if_modified()
{
    if (!isProjectModified())
        return true;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(this, string_resource(string_id::kApplicationName),
                             string_resource(kSaveChangesQuestionId),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::NoButton);
    if (answer == QMessageBox::Save)
        return saveWithKnownOrNewName();
    return answer == QMessageBox::Discard;
}

void Tessaline::set_current_file(const QString &path)
{
    m_currentFile = path;
    const QString shown =
        path.isEmpty() ? string_resource(string_id::kUntitledProjectName) : QFileInfo(path).fileName();
    setWindowTitle(tr("%1 - %2[*]").arg(string_resource(string_id::kApplicationName), shown));
    setWindowModified(false);
    // Backup copies never enter the recent files.
    if (!path.isEmpty() && !shown.startsWith(string_resource(string_id::kBackupFilePrefix)))
        add_recent_file(path);
}

void Tessaline::add_recent_file(const QString &path)
{
    CPreferences *prefs = preferences();
    if (!prefs)
        return;
    prefs->SetRecentFiles(with_recent_file(prefs->GetRecentFiles(), path));
    updateRecentFileActions();
}

void Tessaline::updateRecentFileActions()
{
    const QStringList files = preferences() ? preferences()->GetRecentFiles() : QStringList();
    const int shown = qMin(files.size(), kMaxRecentFiles);
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        QAction *action = m_recentFileActions[i];
        if (i >= shown) {
            action->setVisible(false);
            continue;
        }
        const QString &file = files.at(i);
        action->setText(recent_file_caption(i, file));
        action->setData(file);
        action->setStatusTip(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
        action->setVisible(true);
    }
}

void Tessaline::reset_default_target()
{
    CTargetValue target;
    target.SetName(QLatin1String(kDefaultTargetName));
    target.SetWhitePoint(CColorTemperature(kDefaultWhiteKelvin));
    target.SetContrastRatio(0);
    target.SetSpecifiedLuminance(kDefaultSpecifiedLuminance);
    target.SetValueA(0.0);
    target.SetGamma(kDefaultGamma);
    target.SetDicomScalingFactor(1.0);
    target.SetDicomScalingFlag(false);
    target.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
    target.SetGammaType(CTargetValue::kGammaPower);
    g_master->setTarget(target);
    emit updateTargetInfo();
}

void Tessaline::on_actionNew_Project_triggered()
{
    if (!ask_save_if_modified())
        return;
    set_current_file(QString());
    records().Clear();
    layout().reset_items();
    reset_default_target();
    updateControlsStatus();
}

void Tessaline::on_actionOpen_Project_triggered()
{
    if (!ask_save_if_modified())
        return;
    const QString chosen =
        get_open_file_name(this, string_resource(string_id::kOpenProjectCaption), dialog_start_path(m_currentFile),
                                              string_resource(string_id::kProjectFileFilter));
    if (!chosen.isEmpty() && QFile::exists(chosen))
        open_project_file(chosen);
}

void Tessaline::on_actionSave_Project_triggered()
{
    saveWithKnownOrNewName();
}

void Tessaline::on_actionSave_Project_As_triggered()
{
    SaveProject(true);
}

void Tessaline::openRecentFile(int index)
{
    if (!ask_save_if_modified())
        return;
    open_project_file(m_recentFileActions[index]->data().toString());
}

void Tessaline::on_action_recent_file_1_triggered()
{
    openRecentFile(0);
}

void Tessaline::on_action_recent_file_2_triggered()
{
    openRecentFile(1);
}

void Tessaline::on_action_recent_file_3_triggered()
{
    openRecentFile(2);
}

void Tessaline::on_action_recent_file_4_triggered()
{
    openRecentFile(3);
}

void Tessaline::on_action_recent_file_5_triggered()
{
    openRecentFile(4);
}

void Tessaline::start_save_backup_file_timer()
{
    m_backupTimer->stop();
    m_backupTimer->start(wait_service::timer_interval_ms(kBackupDelayMs));
}

void Tessaline::save_backup_file()
{
    if (m_currentFile.isEmpty())
        return;
    // A folder that cannot be made gets no copies rather than copies elsewhere.
    const QString folder = backups_folder(true);
    if (folder.isEmpty())
        return;
    // Two copies within one second share a name: the later one replaces the
    // earlier in one step, which survives a failed write.
    const QString copy = backup_copy_path(folder, m_currentFile, QDateTime::currentDateTime());
    if (save_project_file(copy, false) != 0)
        return;
    prune_backup_copies(folder, m_currentFile);
}

void Tessaline::restore_newest_backup()
{
    const QString folder = backups_folder(false);
    const QString newest = folder.isEmpty() ? QString() : newest_backup_copy(folder);
    if (newest.isEmpty())
        return;
    // A copy that brings the program down while it opens leaves the mark
    // clear, so the next start does not open it again.
    shutdown_marker::write(false);
    const int status = readProjectFile(newest);
    shutdown_marker::write(true);
    // Untitled: a later Save asks for a name and no copies are written before it.
    set_current_file(QString());
    if (status != 0) {
        reportUnreadableBackup(newest, status);
        return;
    }
    layout().set_modified(true);
    m_selectedIndex = 0;
    emit selection_changed_out(0);
    updateControlsStatus();
    qCInfo(main_window_log) << "restored backup" << newest << "title" << windowTitle() << "modified"
                            << isWindowModified();
    showStatusMessage(project_file::kBackupRestored);
}

// Set aside, the copy no longer counts as the newest at the next start.
void Tessaline::reportUnreadableBackup(const QString &path, int status)
{
    const QString aside = set_backup_copy_aside(path);
    qCInfo(main_window_log) << "unreadable backup" << path << "status" << status << "set aside as" << aside;
    const QString kept = aside.isEmpty()
                             ? tr("The backup copy \"%1\" could not be opened.").arg(QDir::toNativeSeparators(path))
                             : tr("The backup copy could not be opened; it is kept as \"%1\".")
                                   .arg(QDir::toNativeSeparators(aside));
    show_notice_box(this, error_code_text(status) + QLatin1Char(' ') + kept, nullptr, QMessageBox::Warning, false,
                    false);
}
