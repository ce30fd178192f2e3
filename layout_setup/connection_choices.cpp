#include "layout_setup/connection_choices.h"

#include "layout_setup/model_configuration_type.h"

connection_choices connection_choices_for(int configurationType, int displayCount)
{
    connection_choices choices;
    if (configurationType == MODEL_CONFIGURATION_TYPE_RS232_IN_OUT) {
        choices.lanEnabled = false;
        choices.forced = connection_choices::force_rs232;
    } else if (configurationType == MODEL_CONFIGURATION_TYPE_RS232_IN_LAN && displayCount > 1) {
        choices.rs232Enabled = false;
        choices.forced = connection_choices::force_lan;
    }
    return choices;
}
