#include "app/controller/layout_builder.h"

#include <QStringList>

bool is_valid_wall_size(int columns, int rows)
{
    return columns >= 1 && columns <= kMaxWallColumns && rows >= 1 && rows <= kMaxWallRows
           && columns * rows <= kMaxWallDisplays;
}

QList<display_position> display_visiting_order(int columns, int rows, int start_corner, bool clockwise,
                                               bool zigzag)
{
    QList<display_position> order;
    if (!is_valid_wall_size(columns, rows) || start_corner < kTopLeft || start_corner > kBottomRight)
        return order;
    const bool fromRight = start_corner == kTopRight || start_corner == kBottomRight;
    const bool fromBottom = start_corner == kBottomLeft || start_corner == kBottomRight;
    // Clockwise from the top-left or bottom-right corner runs along the rows.
    const bool byRows = clockwise == (start_corner == kTopLeft || start_corner == kBottomRight);

    const int lines = byRows ? rows : columns;
    const int steps = byRows ? columns : rows;
    const bool reverseLines = byRows ? fromBottom : fromRight;
    const bool reverseSteps = byRows ? fromRight : fromBottom;
    order.reserve(columns * rows);
    for (int k = 0; k < lines; ++k) {
        const int line = reverseLines ? lines - 1 - k : k;
        const bool reverse = reverseSteps != (zigzag && k % 2 == 1);
        for (int m = 0; m < steps; ++m) {
            const int step = reverse ? steps - 1 - m : m;
            order.append(byRows ? display_position{step, line} : display_position{line, step});
        }
    }
    return order;
}

quint32 ipv4_address_value(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return 0;
    quint32 value = 0;
    for (const QString &part : parts)
        value = value * 256 + part.toUInt(); // an unreadable part reads 0
    return value;
}

QString ipv4_address_text(quint32 value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((value >> 24) & 0xFF)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

QList<display_layout_item> build_layout_items(const layout_parameters &p)
{
    QList<display_layout_item> items;
    const bool lan = p.connection_type == display_layout_item::kLan;
    int monitorId = p.first_monitor_id;
    quint32 address = lan ? ipv4_address_value(p.address) : 0;
    for (const display_position &position :
         display_visiting_order(p.columns, p.rows, p.start_corner, p.clockwise, p.zigzag)) {
        display_layout_item item;
        item.column = position.column;
        item.row = position.row;
        item.monitor_id = monitorId;
        item.connection_type = p.connection_type;
        item.connection_address = lan ? ipv4_address_text(address) : p.address;
        item.orientation = p.orientation;
        items.append(item);
        monitorId += p.monitor_id_step;
        address += quint32(p.address_step);
    }
    return items;
}
