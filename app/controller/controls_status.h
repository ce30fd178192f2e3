#pragma once

class CMonitorTracker;
class layout_manager;

// Which of the main window's display commands apply to the wall as it is:
// what the layout and the display records allow, for the whole wall and for
// the selected display. Widget-free; the window enables its actions from it.
struct controls_status
{
    bool any_measured = false;
    bool selected_measured = false;
    bool any_calibrated = false;
    bool selected_calibrated = false;
    bool selected_has_record = false;
    bool selected_on_rs232 = false;
    bool any_enabled = false;
    bool several_displays = false;
    // Some verified enabled display reports the uniformity capability.
    bool any_uniformity_capable = false;
};

controls_status evaluate_controls_status(layout_manager &layout, const CMonitorTracker &records,
                                         int selected_index);
