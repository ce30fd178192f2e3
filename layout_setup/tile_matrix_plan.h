#pragma once

#include "display_protocol/vcp_list_item.h"

#include <QList>

#include <functional>

// The tile matrix wizard's page ids, its rules for a wall of a given size
// and what "Update displays" writes to each display. No widget here.
enum tile_matrix_page_id {
    kTileMatrixIntroPage = 0,
    kTileMatrixTypeSelectionPage = 1,
    kTileMatrixDisplaysSelectionPage = 2,
    kTileMatrixFinalPage = 3,
};

// The Tile Matrix controls, page 2.
enum tile_matrix_control : qint32 {
    kTileMatrixWidth = 0x2D0,
    kTileMatrixHeight = 0x2D1,
    kTileMatrixPosition = 0x2D2,
    kTileMatrixMode = 0x2D3,
    kTileMatrixTileComp = 0x2D5,
};

struct tile_matrix_wall
{
    int columns = 0;
    int rows = 0;
    int displays = 0;

    // Groups need a wall of more than two displays.
    bool groups_possible() const { return displays > 2; }
    // A tile matrix spans at most ten columns and rows.
    bool fits_one_matrix() const;
};

// The page after |page| (-1 after the last).
int tile_matrix_next_page(int page, const tile_matrix_wall &wall, bool multiple_groups);

// The rectangle to update, 0-based and inclusive.
struct tile_matrix_area
{
    int min_x = 0;
    int min_y = 0;
    int max_x = -1;
    int max_y = -1;

    int width() const { return max_x - min_x + 1; }
    int height() const { return max_y - min_y + 1; }
    static tile_matrix_area whole(const tile_matrix_wall &wall) { return {0, 0, wall.columns - 1, wall.rows - 1}; }
};

// One display's job: its index in the wall layout and the controls to write.
struct tile_matrix_job
{
    int layout_index = -1;
    QList<vcp_list_item> controls;
};

enum class tile_matrix_action { turn_on, turn_off };

// The jobs for |area|, row by row from its top-left. Each cell counts as a
// position in the matrix whether a display stands there or not
// (|display_at| gives -1); a cell without a display gets no job.
QList<tile_matrix_job> tile_matrix_apply_plan(const tile_matrix_area &area, tile_matrix_action action,
                                              bool tile_comp,
                                              const std::function<int(int column, int row)> &display_at);
