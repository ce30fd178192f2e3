#include "control_panel/core/cooling_page.h"

#include "app/services/string_resource.h"
#include "display_protocol/basic_monitor.h"

#include <algorithm>

namespace cooling_page {
namespace {

constexpr int kChoiceRows = 3;
// A garbled sensor count is not worth a list of thousands.
constexpr int kMostSensors = 255;
constexpr int kSensorText = 1601;

} // namespace

QList<control_item> sensor_items(int maximum)
{
    QList<control_item> items;
    for (int k = 1; k <= std::min(maximum, kMostSensors); ++k)
        items << control_item{string_resource(kSensorText).arg(k), k};
    return items;
}

QList<control_item> fan_mode_items(int maximum)
{
    // "Forced On" (2) leads; then "Auto (no offset)" (1) and the offsets.
    static const std::pair<int, int> modes[] = {{2, 1702}, {1, 1701}, {3, 1703}, {4, 1704},
                                                {5, 1705}, {6, 1706}, {7, 1707}};
    QList<control_item> items;
    for (const auto &mode : modes) {
        if (maximum >= mode.first)
            items << control_item{string_resource(mode.second), mode.first};
    }
    return items;
}

page_reading read(basic_monitor &monitor, const QList<control_row> &rows)
{
    page_reading page = read_control_page(monitor, rows.mid(0, kChoiceRows));
    page.rows.resize(rows.size());
    if (page.ended_at >= 0)
        return page;
    for (int i = kChoiceRows; i < rows.size(); ++i) {
        row_reading &limit = page.rows[i];
        limit = read_control_row(monitor, rows.at(i));
        if (limit.status != 0) {
            page.ended_at = i;
            return page;
        }
        int span_value = 0, span = 0;
        const int status = monitor.get_vcp_with_max(rows.at(i).code + 1, span_value, span);
        if (status != 0) {
            if (i == kChoiceRows)
                limit.status = status;
            else
                limit.range_unknown = true;
            continue;
        }
        // Signed: a span beyond the upper limit reaches below zero.
        limit.minimum = limit.maximum - span;
        limit.value = std::clamp(limit.value, limit.minimum, limit.maximum);
    }
    return page;
}

bool limits_readable(const page_reading &page)
{
    // The first sensor's own status also carries its span's read.
    return page.rows.value(kChoiceRows).reached && page.ended_at != kChoiceRows;
}

} // namespace cooling_page
