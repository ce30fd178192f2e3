#include "views/docks/display_settings_rules.h"

#include "app/controller/layout_manager.h"
#include "app/services/string_resource.h"
#include "control_panel/core/video_inputs.h"
#include "jobs/job_task_type.h"
#include "views/docks/apply_to_scope.h"

#include <QCoreApplication>

namespace {

constexpr bool kEnabledOnly = true;
constexpr int kUpdatingDisplaySettingsId = 1001;

job_set display_settings_job_set(const QList<int> &positions)
{
    job_set set;
    set.positions = positions;
    set.text = string_resource(kUpdatingDisplaySettingsId);
    return set;
}

} // namespace

QList<video_input_choice> video_input_choices()
{
    QList<video_input_choice> choices{
        {0, QCoreApplication::translate("KQ_display_settings_widget", "Select Video Input...")}};
    for (int value : video_inputs::codes())
        choices.append({value, video_inputs::name(value)});
    return choices;
}

display_settings_enabling display_settings_enabling_for(int displays, int chosen_input)
{
    display_settings_enabling enabling;
    enabling.power = displays > 0;
    enabling.update_input = displays > 0 && chosen_input != 0;
    return enabling;
}

QList<int> display_settings_positions(const layout_manager &layout, int current, bool apply_to_all)
{
    constexpr bool kWholeWall = false;
    return in_scope(layout.get_display_indexes(kWholeWall, kEnabledOnly), current, apply_to_all);
}

job_set power_job_set(const QList<int> &positions, int mode)
{
    job_set set = display_settings_job_set(positions);
    set.job_template.task_list = {JOB_TASK_POWER_STATE};
    set.job_template.power.set = 1;
    set.job_template.power.mode = mode;
    return set;
}

job_set video_input_job_set(const QList<int> &positions, int input)
{
    job_set set = display_settings_job_set(positions);
    set.job_template.task_list = {JOB_TASK_SELECT_INPUT};
    set.job_template.input_list = {input};
    return set;
}
