#include "layout_setup/layout_summary_html.h"

#include "layout_setup/layout_configuration.h"
#include "layout_setup/model_configuration_type.h"

#include <QCoreApplication>
#include <QHash>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SummaryPage", text);
}

QString number(int value)
{
    return QString::number(value);
}

const char *const kTableOpening = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">  ";
const char *const kRedStar = " <font color=\"red\">*</font>";
const char *const kRedPlus = " <font color=\"red\">+</font>";

struct summary
{
    const layout_wizard_answers &answers;
    const QList<display_layout_item> &items;
    layout_configuration configuration;
    int n;
    QString html;
};

// The first cells of a record's row in the two tables: its number, row and column.
QString record_cells(int index, const display_layout_item &item)
{
    return QStringLiteral("<tr>") + tr("<td>#%1</td>").arg(number(index + 1)) + tr("<td>%1</td>").arg(number(item.row + 1))
           + tr("<td>%1</td>").arg(number(item.column + 1));
}

void write_introduction(summary &s)
{
    const layout_wizard_answers &a = s.answers;
    s.html += tr("<h2>%1 x %2 Video Wall Configuration Summary</h2>").arg(number(a.size_columns), number(a.size_rows));
    if (s.n > 1) {
        const QString model = a.selected_model_name.isEmpty() ? QString() : a.selected_model_name + QLatin1Char(' ');
        s.html += tr("%1 %2displays arranged as %3 columns by %4 rows. ")
                      .arg(number(s.n), model, number(a.size_columns), number(a.size_rows));
    }
    s.html += tr("This PC is connected to the first display via %1.<br>")
                  .arg(connection_name(s.configuration.first_display_connection_type));
}

void write_physical_layout(summary &s)
{
    QHash<QPair<int, int>, int> byPosition;
    for (int i = s.items.size() - 1; i >= 0; --i) // the first record at a position wins
        byPosition.insert(qMakePair(int(s.items.at(i).column), int(s.items.at(i).row)), i);
    const QString picture = s.answers.orientation_portrait
                                ? QStringLiteral("<img src=\":/images/Resources/orientation_portrait.png\">&nbsp;")
                                : QStringLiteral("<img src=\":/images/Resources/orientation_landscape.png\">&nbsp;");

    s.html += tr("<h3>Display Physical Layout</h3>");
    s.html += QStringLiteral("<table border=\"1\"  cellpadding=\"7\" bgcolor=\"#000000\">");
    for (int row = 0; row < s.answers.size_rows; ++row) {
        s.html += QStringLiteral("<tr>");
        for (int column = 0; column < s.answers.size_columns; ++column) {
            s.html += QStringLiteral("<td bgcolor=\"#FFFFCC\">");
            const int index = byPosition.value(qMakePair(column, row), -1);
            if (index >= 0)
                s.html += picture + tr("#%1 ID %2").arg(number(index + 1), number(s.items.at(index).monitor_id));
            s.html += QStringLiteral("</td>");
        }
        s.html += QStringLiteral("</tr>");
    }
    s.html += QStringLiteral("</table><br>");
}

QString address_cell(const summary &s, int index, const display_layout_item &item)
{
    const layout_configuration &c = s.configuration;
    if (c.ip_address_assigned_by_display)
        return tr("Auto <font color=\"red\">@</font>");
    const bool shown = index == 0 ? c.show_first_display_ip : c.show_other_display_ip;
    return shown ? item.connection_address : tr("N/A");
}

void write_configuration_settings(summary &s)
{
    const layout_configuration &c = s.configuration;
    s.html += tr("<h3>Display Configuration Settings</h3>Configure the following settings on each display as listed:");
    s.html += QString::fromLatin1(kTableOpening)
              + QStringLiteral("<tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th>%5%6</tr>")
                    .arg(tr("Display"), tr("Row"), tr("Column"), tr("Monitor ID"),
                         c.show_ip_column() ? tr("<th>IP Address</th>") : QString(),
                         c.show_external_control_setting ? tr("<th>External Control</th>") : QString());
    for (int i = 0; i < s.items.size(); ++i) {
        const display_layout_item &item = s.items.at(i);
        s.html += record_cells(i, item);
        s.html += tr("<td><b>ID %1%2</b></td>")
                      .arg(number(item.monitor_id),
                           c.show_auto_id_notice ? QString::fromLatin1(kRedPlus) : QString());
        if (c.show_ip_column())
            s.html += tr("<td><b>%1</b></td>").arg(address_cell(s, i, item));
        if (c.show_external_control_setting) {
            const int type = i == 0 ? c.first_display_connection_type : c.other_display_connection_type;
            s.html += tr("<td><b>%1</b></td>")
                          .arg(connection_name(type)
                               + (c.show_external_control_setting_if_applicable ? QString::fromLatin1(kRedStar)
                                                                                 : QString()));
        }
        s.html += QStringLiteral("</tr>");
    }
    s.html += QStringLiteral("</table><br>");
    if (c.show_external_control_setting && c.show_external_control_setting_if_applicable)
        s.html += tr("<font color=\"red\">*</font> If applicable for display model.<br>");
    if (c.show_auto_id_notice)
        s.html += tr("<font color=\"red\">+</font> Monitor IDs will be assigned automatically by Auto ID function.<br>");
    if (c.ip_address_assigned_by_display)
        s.html += tr("<font color=\"red\">@</font> Manual IP assignment can also be used if the displays are "
                     "connected to a network via LAN1 on display #1. All displays must have unique IP addresses and "
                     "be on the same subnet.<br>");
}

