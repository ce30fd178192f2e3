#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class CPreferences;

// The preferences the dialog shows, one row per control, in the order OK
// stores them. Loading, storing and reloading after Defaults all walk this
// one table; the dialog only says how a control of each kind is read and set.
struct preference_row
{
    enum control_kind {
        combo_data,     // a combo box whose item data is the value
        button_group,   // a button group whose checked id is the value
        check_box,      // 0 or 1
        group_box_check // a checkable group box: 0 or 1
    };

    const char *control; // the control's object name
    control_kind kind;
    int (*get)(const CPreferences &);
    void (*set)(CPreferences &, int);
};

const QVector<preference_row> &preference_rows();

// The object names of the button groups of the rows.
namespace preference_groups {
constexpr const char *kBrightnessControl = "brightness_control_buttonGroup";
constexpr const char *kBacklight = "backlight_buttonGroup";
constexpr const char *kLuminanceUnits = "luminance_units_buttonGroup";
constexpr const char *kCalibrationMethod = "calibration_method_buttonGroup";
} // namespace preference_groups

// Hands every row its stored value.
void load_preference_rows(const CPreferences &preferences,
                          const std::function<void(const preference_row &, int)> &show);
// Stores what each row's control holds; a control without a value (a combo
// box without a selection, a group without a checked button) leaves its
// preference as it was.
void store_preference_rows(CPreferences &preferences,
                           const std::function<std::optional<int>(const preference_row &)> &read);

// Which controls are usable, from the calibration method (0 lookup tables,
// 1 RGB gains), the engine check box, whether a speech engine is usable and
// the voice-prompt check box.
struct preferences_enabled
{
    bool lookup_table_controls = false; // grayscale steps and the gamma table location
    bool engine_pages = false;          // the three internal-engine pages
    bool speech_group = false;
};
preferences_enabled preferences_enable_rules(int method, bool useEngine, bool speechUsable, bool playVoicePrompts);

// The page tree built from "/"-separated paths: every node once, a parent
// before its children; a path's last part carries the path's page number,
// nodes made only as parents carry -1.
struct page_tree_node
{
    QString text;
    int parent = -1; // index of the parent node; -1 at the top
    int page = -1;
};
QVector<page_tree_node> build_page_tree(const QStringList &paths);

// The preference pages' paths, by page number.
const QStringList &preference_page_paths();
