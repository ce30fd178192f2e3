#include "views/wall/tile_text_fit.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int kMargin = 16;
constexpr int kSmallestSize = 3;
const QRect kMeasuringBox(0, 0, 1000, 1000);

bool in_pixels(const QFont &font) { return font.pointSize() <= 0 && font.pixelSize() > 0; }

int size_of(const QFont &font) { return in_pixels(font) ? font.pixelSize() : font.pointSize(); }

void set_size(QFont &font, int size, bool pixels)
{
    if (pixels)
        font.setPixelSize(size);
    else
        font.setPointSize(size);
}

QRect measured(const QFont &font, const QRect &within, int flags, const QString &text)
{
    return QFontMetrics(font).boundingRect(within, flags, text);
}

bool fits(const QRect &text, int width, int height) { return text.width() <= width && text.height() <= height; }

} // namespace

tile_text_layout fit_tile_text(const QFont &font, const QString &text, const QRect &widget, const QRect &frame,
                               bool expand_view)
{
    tile_text_layout layout{font, widget, Qt::AlignCenter};
    const bool pixels = in_pixels(font);
    const int start = size_of(font);
    if (measured(font, kMeasuringBox, Qt::AlignCenter, text).width() > frame.width() - kMargin) {
        int size = std::max(start - 1, kSmallestSize);
        for (;;) {
            set_size(layout.font, size, pixels);
            if (fits(measured(layout.font, frame, Qt::AlignCenter, text), widget.width() - kMargin,
                     widget.height() - kMargin)
                || size <= kSmallestSize)
                break;
            --size;
        }
        layout.flags = Qt::AlignCenter | Qt::TextWordWrap;
        return layout;
    }
    if (!expand_view)
        return layout;
    // No size beyond the frame's own extent can fit in it; the bound ends
    // the search for any font.
    const int largest = std::max(start, kSmallestSize) + 2 * std::max(frame.width(), frame.height()) + 2;
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    int size = std::max(start, 1);
    while (size < largest) {
        set_size(layout.font, size, pixels);
        if (!fits(measured(layout.font, frame, flags, text), frame.width() - kMargin, frame.height() - kMargin))
            break;
        ++size;
    }
    set_size(layout.font, size, pixels);
    layout.rect = frame;
    layout.flags = flags;
    return layout;
}
