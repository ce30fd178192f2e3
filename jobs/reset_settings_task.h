#pragma once

class CPDLANConnectionObject;

// JOB_TASK_RESET_SETTINGS: the display's internal engine puts back its
// factory calibration. The engine leads; its progress becomes the job's
// ("Resetting Settings..."). Results: -1039 when the display refuses the
// procedure, -1038 when the engine stays busy, JOB_RESULT_STOPPED after a
// stop (the engine stopped and the procedure left), the display's errors,
// or the final ready wait's result (-1 when the engine never became ready).
int reset_settings(CPDLANConnectionObject &worker);
