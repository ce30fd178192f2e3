#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

class CAdjustValue;
class basic_monitor;
struct display_layout_item;

// The uniformity correction update dialog's rules, without a widget.

// The measurement grid counts of the preferences (low byte horizontal, next
// byte vertical); a count outside 3 .. 10 becomes 3.
struct uniformity_point_counts
{
    int horizontal = 3;
    int vertical = 3;

    static uniformity_point_counts from_preferences(int packed);
    int packed() const { return vertical << 8 | horizontal; }
};

// "Total of N measurement points. Estimated time to complete is M minutes."
QString uniformity_estimate_text(int horizontal, int vertical);

// What the dialog reads of the display: whether its engine is on, the
// uniformity level with its maximum, and the test pattern with its levels.
struct uniformity_display_state
{
    bool engine_on = false;
    bool level_read = false;
    int level = 0;
    int level_maximum = 0;
    bool pattern_read = false;
    int pattern = 1;          // 1 off, 2 or more on
    int levels[3] = {0, 0, 0};
    int level_maxima[3] = {0, 0, 0};
};
// Reads it through an open link; always 0 (what cannot be read stays unset).
uniformity_display_state read_uniformity_state(basic_monitor &monitor);

// The status text (rich text) of the display's uniformity reference.
// |record| is null when the display has no record; then the status cannot
// be told (|ok| false) unless the layout item already says why not.
// |undetermined| is set when the history does not tell.
struct uniformity_status
{
    QString text;
    bool ok = true;
    bool undetermined = false;
};
uniformity_status uniformity_status_for(const display_layout_item &item, const CAdjustValue *record,
                                        bool engine_on, int level, bool portrait);

// The measurement-point picture: the screen in widget pixels, the marker
// diameter and the marker centres (grid, then the centre).
struct measurement_point_layout
{
    QRectF screen;
    double marker = 0.0;
    QList<QPointF> centres;
};
measurement_point_layout measurement_point_layout_for(QSizeF widget, int horizontal, int vertical, bool portrait);
