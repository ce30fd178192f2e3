#pragma once

#include "app/controller/display_layout_item.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class CAdjustValue;
class CTargetValue;

// What one tile of the wall view shows, decided without a widget: the facts
// read from the display's record, the tooltip, the fill, the status text, the
// icon row and the job ring. The tile only draws it.

// Facts from the display's record; all false without one.
struct tile_facts
{
    bool calibrated = false;
    bool measured = false;
    bool visual_trim = false;
    bool intensity_off_target = false;  // calibrated white too far from the target
    bool rgb_gains = false;             // calibrated through the channel gains
    bool maximum_below_target = false;  // the display cannot reach the target
    bool engine_in_use = false;
    bool engine_present = false;
    bool uses_target_offset = false;
    bool without_sensor = false;        // calibrated through the engine alone
};

enum class tile_ring { none, dotted, arc };

struct tile_view
{
    tile_facts facts;
    QString tooltip;
    QColor fill;
    QColor hover_fill;
    int status_text_id = 0;     // string resource of the status text; 0 for none
    QStringList icons;          // picture names below ":/images/Resources/", without ".png"
    tile_ring ring = tile_ring::none;
    double ring_degrees = 0.0;  // clockwise from 12 o'clock, for an arc
};

// What the tile needs to know about its display besides the layout item.
struct tile_inputs
{
    // The display's record; look it up only for an enabled display without
    // an ID conflict.
    const CAdjustValue *record = nullptr;
    const CTargetValue *target = nullptr;
    bool use_engine = false;    // the preference to use the display's engine
    // The luminance the display reaches at the target's white point, when
    // known and positive.
    std::optional<double> reachable_luminance;
};

tile_facts tile_facts_of(const display_layout_item &item, const tile_inputs &inputs);
tile_view tile_view_of(const display_layout_item &item, const tile_inputs &inputs);
// The view from facts already known: a job status change re-reads only the
// layout item.
tile_view tile_view_from(const display_layout_item &item, const tile_facts &facts, bool use_engine);

// The text drawn on a tile: "# <number>" and the status text on the next line.
QString tile_text(int index, int status_text_id);
