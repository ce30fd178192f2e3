#pragma once

#include "app/controller/display_job_status_info_item.h"

#include <QList>
#include <QString>

class CAdjustValue;
class CMonitorTracker;

// One display of the wall: where it sits, how the program reaches it, what
// the program last learnt about it and a copy of its latest job status.
// A plain value, copied out of the layout model and written back.
struct display_layout_item
{
    enum ConnectionType { kRs232 = 0, kLan = 1 };
    enum VerifyStatus {
        kNotVerified = 0,
        kVerified = 1,
        kVerifyFailed = 2,
        kUnsupportedModel = 3,
        kUnsupportedFirmware = 4,
        kNotPoweredOn = 5,
    };
    enum Orientation { kOrientationNotSet = 0, kLandscape = 1, kPortrait = 2 };

    // The display's copy of its job status, in the order the wall view reads it.
    struct job_status_block
    {
        qint32 pending = 0;
        qint32 running = 0;
        qint32 last_result = 0;
        qint32 task_total = 0;
        qint32 task_step = 0;
        qint32 sub_task_total = 0;
        qint32 sub_task_step = 0;

        static job_status_block from(const display_job_status_info_item &status);
        bool operator==(const job_status_block &other) const;
    };

    qint32 column = 0;
    qint32 row = 0;
    bool enabled = true;
    qint32 verify_status = kNotVerified;
    qint32 monitor_id = 0;
    QString serial_number;
    QString model_name;
    qint32 connection_type = kRs232;
    QString connection_address; // IPv4 address for LAN, port name for RS-232
    bool id_conflict = false;        // derived: same monitor ID on the same address
    bool duplicate_display = false;  // derived: same serial number and model name
    QString display_text;
    job_status_block job_status;
    qint32 orientation = kOrientationNotSet;
};

// Recomputes id_conflict and duplicate_display of every item from the
// enabled ones; true when any flag is set. Serial numbers and model names
// match ignoring letter case.
bool update_derived_flags(QList<display_layout_item> &items);

// Copies the record of |item|'s display (found by model name and serial
// number) out of |records|; false when there is none.
bool look_up_display_record(const CMonitorTracker &records, const display_layout_item &item, CAdjustValue &record);
