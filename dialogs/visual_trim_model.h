#pragma once

#include "colour/monitor_tracker_item.h"
#include "dialogs/display_link_session.h"

#include <QColor>

#include <array>

class CMonitorTracker;
class basic_monitor;
class layout_manager;

// The visual trim of one display calibrated by channel gains or patch
// levels: what the display holds, what the operator has dialled in, and the
// writes that bring the display there, without any widget. The colour is
// edited as fractions of each channel's maximum (its HSV value is the
// overall level); the backlight is edited as a control value. The link to
// the display stays held from load() to accept() or cancel(), and is let go
// on a failed load and when the model goes.
class visual_trim_model
{
public:
    enum channel { kRed, kGreen, kBlue };
    using values = std::array<int, 3>;

    // Which of the dialog's controls may act now.
    struct enables
    {
        bool too_dark = false, too_bright = false, too_magenta = false, too_yellow = false, too_cyan = false,
             too_red = false, too_green = false, too_blue = false, undo = false, remove_all = false;
    };
    // What a brightness step changed: the wanted backlight or the colour level.
    enum step_result { kNothing, kColour, kBacklight };

    explicit visual_trim_model(basic_monitor *monitor);

    // Loads the display at |index| and puts its trimmed values on it; 0 or
    // the code that keeps the dialog from opening (-1036 not on, -1022 not in
    // a colour mode of its calibration, or the failed read or write).
    int load(int index, const layout_manager &layout, const CMonitorTracker &records);

    // --- the operator's changes ---
    void set_hue_saturation(double hue, double saturation);
    // The overall level, 0 .. 1.
    void set_level(double level);
    void set_channel(int channel, double fraction);
    void set_wanted_backlight(int value) { m_wanted_backlight = value; }
    step_result too_bright();
    step_result too_dark();
    // Each returns true when the wanted backlight changed too.
    bool undo();
    bool redo();
    bool remove_all();

    // --- writes ---
    // The colour's channels that differ from the display's; 0, or the last
    // failure (basic_monitor::kBusy when the link was busy: nothing written).
    int write_colour();
    int write_backlight();
    // Leaves the patch generator as found, lets the link go and stores the
    // trim in the record.
    void accept(CMonitorTracker &records);
    // Puts back what the display held at load and lets the link go.
    void cancel();

    // --- what the dialog shows ---
    enables control_enables() const;
    const QColor &colour() const { return m_colour; }
    double level() const { return m_colour.valueF(); }
    int channel_maximum(int channel) const { return int(m_maximum[channel]); }
    int backlight_minimum() const { return m_backlight_minimum; }
    int backlight_maximum() const { return m_backlight_maximum; }
    int wanted_backlight() const { return m_wanted_backlight; }
    int backlight() const { return m_backlight; }
    bool gain_mode() const { return m_gain_mode; }
    const values &current_values() const { return m_current; }
    const values &values_at_open() const { return m_at_open; }
    const values &untrimmed_values() const { return m_untrimmed; }
    const CAdjustValue &record() const { return m_record; }

    // v + 0.5 truncated.
    static int rnd(double value);

private:
    int open_and_check(const display_layout_item &item);
    int read_channels();
    void take_record_values();
    int put_current_values();
    values wanted_values() const;
    void step_level(double delta);

    basic_monitor *m_monitor;
    display_link_session m_link;
    monitor_tracker_item m_record;
    bool m_gain_mode = false;
    int m_level_mode_value = 1;
    std::array<uint, 3> m_maximum{{1, 1, 1}};
    values m_current{};
    values m_at_open{};
    values m_untrimmed{};
    QColor m_colour = QColor::fromRgbF(1, 1, 1);
    QColor m_colour_at_open = QColor::fromRgbF(1, 1, 1);
    QColor m_untrimmed_colour = QColor::fromRgbF(1, 1, 1);
    QColor m_redo_colour = QColor::fromRgbF(1, 1, 1);
    int m_backlight = 0;
    int m_backlight_at_open = 0;
    int m_backlight_untrimmed = 0;
    int m_redo_backlight = 0;
    int m_wanted_backlight = 0;
    int m_backlight_minimum = 0;
    int m_backlight_maximum = 0;
};
