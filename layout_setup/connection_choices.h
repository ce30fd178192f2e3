#pragma once

// Which ways of reaching the first display a wall allows: a model with only
// RS-232 connectors must use the cable; a wall of several displays that have
// RS-232 in but no RS-232 out cannot be chained over RS-232, so it must use
// the LAN. Every other wall may use either, and the operator's choice stands.
struct connection_choices {
    enum forced_choice { keep_choice, force_lan, force_rs232 };

    bool lanEnabled = true;
    bool rs232Enabled = true;
    forced_choice forced = keep_choice;
};

// The choices for a model configuration type and a number of displays.
connection_choices connection_choices_for(int configurationType, int displayCount);
