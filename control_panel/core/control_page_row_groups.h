#pragma once

#include "control_panel/core/control_row.h"

#include <QList>

// The row tables of the pages, one function a page, each in the file of its
// page group; control_page::rows gathers them.
namespace control_page {

QList<control_row> cooling_rows();
QList<control_row> video_input_rows();
QList<control_row> uniformity_rows();
QList<control_row> engine_picture_mode_rows();
QList<control_row> size_position_rows();
QList<control_row> tile_matrix_advanced_rows();
QList<control_row> ir_remote_rows();

} // namespace control_page
