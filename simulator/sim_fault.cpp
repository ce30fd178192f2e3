#include "simulator/sim_fault.h"

namespace {

struct fault_name
{
    const char *name;
    sim_fault_kind kind;
};

const fault_name kFaultNames[] = {
    {"none", sim_fault_kind::none},
    {"refuse_connections", sim_fault_kind::refuse_connections},
    {"silent", sim_fault_kind::silent},
    {"close_mid_reply", sim_fault_kind::close_mid_reply},
    {"corrupt_soh", sim_fault_kind::corrupt_soh},
    {"corrupt_reserved", sim_fault_kind::corrupt_reserved},
    {"corrupt_destination", sim_fault_kind::corrupt_destination},
    {"corrupt_stx", sim_fault_kind::corrupt_stx},
    {"corrupt_etx", sim_fault_kind::corrupt_etx},
    {"corrupt_check", sim_fault_kind::corrupt_check},
    {"corrupt_cr", sim_fault_kind::corrupt_cr},
    {"wrong_length", sim_fault_kind::wrong_length},
    {"wrong_reply_type", sim_fault_kind::wrong_reply_type},
    {"wrong_reply_code", sim_fault_kind::wrong_reply_code},
    {"lower_case_hex", sim_fault_kind::lower_case_hex},
    {"refuse_be", sim_fault_kind::refuse_be},
};

} // namespace

bool sim_fault_kind_from_name(const QByteArray &name, sim_fault_kind *kind)
{
    for (const fault_name &f : kFaultNames) {
        if (name == f.name) {
            *kind = f.kind;
            return true;
        }
    }
    return false;
}

QList<QByteArray> sim_fault_kind_names()
{
    QList<QByteArray> names;
    for (const fault_name &f : kFaultNames)
        names << f.name;
    return names;
}
