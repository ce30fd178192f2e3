#include "simulator/sim_model_profile.h"

namespace {

// name, older, levels, short table, table max, minutes, engine, corners, native gamut
const sim_model_profile kProfiles[] = {
    {"VW-4610C", true, sim_model_profile::kExpertModeLevels, false, 0, false, false, false,
     {640, 330, 300, 600, 150, 60}},
    {"VW-5510C", true, sim_model_profile::kExpertModeLevels, false, 0, false, false, false,
     {640, 330, 300, 600, 150, 60}},
    {"VW-4620L", false, sim_model_profile::kPagedLevels, false, 4095, true, false, false,
     {650, 330, 290, 610, 150, 55}},
    {"VW-5520L", false, sim_model_profile::kPagedLevels, false, 4095, true, false, false,
     {650, 330, 290, 610, 150, 55}},
    {"VW-5530Q", false, sim_model_profile::kPagedLevels, true, 1023, true, false, true,
     {660, 325, 280, 630, 150, 50}},
    {"VW-5540QE", false, sim_model_profile::kPagedLevels, true, 1023, true, true, true,
     {675, 315, 265, 680, 150, 50}},
    {"VW-6540QE", false, sim_model_profile::kPagedLevels, true, 1023, true, true, true,
     {680, 310, 260, 690, 150, 48}},
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
