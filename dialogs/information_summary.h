#pragma once

#include "dialogs/wall_display_records.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class CTargetValue;

// The rows of the information dialog's two summary tables, built without
// widgets from a display's layout item, its record and the target.

// One table cell. An icon's resource path goes with the cell for the report
// unless |icon_for_report| is false.
struct summary_cell
{
    QString text;
    QString icon;
    QString tooltip;
    bool icon_for_report = true;
};

constexpr int kConnectionColumnCount = 12;
constexpr int kCalibrationColumnCount = 13;

using connection_cells = std::array<std::optional<summary_cell>, kConnectionColumnCount>;
using calibration_cells = std::array<std::optional<summary_cell>, kCalibrationColumnCount>;

struct summary_row
{
    connection_cells connection;
    calibration_cells calibration;
    // Text lines the calibration row needs; its height follows.
    int line_count = 1;
};

// The largest luminance the display can reach at the target's white point,
// when it could be worked out.
struct display_max_luminance
{
    bool known = false;
    double luminance = 0.0;
};

// The connection and calibration cells of one display. A display whose
// layout item cannot be read gives an empty row.
summary_row build_summary_row(const wall_display &display, const CTargetValue &target,
                              display_max_luminance max_luminance);

// The tables' header labels, in column order.
QStringList connection_summary_headers();
QStringList calibration_summary_headers();
