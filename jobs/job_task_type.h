#pragma once

#include <QtGlobal>

// The task numbers of a job's task list. The worker runs them in list order;
// 2, negative numbers and numbers above JOB_TASK_LAST are passed over.
enum job_task_type : qint32 {
    JOB_TASK_CHECK_CAPABILITIES = 0,
    JOB_TASK_INITIALIZE_DISPLAY = 1,
    JOB_TASK_RESERVED = 2,
    JOB_TASK_MEASURE_PRIMARIES = 3,
    JOB_TASK_RESTORE_CALIBRATION_SETTINGS = 4,
    JOB_TASK_UPDATE_LUTS = 5,
    JOB_TASK_TEST_PATTERNS = 6,
    JOB_TASK_POWER_STATE = 7,
    JOB_TASK_SELECT_INPUT = 8,
    JOB_TASK_SET_CLOCK = 9,
    JOB_TASK_ANALOG_AUTO_SETUP = 10,
    JOB_TASK_ANALOG_AUTO_GAIN = 11,
    JOB_TASK_INPUT_PICTURE_SETTINGS = 12,
    JOB_TASK_VCP_LIST = 13,
    JOB_TASK_SCHEDULE = 14,
    JOB_TASK_CHECK_CAPABILITIES_FULL = 15,
    JOB_TASK_LUT_READ_TEST = 16,
    JOB_TASK_INITIALIZE_AND_UPDATE_LUTS = 17,
    JOB_TASK_IR_SEQUENCE = 18,
    JOB_TASK_CALIBRATE = 19,
    JOB_TASK_SCHEDULE_BANK_12 = 20,
    JOB_TASK_HOLIDAYS = 21,
    JOB_TASK_GET_SET_VALUE = 22,
    JOB_TASK_MEASURE = 23,
    JOB_TASK_UPDATE_CALIBRATION = 24,
    JOB_TASK_RESET_SETTINGS = 25,
    JOB_TASK_INITIALIZE_DISPLAY_ENGINE = 26,
    JOB_TASK_READ_CALIBRATION_HISTORY = 27,
};

constexpr qint32 JOB_TASK_LAST = JOB_TASK_READ_CALIBRATION_HISTORY;

// Result codes on the job road besides 0 and the tasks' own error codes.
enum job_result_code : qint32 {
    JOB_RESULT_STOPPED = -9000,     // stopped while running (the stop flag was seen)
    JOB_RESULT_CANCELLED = -9001,   // cancelled before it started
    // A task of the list has no operation in this build; the job's error
    // text names the task.
    JOB_RESULT_TASK_NOT_AVAILABLE = -1042,
};
