#include "jobs/worker_task_table.h"

#include "jobs/analog_setup_tasks.h"
#include "jobs/calibration_history_task.h"
#include "jobs/capability_check_task.h"
#include "jobs/engine_sensor_tasks.h"
#include "jobs/initialization_tasks.h"
#include "jobs/inline_worker_tasks.h"
#include "jobs/input_tasks.h"
#include "jobs/job_task_type.h"
#include "jobs/lookup_table_tasks.h"
#include "jobs/measure_primaries_task.h"
#include "jobs/pattern_and_clock_tasks.h"
#include "jobs/reset_settings_task.h"
#include "jobs/schedule_tasks.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>

#include <array>
#include <iterator>

namespace {

struct task_table
{
    QMutex mutex;
    std::array<worker_task_operation, JOB_TASK_LAST + 1> operations{};

    task_table()
    {
        operations[JOB_TASK_INITIALIZE_DISPLAY] = &initialize_display;
        operations[JOB_TASK_RESTORE_CALIBRATION_SETTINGS] = &restore_calibration_settings;
        operations[JOB_TASK_UPDATE_LUTS] = &update_luts;
        operations[JOB_TASK_TEST_PATTERNS] = &set_test_patterns;
        operations[JOB_TASK_POWER_STATE] = &power_state_task;
        operations[JOB_TASK_SELECT_INPUT] = &select_input;
        operations[JOB_TASK_SET_CLOCK] = &set_display_clock;
        operations[JOB_TASK_INPUT_PICTURE_SETTINGS] = &set_input_picture_settings;
        operations[JOB_TASK_VCP_LIST] = &vcp_list_task;
        operations[JOB_TASK_LUT_READ_TEST] = &lut_read_test;
        operations[JOB_TASK_INITIALIZE_AND_UPDATE_LUTS] = &initialize_and_update_luts;
        operations[JOB_TASK_IR_SEQUENCE] = &ir_sequence_task;
        operations[JOB_TASK_INITIALIZE_DISPLAY_ENGINE] = &initialize_display_engine;
        // Display settings.
        operations[JOB_TASK_ANALOG_AUTO_SETUP] = &analog_auto_setup;
        operations[JOB_TASK_ANALOG_AUTO_GAIN] = &analog_auto_gain;
        operations[JOB_TASK_SCHEDULE] = &schedule_read_write;
        operations[JOB_TASK_SCHEDULE_BANK_12] = &schedule_read_write_bank_12;
        operations[JOB_TASK_HOLIDAYS] = &process_holidays;
        operations[JOB_TASK_GET_SET_VALUE] = &get_set_value;
        operations[JOB_TASK_RESET_SETTINGS] = &reset_settings;
        operations[JOB_TASK_READ_CALIBRATION_HISTORY] = &read_calibration_history;
        // The display engine's procedures with the colour sensor.
        operations[JOB_TASK_UPDATE_CALIBRATION] = &update_calibration;
        operations[JOB_TASK_MEASURE] = &measure;
        // Capability check and primaries.
        operations[JOB_TASK_CHECK_CAPABILITIES] = [](CPDLANConnectionObject &worker) {
            return check_capabilities(worker, false);
        };
        operations[JOB_TASK_CHECK_CAPABILITIES_FULL] = [](CPDLANConnectionObject &worker) {
            return check_capabilities(worker, true);
        };
        operations[JOB_TASK_MEASURE_PRIMARIES] = &measure_primaries;
    }
};

task_table &table()
{
    static task_table instance;
    return instance;
}

const char *const kTaskNames[] = {
    QT_TRANSLATE_NOOP("worker_task", "Capability check"),
    QT_TRANSLATE_NOOP("worker_task", "Display initialization"),
    QT_TRANSLATE_NOOP("worker_task", "Reserved"),
    QT_TRANSLATE_NOOP("worker_task", "Measurement of primaries"),
    QT_TRANSLATE_NOOP("worker_task", "Restore calibration settings"),
    QT_TRANSLATE_NOOP("worker_task", "Lookup table update"),
    QT_TRANSLATE_NOOP("worker_task", "Test patterns"),
    QT_TRANSLATE_NOOP("worker_task", "Power state"),
    QT_TRANSLATE_NOOP("worker_task", "Input selection"),
    QT_TRANSLATE_NOOP("worker_task", "Display clock"),
    QT_TRANSLATE_NOOP("worker_task", "Analog auto setup"),
    QT_TRANSLATE_NOOP("worker_task", "Analog auto bias and gain"),
    QT_TRANSLATE_NOOP("worker_task", "Input picture settings"),
    QT_TRANSLATE_NOOP("worker_task", "Control list"),
    QT_TRANSLATE_NOOP("worker_task", "Schedules"),
    QT_TRANSLATE_NOOP("worker_task", "Full capability check"),
    QT_TRANSLATE_NOOP("worker_task", "Lookup table read test"),
    QT_TRANSLATE_NOOP("worker_task", "Initialization and lookup table update"),
    QT_TRANSLATE_NOOP("worker_task", "Remote control keys"),
    QT_TRANSLATE_NOOP("worker_task", "Calibration"),
    QT_TRANSLATE_NOOP("worker_task", "Extended schedules"),
    QT_TRANSLATE_NOOP("worker_task", "Holidays"),
    QT_TRANSLATE_NOOP("worker_task", "Weekend days"),
    QT_TRANSLATE_NOOP("worker_task", "Measurement"),
    QT_TRANSLATE_NOOP("worker_task", "Calibration update"),
    QT_TRANSLATE_NOOP("worker_task", "Reset settings"),
    QT_TRANSLATE_NOOP("worker_task", "Engine initialization"),
    QT_TRANSLATE_NOOP("worker_task", "Calibration history"),
};
static_assert(std::size(kTaskNames) == JOB_TASK_LAST + 1, "one name per task number");

} // namespace

bool is_passed_over_task(qint32 task)
{
    return task < 0 || task > JOB_TASK_LAST || task == JOB_TASK_RESERVED;
}

bool install_worker_task(qint32 task, worker_task_operation operation)
{
    if (is_passed_over_task(task))
        return false;
    QMutexLocker lock(&table().mutex);
    table().operations[static_cast<std::size_t>(task)] = operation;
    return true;
}

worker_task_operation worker_task(qint32 task)
{
    if (is_passed_over_task(task))
        return nullptr;
    QMutexLocker lock(&table().mutex);
    return table().operations[static_cast<std::size_t>(task)];
}

QString worker_task_name(qint32 task)
{
    if (task < 0 || task > JOB_TASK_LAST)
        return QString::number(task);
    return QCoreApplication::translate("worker_task", kTaskNames[task]);
}