void write_important(summary &s)
{
    const layout_configuration &c = s.configuration;
    if (!c.show_auto_id_notice && !c.show_need_manual_IP_address_config)
        return;
    s.html += tr("<br><b>%1</b><ol>").arg(tr("Important:"));
    if (c.show_auto_id_notice) {
        s.html += tr("<li>The Auto ID function must initially be performed on the <u>first</u> display via its OSD to "
                     "detect the rest of the displays in the LAN daisy chain.</li>");
        s.html += tr("<li>Confirm that the correct number of displays (%1) in the LAN daisy chain were detected by "
                     "the Auto ID function.</li>")
                      .arg(number(s.n));
        s.html += tr("<li>Do <u>not</u> perform Auto ID on other displays in the daisy chain.</li>");
        s.html += tr("<li>Do <u>not</u> change the Monitor ID of any of the displays after performing the Auto ID "
                     "function.</li>");
        s.html += tr("<li>Make sure the LAN2 (output) of a display connects to the LAN1 (input) of the next display "
                     "in the LAN daisy chain.</li>");
        s.html += tr("<li>If a display is removed the replacement must be configured with the same IP address and "
                     "Monitor ID.</li>");
    }
    if (c.show_need_manual_IP_address_config) {
        s.html += tr("<li>Using <i>Direct to each display</i> requires that the IP address of each display be "
                     "manually configured and match those set in the software.</li>");
        s.html += tr("<li>Configuring sequential IP addresses along the daisy chain is recommended since this wizard "
                     "will create sequential addresses.</li>");
        s.html += tr("<li>Addresses used by this software can be edited manually if necessary after this wizard is "
                     "closed.</li>");
    }
    s.html += QStringLiteral("</ol>");
}

void write_cable_connections(summary &s)
{
    const layout_configuration &c = s.configuration;
    const int code = c.code;
    s.html += tr("<h3>Cable Connections</h3>Make the following connections to each display as listed:");
    s.html += QString::fromLatin1(kTableOpening)
              + QStringLiteral("<tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th><th>%5</th></tr>")
                    .arg(tr("Display"), tr("Row"), tr("Column"), tr("Type"), tr("Connection"));
    const bool separateLan = code == 8 || code == 9;
    const bool pcOnRs232 = code == 2 || code == 3 || code == 4;
    const bool chainOnRs232 = code == 3 || code == 5;
    for (int i = 0; i < s.items.size(); ++i) {
        const display_layout_item &item = s.items.at(i);
        if (separateLan) {
            s.html += record_cells(i, item)
                      + tr("<td><b>LAN</b></td><td>From <b>%1</b> to <b>external LAN hub</b></td>")
                            .arg(c.lan_input_name)
                      + QStringLiteral("</tr>");
            continue;
        }
        if (i == 0) {
            const QString type = pcOnRs232 ? tr("RS232") : tr("LAN");
            const QString input = pcOnRs232 ? tr("RS232 IN") : c.lan_input_name;
            const QString from = pcOnRs232 ? tr("PC %1").arg(item.connection_address) : tr("PC / LAN hub");
            s.html += record_cells(i, item) + tr("<td><b>%1</b></td>").arg(type)
                      + tr("<td>From <b>%2</b> to <b>%1</b></td>").arg(input, from) + QStringLiteral("</tr>");
        }
        if (i + 1 < s.items.size()) {
            const QString type = chainOnRs232 ? tr("RS232") : tr("LAN");
            const QString output = chainOnRs232 ? tr("RS232 OUT") : tr("LAN2");
            const QString input = chainOnRs232 ? tr("RS232 IN") : c.lan_input_name;
            s.html += record_cells(i, item) + tr("<td><b>%1</b></td>").arg(type)
                      + tr("<td>From <b>%1</b> to <b>%3</b> on Display #%2</td>").arg(output, number(i + 2), input)
                      + QStringLiteral("</tr>");
        }
    }
    s.html += QStringLiteral("</table><br>");
}

