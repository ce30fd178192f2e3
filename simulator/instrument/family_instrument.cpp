#include "simulator/instrument/family_instrument.h"

#include <QJsonDocument>

sim_instrument::simulated_instrument &family_instrument()
{
    static sim_instrument::simulated_instrument instrument(QJsonDocument::fromJson(kFamilyDefaults).object());
    return instrument;
}
