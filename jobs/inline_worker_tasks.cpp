#include "jobs/inline_worker_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"

#include <algorithm>

namespace {

constexpr uint kPowerSettleMs = 2000;
constexpr int kAttemptsAfterPowerChange = 10;

bool any_unsupported(const QList<vcp_list_item> &list)
{
    return std::any_of(list.cbegin(), list.cend(),
                       [](const vcp_list_item &item) { return item.result == basic_monitor::kNotSupported; });
}

} // namespace

int power_state_task(CPDLANConnectionObject &worker)
{
    const job_list_item &job = worker.job();
    job_power_result &out = worker.job().job_parameters.power;
    basic_monitor &link = worker.link();
    const auto fail = [&out](int status) {
        out.result = status;
        out.done = 1;
        return status;
    };
    bool changed = false;
    if (job.power.set) {
        worker.report_step(CPDLANConnectionObject::tr("Setting power state..."));
        if (job.power.read_back) {
            // A state that cannot be read counts as changed: the display gets
            // its time to settle.
            quint8 before = 0;
            changed = link.get_power_state(before) != 0 || before != job.power.mode;
        }
        if (const int status = link.set_power_state(static_cast<quint8>(job.power.mode)))
            return fail(status);
    } else {
        worker.report_step(QString());
    }
    if (job.power.read_back) {
        if (changed) {
            link.pause(kPowerSettleMs);
            link.set_retry_count(kAttemptsAfterPowerChange);
        }
        quint8 mode = 0;
        if (const int status = link.get_power_state(mode))
            return fail(status);
        out.mode = mode;
    }
    out.done = 1;
    return 0;
}

int vcp_list_task(CPDLANConnectionObject &worker)
{
    job_list_item &job = worker.job();
    worker.report_step(QString());
    if (job.vcp_list.isEmpty())
        return 0;
    QList<vcp_list_item> list = job.vcp_list;
    int status = worker.link().apply_vcp_list(list, true);
    if (status == 0 && any_unsupported(list))
        status = basic_monitor::kNotSupported;
    job.job_parameters.vcp_list_result = list;
    return status;
}

int ir_sequence_task(CPDLANConnectionObject &worker)
{
    job_list_item &job = worker.job();
    worker.report_step(QString());
    if (job.ir_sequence.isEmpty())
        return 0;
    const int status = worker.link().send_ir_sequence(job.ir_sequence);
    job.job_parameters.ir_result = status;
    return status;
}
