#pragma once

#include "jobs/job_set.h"

#include <QList>
#include <QString>

class layout_manager;

// The Display Control dock without widgets.

// One entry of the video input list: the value the display control protocol
// uses and the text shown. Value 0 is the "Select Video Input..." prompt.
struct video_input_choice
{
    int value;
    QString text;
};
QList<video_input_choice> video_input_choices();

struct display_settings_enabling
{
    bool power = false;        // both power buttons and the input list
    bool update_input = false;
};

// |displays| is the number of displays the next action would reach.
display_settings_enabling display_settings_enabling_for(int displays, int chosen_input);

// The displays the actions reach: enabled ones without an ID conflict, all
// of them or the selected one.
QList<int> display_settings_positions(const layout_manager &layout, int current, bool apply_to_all);

// |mode| 1 switches on, 4 off.
job_set power_job_set(const QList<int> &positions, int mode);
job_set video_input_job_set(const QList<int> &positions, int input);
