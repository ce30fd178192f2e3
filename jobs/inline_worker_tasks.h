#pragma once

class CPDLANConnectionObject;

// The tasks that the worker carries out on its display link alone, without
// calibration data or the colour sensor.

// JOB_TASK_POWER_STATE: switches the display as the job's power request
// asks, with read-back into job_parameters.power.
int power_state_task(CPDLANConnectionObject &worker);
// JOB_TASK_VCP_LIST: applies the job's vcp_list; every entry's result goes
// into job_parameters.vcp_list_result, and an unsupported control ends the
// task with -1027.
int vcp_list_task(CPDLANConnectionObject &worker);
// JOB_TASK_IR_SEQUENCE: sends the job's remote-control keys.
int ir_sequence_task(CPDLANConnectionObject &worker);
