#include "control_panel/core/control_targets.h"

#include <QCoreApplication>

namespace control_targets {
namespace {

QString tr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text, comment);
}

QString edge_word(bool top, bool bottom, bool left, bool right)
{
    if (!left && !right)
        return top ? tr("Top") : bottom ? tr("Bottom") : QString();
    if (top)
        return left ? tr("Top Left") : tr("Top Right");
    if (bottom)
        return left ? tr("Bottom Left") : tr("Bottom Right");
    return left ? tr("Left") : tr("Right");
}

QString end_suffix(int index, int count, const QString &first, const QString &last)
{
    if (count <= 1)
        return QString();
    if (index == 0)
        return QStringLiteral(" (%1)").arg(first);
    if (index == count - 1)
        return QStringLiteral(" (%1)").arg(last);
    return QString();
}

} // namespace

QString position_text(int row, int column, int rows, int columns)
{
    QString text;
    if (rows > 1)
        text = tr("Row #%1").arg(row + 1);
    if (columns > 1) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += tr("Column #%1").arg(column + 1);
    }
    if (!text.isEmpty())
        text = QStringLiteral(" - %1").arg(text);
    const QString edge = edge_word(rows > 1 && row == 0, rows > 1 && row == rows - 1, columns > 1 && column == 0,
                                   columns > 1 && column == columns - 1);
    if (!edge.isEmpty())
        text += QStringLiteral(" (%1)").arg(edge);
    return text;
}

QString display_entry_text(int index, const display_layout_item &item, int rows, int columns)
{
    // One multi-argument fill: an address holding "%n" stays as it is.
    return tr("#%1: %2 ID %3%4", "2=port name 3=monitor ID")
        .arg(QString::number(index + 1), item.connection_address, QString::number(item.monitor_id),
             position_text(item.row, item.column, rows, columns));
}

QString display_entry_tooltip(const display_layout_item &item)
{
    return tr("<html>Port: %1<br>Monitor ID: %2<br>Model: %3<br>Serial Number: %4")
        .arg(item.connection_address, QString::number(item.monitor_id), item.model_name, item.serial_number);
}

QStringList row_entry_texts(int rows)
{
    QStringList texts;
    for (int r = 0; r < rows; ++r)
        texts << tr("Row #%1%2", "1=row")
                     .arg(r + 1)
                     .arg(end_suffix(r, rows, tr("Top", "top in a single column"),
                                     tr("Bottom", "bottom in a single column")));
    return texts;
}

QStringList column_entry_texts(int columns)
{
    QStringList texts;
    for (int c = 0; c < columns; ++c)
        texts << tr("Column #%1%2", "1=row")
                     .arg(c + 1)
                     .arg(end_suffix(c, columns, tr("Left", "left in a single row"),
                                     tr("Right", "right in a single row")));
    return texts;
}

QList<int> target_indices(int kind, int choice, const QList<display_layout_item> &items)
{
    QList<int> targets;
    if (kind == kIndividual) {
        if (choice >= 0 && choice < items.size())
            targets << choice;
        return targets;
    }
    for (int i = 0; i < items.size(); ++i) {
        const display_layout_item &item = items.at(i);
        if (!item.enabled)
            continue;
        if ((kind == kEntireRow && item.row == choice) || (kind == kEntireColumn && item.column == choice)
            || kind == kAllDisplays)
            targets << i;
    }
    return targets;
}

bool page_is_read(int page, int target_count)
{
    if (target_count <= 0)
        return false;
    if (!several(target_count))
        return true;
    static const QList<int> single_only = {6, 7, 14, 15, 16, 18, 19, 20, 21};
    return !single_only.contains(page);
}

} // namespace control_targets