void write_cabling_required(summary &s)
{
    const layout_configuration &c = s.configuration;
    s.html += tr("<h3>Cabling required</h3>");
    s.html += tr("This %1 display configuration requires the following cables for communications:<ul>")
                  .arg(number(s.n));
    if (c.total_number_lan_cables > 0)
        s.html += tr("<li>%1 Cat-5 or higher LAN cable(s) %2</li>")
                      .arg(number(c.total_number_lan_cables),
                           c.crossover_warning ? tr(" (May require a LAN crossover cable if connecting the first "
                                                    "display directly to this PC)")
                                               : QString());
    if (c.total_number_lan_hub_ports > 0)
        s.html += tr("<li>%1 available LAN hub ports</li>").arg(number(c.total_number_lan_hub_ports));
    if (c.total_number_rs232_cables > 0)
        s.html += tr("<li>%1 RS232 crossover (null) modem cable(s)</li>").arg(number(c.total_number_rs232_cables));
    s.html += QStringLiteral("</ul>");
}

void write_troubleshooting(summary &s)
{
    const layout_configuration &c = s.configuration;
    const int t = s.answers.model_configuration_type;
    const bool lan1Lan2 = t == MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232;
    s.html += tr("<h3>Connectivity troubleshooting steps</h3>");
    s.html += QStringLiteral("<ol>");
    s.html += c.show_auto_id_notice
                  ? tr("<li>Confirm the correct Monitor ID has been assigned to each display by the Auto ID "
                       "function.</li>")
                  : tr("<li>Confirm the correct Monitor ID is selected on each display.</li>");
    if (c.total_number_rs232_cables > 0) {
        s.html += tr("<li>Confirm that all RS232 cables are crossover (null) types.</li>");
        if (t == MODEL_CONFIGURATION_TYPE_ALL || t == MODEL_CONFIGURATION_TYPE_RS232_IN_OUT
            || t == MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN)
            s.html += tr("<li>Confirm the RS232 connections are to the correct <b>IN</b> and <b>OUT</b> ports on the "
                         "displays.</li>");
    }
    if (c.first_display_connection_type == CONNECTION_RS232)
        s.html += tr("<li>Confirm the correct COM port on the PC is selected and is not in use by any other "
                     "software.</li>");
    if (c.show_external_control_setting)
        s.html += tr("<li>Confirm the <b>External Control</b> setting on each display is correct (if setting is "
                     "supported).</li>");
    if (c.first_on_lan()) {
        s.html += tr("<li>Confirm there are no firewalls blocking LAN traffic on port 7142.</li>");
        s.html += tr("<li>Confirm that this PC is on the same subnet as the displays.</li>");
    }
    if (c.first_on_lan() && lan1Lan2)
        s.html += tr("<li>Confirm the LAN Power setting is set to ON (if settig is supported).</li>");
    if (lan1Lan2 && c.any_on_lan())
        s.html += tr("<li>Confirm the LAN connections to the displays are to the correct LAN1 (input) and LAN2 "
                     "(output) ports on the displays.</li>");
    if (c.first_on_lan() && !lan1Lan2)
        s.html += tr("<li>A crossover LAN cable may be required on some display models if connecting directly to the "
                     "display.</li>");
    if (c.any_on_lan())
        s.html += tr("<li>Confirm the correct static IP addresses have been assigned to each display and there "
                     "aren't any conflicts.</li>");
    s.html += tr("<li>Confirm that no other software or hardware is trying to communicate with the display at the "
                 "same time.</li>");
    if (c.first_on_lan())
        s.html += tr("<li>Network PING can be used to confirm LAN connectivity with a display.</li>");
    s.html += QStringLiteral("</ol>");
}

} // namespace

QString layout_summary_html(const layout_wizard_answers &answers, const QList<display_layout_item> &items,
                            const layout_summary_footer *footer)
{
    const int n = answers.display_count();
    summary s{answers, items,
              layout_configuration_for(layout_configuration_code(answers), n, answers.model_configuration_type), n,
              QString()};
    write_introduction(s);
    write_physical_layout(s);
    write_configuration_settings(s);
    write_important(s);
    write_cable_connections(s);
    write_cabling_required(s);
    write_troubleshooting(s);
    if (footer)
        s.html += tr("<br><h4>This summary generated by %1 %2 on %3</h4>")
                      .arg(footer->application_name, footer->version, footer->date);
    return s.html;
}
