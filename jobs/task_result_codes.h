#pragma once

// Error codes that display tasks return of their own, beside the display
// link's, the sensor's and the job road's (job_task_type.h). A display
// found switched off where it must be on is kErrDisplayNotPoweredOn
// (app/controller/display_commands.h).
namespace task_result {

enum : int {
    kNoSensor = -1000,              // no colour sensor is connected
    kColourPatchRejected = -1004,   // the sensor did not see a red, green or blue patch as that colour
    kDisplayNotOn = -1036,          // a task that needs the display switched on found it off
    kEngineBusyTooLong = -1038,     // the display's engine stayed busy beyond the polls allowed
    kProcedureRefused = -1039,      // the display refused the engine procedure
    kEngineTooOld = -1040,          // the display's engine cannot update its calibration
    kLevelPatchRejected = -1041,    // the sensor did not see the white or the black patch as such
};

} // namespace task_result
