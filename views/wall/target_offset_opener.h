#pragma once

#include <functional>

class QWidget;

// The wall view cannot reach the dialogs; the application installs how a
// display's calibration target offset is edited.
using target_offset_opener = std::function<void(int layout_index, QWidget *parent)>;

void set_target_offset_opener(target_offset_opener opener);
// Edits the offset of the display at |layout_index| modally over |parent|;
// nothing until an opener is installed.
void open_target_offset_editor(int layout_index, QWidget *parent);
