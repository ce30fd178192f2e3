#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <variant>
#include <vector>

// The names under which the layout wizard's pages register their controls;
// openers preset and read the wizard by the same names.
namespace layout_wizard_field_name {
constexpr const char *size_rows = "size.rows";
constexpr const char *size_columns = "size.columns";
constexpr const char *connection_rs232 = "connection.rs232";
constexpr const char *connection_comport = "connection.comport";
constexpr const char *interconnection_separate_lan = "interconnection.separate_lan";
constexpr const char *interconnection_lan_daisychain = "interconnection.lan_daisychain";
constexpr const char *interconnection_rs232_daisychain = "interconnection.rs232_daisychain";
constexpr const char *interconnection_all_LAN_have_same_ID = "interconnection.all_LAN_have_same_ID";
constexpr const char *translate_direct = "translate.direct";
constexpr const char *translate_translate = "translate.translate";
constexpr const char *rs232interconnection_rs232_daisychain = "rs232interconnection.rs232_daisychain";
constexpr const char *rs232interconnection_lan_daisychain = "rs232interconnection.lan_daisychain";
constexpr const char *connection_ipaddress = "connection.ipaddress";
constexpr const char *id_first = "id.first";
constexpr const char *firstdisplay_top_left = "firstdisplay.top_left";
constexpr const char *firstdisplay_top_right = "firstdisplay.top_right";
constexpr const char *firstdisplay_bottom_left = "firstdisplay.bottom_left";
constexpr const char *firstdisplay_bottom_right = "firstdisplay.bottom_right";
constexpr const char *direction_clockwise = "direction.clockwise";
constexpr const char *direction_zigzag = "direction.zigzag";
constexpr const char *orientation_landscape = "orientation.landscape";
constexpr const char *orientation_portrait = "orientation.portrait";
} // namespace layout_wizard_field_name

// Everything the layout wizard asks, as a plain value: one member per field
// (named after it, with the point as an underscore) and the two choices of
// the model page that are not fields. Defaults are the wizard's at start.
// Fields of pages the final path does not pass keep whatever they were left
// with, so several connection choices may be set at once; the rules that read
// them say which one wins.
struct layout_wizard_answers
{
    int size_rows = 1;
    int size_columns = 1;
    bool connection_rs232 = false;
    int connection_comport = 0;
    bool interconnection_separate_lan = false;
    bool interconnection_lan_daisychain = false;
    bool interconnection_rs232_daisychain = false;
    bool interconnection_all_LAN_have_same_ID = false;
    bool translate_direct = false;
    bool translate_translate = false;
    bool rs232interconnection_rs232_daisychain = false;
    bool rs232interconnection_lan_daisychain = false;
    QString connection_ipaddress;
    int id_first = 1;
    bool firstdisplay_top_left = true;
    bool firstdisplay_top_right = false;
    bool firstdisplay_bottom_left = false;
    bool firstdisplay_bottom_right = false;
    bool direction_clockwise = true;
    bool direction_zigzag = false;
    bool orientation_landscape = true;
    bool orientation_portrait = false;

    int model_configuration_type = 0; // model_configuration_type
    QString selected_model_name;

    int display_count() const { return size_rows * size_columns; }
    // 0 top left, 1 top right, 2 bottom left, 3 bottom right: the last corner
    // set in that order wins.
    int start_corner() const;
    // 2 portrait, else 1 landscape, else 0 (not set).
    int orientation() const;
    // Whether every display on the LAN keeps the first monitor ID.
    bool lan_displays_share_id() const
    {
        return interconnection_separate_lan && interconnection_all_LAN_have_same_ID;
    }
};

// One field: its name and the member that holds it.
struct layout_wizard_field
{
    using member = std::variant<int layout_wizard_answers::*, bool layout_wizard_answers::*,
                                QString layout_wizard_answers::*>;
    const char *name;
    member value;
};

// Every field of the wizard, in page order.
const std::vector<layout_wizard_field> &layout_wizard_fields();

// The fields as a wizard holds them, read through |field| (a name gives the
// value; an invalid value leaves the member's default). The model page's two
// choices are not fields and keep their defaults.
layout_wizard_answers read_layout_wizard_answers(const std::function<QVariant(const QString &)> &field);
