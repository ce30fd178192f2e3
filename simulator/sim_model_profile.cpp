#include "simulator/sim_model_profile.h"

namespace {

// name, older, levels, short table, table max, minutes, engine, corners
const sim_model_profile kProfiles[] = {
    {"VW-4610C", true, sim_model_profile::kExpertModeLevels, false, 0, false, false, false},
    {"VW-5510C", true, sim_model_profile::kExpertModeLevels, false, 0, false, false, false},
    {"VW-4620L", false, sim_model_profile::kPagedLevels, false, 4095, true, false, false},
    {"VW-5520L", false, sim_model_profile::kPagedLevels, false, 4095, true, false, false},
    {"VW-5530Q", false, sim_model_profile::kPagedLevels, true, 1023, true, false, true},
    {"VW-5540QE", false, sim_model_profile::kPagedLevels, true, 1023, true, true, true},
    {"VW-6540QE", false, sim_model_profile::kPagedLevels, true, 1023, true, true, true},
};

} // namespace

const sim_model_profile *sim_model_profile::find(const QByteArray &name)
{
    for (const sim_model_profile &p : kProfiles) {
        if (name == p.name)
            return &p;
    }
    return nullptr;
}

QList<QByteArray> sim_model_profile::names()
{
    QList<QByteArray> out;
    for (const sim_model_profile &p : kProfiles)
        out << QByteArray(p.name);
    return out;
}
