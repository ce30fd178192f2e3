#pragma once

#include <QFont>
#include <QRect>
#include <QString>

// Where and at which size a tile draws its text: shrunk (never below size 3)
// until it fits a small tile, grown with the tile when the main view expands,
// else the widget's own font. Fonts set in pixels are sized in pixels.
struct tile_text_layout
{
    QFont font;
    QRect rect;
    int flags = 0;
};

// |widget| is the tile's rectangle, |frame| the frame drawn inside it.
tile_text_layout fit_tile_text(const QFont &font, const QString &text, const QRect &widget, const QRect &frame,
                               bool expand_view);
