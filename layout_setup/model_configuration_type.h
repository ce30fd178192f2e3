#pragma once

#include <QVector>

// The connector configurations of a display model (the second column of the
// display model table). They decide which connection choices the layout
// wizard offers.
enum model_configuration_type {
    MODEL_CONFIGURATION_TYPE_ALL = 0,          // no restriction
    MODEL_CONFIGURATION_TYPE_RS232_IN_OUT = 1, // RS-232 in and out, no LAN
    MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN = 2,
    MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232 = 3, // RS-232 in, two LAN ports (LAN daisy chain)
    MODEL_CONFIGURATION_TYPE_RS232_IN_LAN = 4,    // RS-232 in and LAN, no RS-232 out
};

// One choice of the configuration list: its type, its text (untranslated)
// and its picture (empty for none).
struct model_configuration_choice {
    model_configuration_type type;
    const char *text;
    const char *icon;
};

// The configuration list in the order it is offered.
const QVector<model_configuration_choice> &model_configuration_choices();

// Whether |type| is one of the listed configurations.
bool is_model_configuration_type(int type);
