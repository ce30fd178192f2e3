#pragma once

#include "colour/CornerUniformityEntry.h"
#include "colour/monitor_tracker_item.h"
#include "dialogs/display_link_session.h"

#include <array>

class CMonitorTracker;
class basic_monitor;
class layout_manager;

// The visual trim of one display calibrated through its internal engine,
// without any widget: the engine's luminance, white point (thousandths)
// and overall uniformity level, and the four screen corners' colour
// corrections, as the display holds them, as they stood at load and as
// calibrated; the writes that bring the display there. The link stays held
// from load() to accept() or cancel(), and is let go on a failed load and
// when the model goes.
class engine_trim_model
{
public:
    struct trim_values
    {
        int luminance = 0;
        int x = 0;
        int y = 0;
        int level = 0;
        bool operator==(const trim_values &o) const
        {
            return luminance == o.luminance && x == o.x && y == o.y && level == o.level;
        }
        bool operator!=(const trim_values &o) const { return !(*this == o); }
    };
    using corners = std::array<CornerUniformityEntry, 4>;

    explicit engine_trim_model(basic_monitor *monitor);

    // 0 or the code that keeps the dialog from opening (-1036 not on, -1022
    // an engine control unsupported, or the failed read or write).
    int load(int index, const layout_manager &layout, const CMonitorTracker &records);

    // --- writes; each returns 0 or the failure (kBusy: nothing written) ---
    // The white point and, when supported, the uniformity level of |wanted|.
    int write_white_and_level(const trim_values &wanted);
    int write_luminance(int luminance);
    // The luminance up to which the level is fully applied (0 when it
    // cannot be read); the read's status.
    int read_uniformity_limit();
    // The white luminance the engine holds now, or a failure.
    int read_held_luminance(int &value);
    // The selected corner's entry, then the level again.
    int write_selected_corner();
    // Size |size| for the selected corner: select it, the size, the level.
    int write_corner_size(int size);
    // Resets |corner| to its centre; 1 when written, 0 when it was there,
    // or the failure (the offsets as before).
    int reset_corner(int corner);
    // Writes the level again when |any_written|; the reset's result.
    int rewrite_level();

    void accept(CMonitorTracker &records);
    void cancel();

    // --- corner editing ---
    bool valid_corner() const { return m_selected >= 0 && m_selected < 4; }
    int selected_corner() const { return m_selected; }
    void select_corner(int corner) { m_selected = corner; }
    // The selected corner's offsets moved by (|first|, |second|), kept in
    // 0 .. their maxima; false with no valid corner.
    bool move_corner(int first, int second);
    bool set_corner_offsets(int first, int second);
    static bool at_centre(const CornerUniformityEntry &entry);
    // Corners supported, the level not off and some corner read.
    bool corner_editing(int level) const;
    bool any_corner_off_centre() const;

    // --- what the dialog shows ---
    const trim_values &current() const { return m_current; }
    const trim_values &at_open() const { return m_atOpen; }
    const trim_values &untrimmed() const { return m_untrimmed; }
    const corners &current_corners() const { return m_corners; }
    const corners &corners_at_open() const { return m_cornersAtOpen; }
    int luminance_minimum() const { return m_luminanceMinimum; }
    int luminance_maximum() const { return m_luminanceMaximum; }
    int level_maximum() const { return m_levelMaximum; }
    bool uniformity_supported() const { return m_uniformitySupported; }
    bool corners_supported() const { return m_cornersSupported; }
    bool luminance_in_candela() const { return m_candela; }
    int uniformity_limit() const { return m_uniformityLimit; }
    bool portrait() const { return m_portrait; }
    const CAdjustValue &record() const { return m_record; }

private:
    int open_and_read(const display_layout_item &item, const layout_manager &layout, const CMonitorTracker &records,
                      int index);
    void take_record_values();
    int put_values();
    int put_levels_at_maximum();
    int put_corners();
    int set(int code, int value);
    int write_back();

    basic_monitor *m_monitor;
    display_link_session m_link;
    monitor_tracker_item m_record;
    trim_values m_current;
    trim_values m_atOpen;
    trim_values m_untrimmed;
    corners m_corners{};
    corners m_cornersAtOpen{};
    int m_selected = 0;
    int m_luminanceMinimum = 0;
    int m_luminanceMaximum = 0;
    int m_levelMaximum = 0;
    int m_uniformityLimit = 0;
    int m_levelModeValue = 1;
    bool m_uniformitySupported = false;
    bool m_cornersSupported = false;
    bool m_candela = false;
    bool m_portrait = false;
};
