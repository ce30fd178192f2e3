// What the main window does once the splash has gone: the colour sensor
// check, then the update check and the backup restore or introduction.
#include "app/window/Tessaline.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/held_keys.h"
#include "app/services/process_finder.h"
#include "app/services/string_resource.h"
#include "app/window/main_window_log.h"
#include "display_protocol/wait_service.h"
#include "sensors/CTargetSensor.h"

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
}

void Tessaline::auto_check_for_updates()
{
}

void Tessaline::check_for_updates()
{
}

void Tessaline::check_for_update_reply(QString, int)
{
}
