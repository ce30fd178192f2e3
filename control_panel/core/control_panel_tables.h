#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The control panel dialog's frame as data: the page tree, the slider and
// spin box ties, the six-axis slider styles, the tree styles and the widgets
// that follow the number of target displays.
namespace control_panel_tables {

struct tree_entry
{
    const char *path;   // "/" separates levels; untranslated
    int page;
};
// The 22 tree entries in page order.
const QVector<tree_entry> &page_tree();

// The stems whose _horizontalSlider and _spinBox are tied both ways, in
// connection order.
const QStringList &slider_spin_box_ties();

struct slider_colours
{
    const char *slider;
    const char *first;
    const char *second;
    const char *third;
};
const QVector<slider_colours> &six_axis_sliders();
QString six_axis_slider_style(const slider_colours &colours);

// The page tree's style sheet for a dark (Window lightness below 0.5) or a
// light palette.
QString tree_style(bool dark);

// Shown exactly when several displays are targeted.
const QStringList &several_display_buttons();
// Enabled exactly when at most one display is targeted.
const QStringList &single_display_widgets();
// With several targets: cleared, enabled and disabled; with one, untouched.
const QStringList &several_cleared_labels();
const QStringList &several_enabled_widgets();
const QStringList &several_disabled_widgets();

} // namespace control_panel_tables
