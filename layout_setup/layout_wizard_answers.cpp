#include "layout_setup/layout_wizard_answers.h"

#include "app/controller/layout_builder.h"
#include "app/controller/display_layout_item.h"

int layout_wizard_answers::start_corner() const
{
    int corner = kTopLeft;
    if (firstdisplay_top_right)
        corner = kTopRight;
    if (firstdisplay_bottom_left)
        corner = kBottomLeft;
    if (firstdisplay_bottom_right)
        corner = kBottomRight;
    return corner;
}

int layout_wizard_answers::orientation() const
{
    if (orientation_portrait)
        return display_layout_item::kPortrait;
    return orientation_landscape ? display_layout_item::kLandscape : display_layout_item::kOrientationNotSet;
}

const std::vector<layout_wizard_field> &layout_wizard_fields()
{
    namespace f = layout_wizard_field_name;
    using a = layout_wizard_answers;
    static const std::vector<layout_wizard_field> fields{
        {f::size_rows, &a::size_rows},
        {f::size_columns, &a::size_columns},
        {f::connection_rs232, &a::connection_rs232},
        {f::connection_comport, &a::connection_comport},
        {f::interconnection_separate_lan, &a::interconnection_separate_lan},
        {f::interconnection_lan_daisychain, &a::interconnection_lan_daisychain},
        {f::interconnection_rs232_daisychain, &a::interconnection_rs232_daisychain},
        {f::interconnection_all_LAN_have_same_ID, &a::interconnection_all_LAN_have_same_ID},
        {f::translate_direct, &a::translate_direct},
        {f::translate_translate, &a::translate_translate},
        {f::rs232interconnection_rs232_daisychain, &a::rs232interconnection_rs232_daisychain},
        {f::rs232interconnection_lan_daisychain, &a::rs232interconnection_lan_daisychain},
        {f::connection_ipaddress, &a::connection_ipaddress},
        {f::id_first, &a::id_first},
        {f::firstdisplay_top_left, &a::firstdisplay_top_left},
        {f::firstdisplay_top_right, &a::firstdisplay_top_right},
        {f::firstdisplay_bottom_left, &a::firstdisplay_bottom_left},
        {f::firstdisplay_bottom_right, &a::firstdisplay_bottom_right},
        {f::direction_clockwise, &a::direction_clockwise},
        {f::direction_zigzag, &a::direction_zigzag},
        {f::orientation_landscape, &a::orientation_landscape},
        {f::orientation_portrait, &a::orientation_portrait},
    };
    return fields;
}

layout_wizard_answers read_layout_wizard_answers(const std::function<QVariant(const QString &)> &field)
{
    layout_wizard_answers answers;
    for (const layout_wizard_field &entry : layout_wizard_fields()) {
        const QVariant value = field(QString::fromLatin1(entry.name));
        if (!value.isValid())
            continue;
        if (auto member = std::get_if<int layout_wizard_answers::*>(&entry.value))
            answers.*(*member) = value.toInt();
        else if (auto member = std::get_if<bool layout_wizard_answers::*>(&entry.value))
            answers.*(*member) = value.toBool();
        else if (auto member = std::get_if<QString layout_wizard_answers::*>(&entry.value))
            answers.*(*member) = value.toString();
    }
    return answers;
}
