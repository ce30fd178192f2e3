#pragma once

#include "app/controller/display_layout_item.h"
#include "app/controller/display_position.h"

#include <QList>
#include <QString>

// How a new wall is numbered and addressed. Both the layout model and the
// layout wizard's summary build their display lists from these rules.

enum layout_start_corner { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };

constexpr int kMaxWallColumns = 30;
constexpr int kMaxWallRows = 30;
constexpr int kMaxWallDisplays = 100;

// 1..30 columns and rows, at most 100 displays.
bool is_valid_wall_size(int columns, int rows);

// The order in which the displays of a wall are numbered: from |start_corner|
// row by row or column by column (as |clockwise| turns from that corner), each
// line in the same direction or, with |zigzag|, every second line reversed.
// Empty for an invalid size or corner.
QList<display_position> display_visiting_order(int columns, int rows, int start_corner, bool clockwise,
                                               bool zigzag);

// The 32-bit value of a dotted IPv4 text of exactly four decimal parts (an
// unreadable part counts 0); 0 for any other text.
quint32 ipv4_address_value(const QString &text);
// "a.b.c.d" of a 32-bit value, most significant byte first.
QString ipv4_address_text(quint32 value);

struct layout_parameters
{
    int columns = 1;
    int rows = 1;
    int first_monitor_id = 1;
    int start_corner = kTopLeft;
    QString address;  // the first IPv4 address for LAN, the port name for RS-232
    int connection_type = display_layout_item::kRs232;
    int monitor_id_step = 1; // 0 or 1
    bool clockwise = true;
    bool zigzag = false;
    int address_step = 1;    // LAN only; 0 or 1
    int orientation = display_layout_item::kOrientationNotSet;
};

// One enabled, unverified record per display in visiting order, with monitor
// IDs and (LAN) addresses handed out in that order; addresses carry into the
// higher bytes. Empty for an invalid size or corner.
QList<display_layout_item> build_layout_items(const layout_parameters &parameters);
