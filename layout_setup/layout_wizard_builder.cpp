#include "layout_setup/layout_wizard_builder.h"

#include "app/controller/layout_manager.h"
#include "app/services/serial_ports.h"

#include <QStringList>

QString layout_wizard_com_port(int index)
{
    QStringList names;
    list_com_port_names(names);
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

layout_parameters summary_layout_parameters(const layout_wizard_answers &a)
{
    layout_parameters p;
    p.columns = a.size_columns;
    p.rows = a.size_rows;
    p.first_monitor_id = a.id_first;
    p.start_corner = a.start_corner();
    p.clockwise = a.direction_clockwise;
    p.zigzag = a.direction_zigzag;
    p.orientation = a.orientation();
    if (a.connection_rs232) {
        p.connection_type = display_layout_item::kRs232;
        p.address = layout_wizard_com_port(a.connection_comport);
    } else {
        p.connection_type = display_layout_item::kLan;
        p.address = a.connection_ipaddress;
        if (a.lan_displays_share_id())
            p.monitor_id_step = 0;
        // The displays of an RS-232 chain are reached through the first one.
        if (a.interconnection_rs232_daisychain)
            p.address_step = 0;
    }
    return p;
}

layout_parameters wall_layout_parameters(const layout_wizard_answers &a)
{
    layout_parameters p = summary_layout_parameters(a);
    if (!a.connection_rs232 && a.interconnection_lan_daisychain && a.translate_translate)
        p.address_step = 0;
    return p;
}

QList<display_layout_item> build_summary_layout_list(const layout_wizard_answers &answers)
{
    return build_layout_items(summary_layout_parameters(answers));
}

int create_layout_from_answers(layout_manager &layout, const layout_wizard_answers &answers)
{
    const layout_parameters p = wall_layout_parameters(answers);
    return layout.create_layout(p.columns, p.rows, p.first_monitor_id, p.start_corner, p.address,
                                p.connection_type, p.monitor_id_step != 0, p.clockwise, p.zigzag,
                                p.address_step != 0, p.orientation);
}
