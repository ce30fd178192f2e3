#include "layout_setup/tile_matrix_plan.h"

#include "layout_setup/tile_matrix_selection.h"

namespace {

constexpr qint32 kModeOn = 2;
constexpr qint32 kModeOff = 3;
constexpr qint32 kTileCompOn = 2;
constexpr qint32 kTileCompOff = 1;

QList<vcp_list_item> controls_for(tile_matrix_action action, const tile_matrix_area &area, int position,
                                  bool tile_comp)
{
    if (action == tile_matrix_action::turn_off)
        return {vcp_list_item::write(kTileMatrixMode, kModeOff)};
    return {vcp_list_item::write(kTileMatrixMode, kModeOn), vcp_list_item::write(kTileMatrixWidth, area.width()),
            vcp_list_item::write(kTileMatrixHeight, area.height()),
            vcp_list_item::write(kTileMatrixPosition, position),
            vcp_list_item::write(kTileMatrixTileComp, tile_comp ? kTileCompOn : kTileCompOff)};
}

} // namespace

bool tile_matrix_wall::fits_one_matrix() const
{
    return columns <= tile_matrix_selection::kMaxSpan && rows <= tile_matrix_selection::kMaxSpan;
}

int tile_matrix_next_page(int page, const tile_matrix_wall &wall, bool multiple_groups)
{
    switch (page) {
    case kTileMatrixIntroPage:
        return kTileMatrixTypeSelectionPage;
    case kTileMatrixTypeSelectionPage:
        return wall.groups_possible() && multiple_groups ? kTileMatrixDisplaysSelectionPage : kTileMatrixFinalPage;
    case kTileMatrixDisplaysSelectionPage:
        return kTileMatrixFinalPage;
    default:
        return -1;
    }
}

QList<tile_matrix_job> tile_matrix_apply_plan(const tile_matrix_area &area, tile_matrix_action action,
                                              bool tile_comp,
                                              const std::function<int(int column, int row)> &display_at)
{
    QList<tile_matrix_job> jobs;
    int position = 1;
    for (int y = area.min_y; y <= area.max_y; ++y) {
        for (int x = area.min_x; x <= area.max_x; ++x, ++position) {
            const int index = display_at(x, y);
            if (index < 0)
                continue;
            jobs.append({index, controls_for(action, area, position, tile_comp)});
        }
    }
    return jobs;
}
