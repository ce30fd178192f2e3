// What the main window does once the splash has gone: the colour sensor
// check, then the update check and the backup restore or introduction.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/held_keys.h"
#include "app/services/process_finder.h"
#include "app/services/string_resource.h"
#include "app/services/preferences.h"
#include "app/services/ui/message_boxes.h"
#include "app/update/checkForSoftwareUpdates.h"
#include "app/update/update_init_info.h"
#include "app/update/update_schedule.h"
#include "app/window/introduction_choices.h"
#include "app/window/introduction_dialog.h"
#include "app/window/main_window_log.h"
#include "display_protocol/wait_service.h"
#include "sensors/CTargetSensor.h"

#include <QDateTime>
#include <QMessageBox>
#include <QTimer>

namespace {

constexpr int kNoSensorRetryQuestionId = 106;
constexpr int kSpyderUtilityQuestionId = 704;
constexpr int kColormunkiQuestionId = 705;
constexpr int kProfilerTrayQuestionId = 721;

// The sensor kind "Datacolor Spyder3/4/5".
constexpr int kSpyderSensorKind = 5;

// Utilities of the instrument makers that hold on to their instruments.
const char kColormunkiService[] = "Colormunki.exe";
const char kProfilerTray[] = "i1ProfilerTray.exe";
const char *const kSpyderUtilities[] = {"Spyder3Utility.exe", "SpyderUtility.exe"};

bool sensor_open(const CTargetSensor &sensors)
{
    return sensors.GetSensor() != nullptr;
}

} // namespace

void Tessaline::askToCloseUtility(const QString &program, int question_id, bool detect_after)
{
    if (!find_process_by_image_name(program, false))
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, string_resource(string_id::kApplicationName), string_resource(question_id),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    find_process_by_image_name(program, true);
    if (!detect_after)
        return;
    // Once the utility lets go, the instrument may need a second look.
    CTargetSensor *sensors = g_master->getTargetSensor();
    sensors->DetectSensor();
    sensors->DetectSensor();
    updateControlsStatus();
}

void Tessaline::start_check_calibration_sensor()
{
    if (CTargetSensor *sensors = g_master->getTargetSensor()) {
        if (!sensor_open(*sensors))
            askToCloseUtility(QLatin1String(kColormunkiService), kColormunkiQuestionId, true);
        askToCloseUtility(QLatin1String(kProfilerTray), kProfilerTrayQuestionId, true);
        while (!sensor_open(*sensors)) {
            const QMessageBox::StandardButton answer = QMessageBox::question(
                this, string_resource(string_id::kApplicationName), string_resource(kNoSensorRetryQuestionId),
                QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry);
            if (answer != QMessageBox::Retry)
                break;
            sensors->DetectSensor();
            updateControlsStatus();
        }
        if (sensors->GetSensorType() == kSpyderSensorKind) {
            for (const char *utility : kSpyderUtilities)
                askToCloseUtility(QLatin1String(utility), kSpyderUtilityQuestionId, false);
        }
    }
    updateControlsStatus();
    QTimer::singleShot(wait_service::timer_interval_ms(kStartupContinuationMs), this, &Tessaline::showNewFeatures);
}

void Tessaline::showNewFeatures()
{
    const bool shift = held_keyboard_modifiers().testFlag(Qt::ShiftModifier);
    if (!shift)
        auto_check_for_updates();
    if (!m_previousRunUnclean) {
        qCInfo(main_window_log) << "start-up: introduction";
        show_introduction_dialog();
    } else if (!shift) {
        qCInfo(main_window_log) << "start-up: restoring the newest backup";
        restore_newest_backup();
    } else {
        qCInfo(main_window_log) << "start-up: Shift held, no restore";
    }
}

void Tessaline::show_introduction_dialog()
{
    CPreferences *prefs = preferences();
    if (!prefs || !introduction_wanted(*prefs))
        return;
    introduction_dialog dialog(*prefs, this);
    const int result = dialog.exec();
    record_introduction_choice(*prefs, result, dialog.dont_show_again());
    switch (result) {
    case kIntroductionOpenOtherProject:
        on_actionOpen_Project_triggered();
        break;
    case kIntroductionLayoutWizard:
        on_actionLayout_triggered();
        break;
    case kIntroductionOpenRecentProject:
        open_project_file(dialog.chosen_recent_project());
        break;
    default:
        break;
    }
}

void Tessaline::auto_check_for_updates()
{
    const CPreferences *prefs = preferences();
    if (!prefs || !automatic_update_check_due(*prefs, QDateTime::currentDateTime()))
        return;
    m_automaticUpdateCheck = true;
    check_for_updates();
}

void Tessaline::check_for_updates()
{
    if (!m_updateCheck) {
        m_updateCheck = new checkForSoftwareUpdates(this);
        connect(m_updateCheck, &checkForSoftwareUpdates::completion_message, this,
                &Tessaline::check_for_update_reply);
    }
    m_updateCheck->execute(make_update_init_info());
}

void Tessaline::check_for_update_reply(QString message, int kind)
{
    CPreferences *prefs = preferences();
    const bool show = prefs ? record_update_check(*prefs, kind, m_automaticUpdateCheck, QDateTime::currentDateTime())
                            : !m_automaticUpdateCheck || kind == kUpdateAvailable;
    if (show)
        show_notice_box(this, message, nullptr, QMessageBox::Information, false, false);
}
