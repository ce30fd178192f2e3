#pragma once

#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "display_protocol/vcp_list_item.h"
#include "jobs/display_task_inputs.h"

#include <QHash>
#include <QList>
#include <QtGlobal>

#include <initializer_list>
#include <optional>
#include <vector>

class CPDLANConnectionObject;

// Control lists as data. A display task describes each list it sends as a
// table of control_list_row; the rows are turned into vcp_list_item steps against
// what the task knows (control_list_inputs) and run by
// basic_monitor::apply_vcp_list, which keeps the per-control settle times.

// What the values and conditions of a control list come from: the
// preferences, the target, the display's record, the job, and what earlier
// lists of the same task read from the display.
class control_list_inputs
{
public:
    display_task_preferences preferences;
    CTargetValue target;
    CAdjustValue record;
    qint32 osd_preset = -1;     // the job's value for the OSD control; negative: none
    bool engine = false;        // the display's engine is in use for this task

    // Takes in the steps of a list that ran: the reads that succeeded and the
    // writes that were carried out.
    void remember(const QList<vcp_list_item> &applied);
    // The value (or maximum) an earlier list read from |code|; nothing when
    // no read of it succeeded.
    std::optional<qint32> read_value(int code) const;
    std::optional<qint32> read_maximum(int code) const;
    // Whether an earlier list wrote |code| without error.
    bool wrote(int code) const;

private:
    QHash<int, vcp_list_item> m_reads;
    QHash<int, vcp_list_item> m_writes;
};

// One row of a control list table.
struct control_list_row
{
    // A value taken from the inputs; nothing leaves the row out.
    using value_source = std::optional<qint32> (*)(const control_list_inputs &);
    using condition = bool (*)(const control_list_inputs &);

    qint32 code = 0;
    qint32 action = vcp_list_item::kWrite;
    qint32 constant = 0;            // the value when there is no source
    value_source source = nullptr;
    bool read_first = false;        // skip the write when the display holds the value already
    condition when = nullptr;       // null: always
    // A pause once this row has run (the rest of the list runs after it):
    // through the display link, or reporting the time left.
    int pause_after_ms = 0;
    bool pause_reports_status = false;

    // The usual kinds of row.
    static control_list_row write(qint32 code, qint32 value, condition when = nullptr);
    static control_list_row write(qint32 code, value_source source, condition when = nullptr);
    static control_list_row act(qint32 action, qint32 code, condition when = nullptr);
    static control_list_row read(qint32 code, condition when = nullptr);
};

using control_list_rows = std::vector<control_list_row>;

// One table made of several, in order.
control_list_rows joined(std::initializer_list<control_list_rows> tables);
// |table| with every row reading first (or not).
control_list_rows reading_first(control_list_rows table, bool read_first = true);

// The steps of |rows| for |inputs|: rows whose condition fails or whose
// source gives nothing are left out.
QList<vcp_list_item> build_vcp_list(const control_list_rows &rows, const control_list_inputs &inputs);

// Builds and runs |rows| on the worker's display link, with the link's
// progress reports when |progress| is set, and remembers what ran in
// |inputs|. A row that pauses ends one run of apply_vcp_list; the pause
// follows and the rest runs after it. Returns the first error (a control
// the display lacks is no error), or JOB_RESULT_STOPPED when the job was
// stopped during a pause. |applied| receives the steps as they ran.
int run_control_rows(CPDLANConnectionObject &worker, const control_list_rows &rows, control_list_inputs &inputs,
                     bool progress, QList<vcp_list_item> *applied = nullptr);
