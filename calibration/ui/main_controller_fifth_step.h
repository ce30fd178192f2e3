#pragma once

#include <functional>

class QWidget;

// The Actions dock's optional fifth step opens dialogs that live above this
// layer: the application installs them. Until then the buttons do nothing.
struct fifth_step_operations
{
    // The visual trim of the display at |position|; |evaluate_calibration|
    // when the dock's Evaluate Calibration box is checked.
    std::function<void(QWidget *dock, int position, bool evaluate_calibration)> visual_trim;
    // The uniformity update of the display at |position|.
    std::function<void(QWidget *dock, int position)> uniformity_update;
};

void set_fifth_step_operations(fifth_step_operations operations);
