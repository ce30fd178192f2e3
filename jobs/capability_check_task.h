#pragma once

class CPDLANConnectionObject;

// JOB_TASK_CHECK_CAPABILITIES (|full| false) and
// JOB_TASK_CHECK_CAPABILITIES_FULL (|full| true): whether the display can
// take part in a calibration, with its verdict in the job's verify_status:
// 1 usable; 2 identification or the identity texts could not be read;
// 3 a listed engine model (is_listed_engine_model) or a display without a
// readable pattern control; 4 firmware older than its model's minimum;
// 5 switched off (result -1028).
//
// Fills the capability part of the display's record (engine controls,
// uniformity level, corner uniformity and its entries, MAC address, and with
// the extended reads the firmware text and its verdict) and stores the
// record on every way out. The extended reads run for the full check and
// whenever the record holds no firmware text yet.
int check_capabilities(CPDLANConnectionObject &worker, bool full);
