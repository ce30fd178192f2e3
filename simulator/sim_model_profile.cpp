#include "simulator/sim_model_profile.h"

namespace {

using P = sim_model_profile;

// Invented figures of plausible products. Older models speak the older input
// codes (4 is their HDMI); the others the application's (17 HDMI, 18 HDMI2,
// 130 HDMI3, 131 HDMI4, 15/16/128 DisplayPort 1-3, 3 DVI, 135 media player,
// 136 compute module).
const sim_model_profile kProfiles[] = {
    // name, firmware, older, levels, level max, short table, table max, minutes, engine, corners, tile matrix max,
    // inputs, power-on delay max, sensors, fans, fan modes, sharpness, analog, refused key
    {"VW-4610C", "1.1.1.0", true, P::kExpertModeLevels, 255, false, 0, false, false, false, 0,
     {4, 1, 2, 3, 5, 7, 12}, 20, 2, 1, 1, true, P::kAnalogLevels, 0x69},
    {"VW-5510C", "1.1.1.0", true, P::kExpertModeLevels, 255, false, 0, false, false, false, 2,
     {4, 1, 2, 3, 5, 7, 9, 10, 12, 13}, 20, 2, 2, 3, true, P::kAlternateOffsets, 0x69},
    {"VW-4620L", "1.020", false, P::kPagedLevels, 1023, false, 4095, true, false, false, 3,
     {17, 18, 3, 15}, 50, 3, 3, 7, false, P::kNoAnalog, 0x69},
    {"VW-5520L", "1.020", false, P::kPagedLevels, 1023, false, 4095, true, false, false, 3,
     {17, 18, 130, 3, 15}, 50, 3, 3, 7, true, P::kNoAnalog, 0x69},
    {"VW-5530Q", "1.2.1.0", false, P::kPagedLevels, 1023, true, 1023, true, false, true, 3,
     {17, 18, 130, 131, 15, 16, 3}, 50, 3, 3, 7, true, P::kNoAnalog, 0x69},
    {"VW-5540QE", "1.0.20.0", false, P::kPagedLevels, 1023, true, 1023, true, true, true, 3,
     {17, 18, 130, 131, 15, 16, 135, 136}, 50, 3, 3, 7, true, P::kNoAnalog, 0},
    {"VW-6540QE", "1.0.20.0", false, P::kPagedLevels, 1023, true, 1023, true, true, true, 3,
     {17, 18, 130, 131, 15, 16, 128, 135, 136}, 50, 3, 3, 7, true, P::kNoAnalog, 0},
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
