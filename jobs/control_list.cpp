#include "jobs/control_list.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"

void control_list_inputs::remember(const QList<vcp_list_item> &applied)
{
    for (const vcp_list_item &item : applied) {
        if (item.result != 0)
            continue;
        (item.action == vcp_list_item::kRead ? m_reads : m_writes).insert(item.code, item);
    }
}

std::optional<qint32> control_list_inputs::read_value(int code) const
{
    const auto found = m_reads.constFind(code);
    return found == m_reads.cend() ? std::nullopt : std::optional<qint32>(found->value);
}

std::optional<qint32> control_list_inputs::read_maximum(int code) const
{
    const auto found = m_reads.constFind(code);
    return found == m_reads.cend() ? std::nullopt : std::optional<qint32>(found->max);
}

bool control_list_inputs::wrote(int code) const
{
    return m_writes.contains(code);
}

control_list_row control_list_row::write(qint32 code, qint32 value, condition when)
{
    control_list_row row;
    row.code = code;
    row.constant = value;
    row.when = when;
    return row;
}

control_list_row control_list_row::write(qint32 code, value_source source, condition when)
{
    control_list_row row = write(code, 0, when);
    row.source = source;
    return row;
}

control_list_row control_list_row::act(qint32 action, qint32 code, condition when)
{
    control_list_row row = write(code, 0, when);
    row.action = action;
    return row;
}

control_list_row control_list_row::read(qint32 code, condition when)
{
    return act(vcp_list_item::kRead, code, when);
}

control_list_rows joined(std::initializer_list<control_list_rows> tables)
{
    control_list_rows all;
    for (const control_list_rows &table : tables)
        all.insert(all.end(), table.begin(), table.end());
    return all;
}

control_list_rows reading_first(control_list_rows table, bool read_first)
{
    for (control_list_row &row : table)
        row.read_first = read_first;
    return table;
}

namespace {

// The step of |row|, or nothing when the row is left out.
std::optional<vcp_list_item> step_of(const control_list_row &row, const control_list_inputs &inputs)
{
    if (row.when && !row.when(inputs))
        return std::nullopt;
    qint32 value = row.constant;
    if (row.source) {
        const std::optional<qint32> taken = row.source(inputs);
        if (!taken)
            return std::nullopt;
        value = *taken;
    }
    return vcp_list_item::make(row.action, row.code, value, row.read_first);
}

} // namespace

QList<vcp_list_item> build_vcp_list(const control_list_rows &rows, const control_list_inputs &inputs)
{
    QList<vcp_list_item> list;
    for (const control_list_row &row : rows) {
        if (const std::optional<vcp_list_item> step = step_of(row, inputs))
            list << *step;
    }
    return list;
}

int run_control_rows(CPDLANConnectionObject &worker, const control_list_rows &rows, control_list_inputs &inputs,
                     bool progress, QList<vcp_list_item> *applied)
{
    if (applied)
        applied->clear();
    auto first = rows.cbegin();
    while (first != rows.cend()) {
        // The rows up to and including the next one that pauses.
        auto last = first;
        while (last != rows.cend() && last->pause_after_ms <= 0)
            ++last;
        const control_list_row *pausing = last != rows.cend() ? &*last : nullptr;
        const auto end = pausing ? last + 1 : last;
        const bool pauses = pausing && step_of(*pausing, inputs);
        // A value may come from what the part before the pause read.
        QList<vcp_list_item> list = build_vcp_list(control_list_rows(first, end), inputs);
        const int status = list.isEmpty() ? 0 : worker.link().apply_vcp_list(list, progress);
        inputs.remember(list);
        if (applied)
            *applied << list;
        if (status != 0)
            return status;
        if (pauses) {
            if (pausing->pause_reports_status) {
                if (const int stopped = worker.sleep_with_status(pausing->pause_after_ms))
                    return stopped;
            } else {
                worker.link().pause(static_cast<uint>(pausing->pause_after_ms));
            }
        }
        first = end;
    }
    return 0;
}
