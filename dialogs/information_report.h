#pragma once

#include "dialogs/wall_display_records.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class CTargetValue;

// The information report: one HTML document of the wall's layout, the two
// summary tables as the information dialog shows them, the target and a
// footer. Built without widgets; the dialog hands in its tables' contents.

// A table cell as shown: its text and, when it shows an icon that the
// report pictures, the icon's resource path.
struct report_cell
{
    QString text;
    QString icon;
};

struct report_table
{
    QString title;
    QStringList headers;
    int column_count = 0;
    QVector<QVector<std::optional<report_cell>>> rows; // an absent cell has no item
};

struct information_report_inputs
{
    QString project_file_path;
    int columns = 0;
    int rows = 0;
    QList<wall_display> displays;
    report_table connection;
    report_table calibration;
    QString application_name;
    QString version;
    QString generated_at;
};

// Texts from displays, records and file names are escaped; the program's own
// markup and icon paths are not.
QString information_report_html(const information_report_inputs &inputs, const CTargetValue &target);
