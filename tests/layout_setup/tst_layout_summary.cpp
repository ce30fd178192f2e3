#include "layout_setup/layout_configuration.h"
#include "layout_setup/layout_summary_html.h"
#include "layout_setup/layout_wizard_builder.h"

#include <QtTest>

Q_DECLARE_METATYPE(layout_wizard_answers)

namespace {

// Answers for the nine configurations on a wall of |columns| x |rows|.
layout_wizard_answers answers_for(int code, int columns = 3, int rows = 2, int type = 0)
{
    layout_wizard_answers a;
    a.size_columns = columns;
    a.size_rows = rows;
    a.model_configuration_type = type;
    a.connection_ipaddress = QStringLiteral("192.168.0.10");
    a.connection_comport = 2;
    a.connection_rs232 = code == 2 || code == 3 || code == 4;
    a.rs232interconnection_rs232_daisychain = code == 3;
    a.rs232interconnection_lan_daisychain = code == 4;
    a.interconnection_rs232_daisychain = code == 5;
    a.interconnection_lan_daisychain = code == 6 || code == 7;
    a.translate_translate = code == 6;
    a.translate_direct = code == 7;
    a.interconnection_separate_lan = code == 8 || code == 9;
    a.interconnection_all_LAN_have_same_ID = code == 8;
    return a;
}

QString summary_of(const layout_wizard_answers &a, const layout_summary_footer *footer = nullptr)
{
    return layout_summary_html(a, build_summary_layout_list(a), footer);
}

// The part of |html| from |start| up to the next |end|.
QString section(const QString &html, const QString &start, const QString &end)
{
    const int from = html.indexOf(start);
    if (from < 0)
        return QString();
    const int to = html.indexOf(end, from + start.size());
    return html.mid(from, to < 0 ? -1 : to - from);
}

// The troubleshooting steps as short names, in their order.
QString troubleshooting_of(const QString &html)
{
    static const QList<QPair<const char *, const char *>> names{
        {"id-auto", "Monitor ID has been assigned to each display by the Auto ID"},
        {"id", "Confirm the correct Monitor ID is selected on each display."},
        {"null", "Confirm that all RS232 cables are crossover (null) types."},
        {"inout", "RS232 connections are to the correct <b>IN</b> and <b>OUT</b> ports"},
        {"com", "Confirm the correct COM port on the PC is selected"},
        {"ext", "Confirm the <b>External Control</b> setting on each display is correct (if setting is supported)."},
        {"firewall", "Confirm there are no firewalls blocking LAN traffic on port 7142."},
        {"subnet", "Confirm that this PC is on the same subnet as the displays."},
        {"lanpower", "Confirm the LAN Power setting is set to ON (if settig is supported)."},
        {"lan12", "LAN connections to the displays are to the correct LAN1 (input) and LAN2 (output) ports"},
        {"crossover", "A crossover LAN cable may be required on some display models if connecting directly"},
        {"static", "Confirm the correct static IP addresses have been assigned to each display and there aren't"},
        {"other", "Confirm that no other software or hardware is trying to communicate with the display at the"},
        {"ping", "Network PING can be used to confirm LAN connectivity with a display."},
    };
    const QString steps = section(html, "<h3>Connectivity troubleshooting steps</h3>", "</ol>");
    QStringList shown;
    for (const QString &item : steps.split(QStringLiteral("</li>"), Qt::SkipEmptyParts)) {
        if (!item.contains(QStringLiteral("<li>")))
            continue;
        QString name = QStringLiteral("?");
        for (const auto &entry : names) {
            if (item.contains(QString::fromLatin1(entry.second))) {
                name = QString::fromLatin1(entry.first);
                break;
            }
        }
        shown << name;
    }
    return shown.join(QLatin1Char(' '));
}

int count_of(const QString &html, const QString &text)
{
    return html.count(text);
}

} // namespace

class tst_layout_summary : public QObject
{
    Q_OBJECT

private slots:
    void headings();
    void configuration_table_data();
    void configuration_table();
    void notes_and_important_list_data();
    void notes_and_important_list();
    void cable_connections_data();
    void cable_connections();
    void cabling_required_data();
    void cabling_required();
    void troubleshooting_data();
    void troubleshooting();
    void physical_layout();
    void single_lan_display();
    void translated_chain_lists_every_address();
    void footer_only_when_printed();
};

void tst_layout_summary::headings()
{
    layout_wizard_answers a = answers_for(9);
    a.selected_model_name = QStringLiteral("VW-5530Q");
    const QString html = summary_of(a);
    QVERIFY(html.startsWith(QStringLiteral("<h2>3 x 2 Video Wall Configuration Summary</h2>6 VW-5530Q displays "
                                           "arranged as 3 columns by 2 rows. This PC is connected to the first "
                                           "display via LAN.<br><h3>Display Physical Layout</h3>")));
    a.selected_model_name.clear();
    QVERIFY(summary_of(a).contains(QStringLiteral("</h2>6 displays arranged as 3 columns by 2 rows. ")));
    // Text from outside (a model name) is not taken as a placeholder.
    a.selected_model_name = QStringLiteral("%3 %1");
    QVERIFY(summary_of(a).contains(QStringLiteral("6 %3 %1 displays arranged as 3 columns by 2 rows. ")));

    const QString serial = summary_of(answers_for(3, 2, 1));
    QVERIFY(serial.startsWith(QStringLiteral("<h2>2 x 1 Video Wall Configuration Summary</h2>")));
    QVERIFY(serial.contains(QStringLiteral("This PC is connected to the first display via RS232.<br>")));
    QVERIFY(summary_of(answers_for(0)).contains(QStringLiteral("to the first display via .<br>")));
    for (const char *heading : {"<h3>Display Configuration Settings</h3>Configure the following settings on each "
                                "display as listed:<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">  <tr>",
                                "<h3>Cable Connections</h3>Make the following connections to each display as listed:"
                                "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">  <tr><th>Display</th>"
                                "<th>Row</th><th>Column</th><th>Type</th><th>Connection</th></tr>",
                                "<h3>Cabling required</h3>This 6 display configuration requires the following "
                                "cables for communications:<ul>",
                                "<h3>Connectivity troubleshooting steps</h3><ol>"})
        QVERIFY2(summary_of(answers_for(9)).contains(QString::fromLatin1(heading)), heading);
}

void tst_layout_summary::configuration_table_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QString>("headings");
    QTest::addColumn<QString>("firstRow");
    QTest::addColumn<QString>("secondRow");

    const QString plain = "<tr><th>Display</th><th>Row</th><th>Column</th><th>Monitor ID</th>";
    QTest::newRow("1 one LAN display, all")
        << answers_for(1, 1, 1) << plain + "<th>IP Address</th><th>External Control</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1</b></td><td><b>192.168.0.10</b></td>"
           "<td><b>LAN <font color=\"red\">*</font></b></td></tr>"
        << "";
    QTest::newRow("2 one RS-232 display, RS-232 only")
        << answers_for(2, 1, 1, 1) << plain + "</tr>" << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1</b></td></tr>"
        << "";
    QTest::newRow("3 RS-232 chain, all")
        << answers_for(3) << plain + "<th>External Control</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1</b></td><td><b>RS232 <font color=\"red\">*</font></b></td>"
           "</tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 2</b></td><td><b>RS232 <font color=\"red\">*</font></b></td>"
           "</tr>";
    QTest::newRow("4 LAN chain behind RS-232, LAN1 and LAN2")
        << answers_for(4, 3, 2, 3) << plain + "<th>IP Address</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1 <font color=\"red\">+</font></b></td>"
           "<td><b>Auto <font color=\"red\">@</font></b></td></tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 2 <font color=\"red\">+</font></b></td>"
           "<td><b>Auto <font color=\"red\">@</font></b></td></tr>";
    QTest::newRow("5 RS-232 chain behind the LAN, RS-232 and LAN")
        << answers_for(5, 3, 2, 2) << plain + "<th>IP Address</th><th>External Control</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1</b></td><td><b>192.168.0.10</b></td>"
           "<td><b>LAN</b></td></tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 2</b></td><td><b>N/A</b></td><td><b>RS232</b></td></tr>";
    QTest::newRow("7 LAN chain direct, all")
        << answers_for(7) << plain + "<th>IP Address</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1 <font color=\"red\">+</font></b></td>"
           "<td><b>192.168.0.10</b></td></tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 2 <font color=\"red\">+</font></b></td>"
           "<td><b>192.168.0.11</b></td></tr>";
    layout_wizard_answers shared = answers_for(8, 3, 2, 4);
    shared.id_first = 4;
    QTest::newRow("8 separate with one ID, single LAN port")
        << shared << plain + "<th>IP Address</th></tr>"
        << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 4</b></td><td><b>192.168.0.10</b></td></tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 4</b></td><td><b>192.168.0.11</b></td></tr>";
    QTest::newRow("0 nothing chosen") << answers_for(0) << plain + "</tr>"
                                      << "<tr><td>#1</td><td>1</td><td>1</td><td><b>ID 1</b></td></tr>"
                                      << "<tr><td>#2</td><td>1</td><td>2</td><td><b>ID 2</b></td></tr>";
}

void tst_layout_summary::configuration_table()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QString, headings);
    QFETCH(QString, firstRow);
    QFETCH(QString, secondRow);

    const QString table = section(summary_of(answers), "<h3>Display Configuration Settings</h3>", "</table>");
    QVERIFY(table.contains(headings));
    QVERIFY2(table.contains(headings + firstRow + secondRow), qPrintable(table));
    QCOMPARE(count_of(table, "<tr>"), 1 + answers.display_count());
}

void tst_layout_summary::notes_and_important_list_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QString>("notes"); // which of * + @ follow the table
    QTest::addColumn<QString>("important"); // auto (Auto ID items), manual (manual IP items)

    QTest::newRow("1 all") << answers_for(1, 1, 1) << "*" << "";
    QTest::newRow("1 RS-232 and LAN") << answers_for(1, 1, 1, 2) << "" << "";
    QTest::newRow("3 all") << answers_for(3) << "*" << "";
    QTest::newRow("4") << answers_for(4) << "+@" << "auto";
    QTest::newRow("5 all") << answers_for(5) << "" << "";
    QTest::newRow("6") << answers_for(6) << "+" << "auto";
    QTest::newRow("7") << answers_for(7) << "+" << "auto manual";
    QTest::newRow("9 all") << answers_for(9) << "*" << "";
    QTest::newRow("9 single LAN port") << answers_for(9, 3, 2, 4) << "" << "";
}

void tst_layout_summary::notes_and_important_list()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QString, notes);
    QFETCH(QString, important);

    const QString html = summary_of(answers);
    const QString star = "<font color=\"red\">*</font> If applicable for display model.<br>";
    const QString plus = "<font color=\"red\">+</font> Monitor IDs will be assigned automatically by Auto ID function.<br>";
    const QString at = "<font color=\"red\">@</font> Manual IP assignment can also be used if the displays are "
                       "connected to a network via LAN1 on display #1. All displays must have unique IP addresses "
                       "and be on the same subnet.<br>";
    QCOMPARE(html.contains(star), notes.contains('*'));
    QCOMPARE(html.contains(plus), notes.contains('+'));
    QCOMPARE(html.contains(at), notes.contains('@'));
    // The notes follow the table in that order.
    QVERIFY(html.contains("</table><br>" + QString(notes.contains('*') ? star : "") + (notes.contains('+') ? plus : "")
                          + (notes.contains('@') ? at : "")));

    const QString list = section(html, "<br><b>Important:</b><ol>", "</ol>");
    QCOMPARE(!list.isEmpty(), !important.isEmpty());
    QCOMPARE(list.contains("<li>The Auto ID function must initially be performed on the <u>first</u> display via its "
                           "OSD to detect the rest of the displays in the LAN daisy chain.</li>"),
             important.contains("auto"));
    QCOMPARE(list.contains("<li>Confirm that the correct number of displays (6) in the LAN daisy chain were detected "
                           "by the Auto ID function.</li>"),
             important.contains("auto"));
    QCOMPARE(list.contains("<li>Using <i>Direct to each display</i> requires that the IP address of each display be "
                           "manually configured and match those set in the software.</li>"),
             important.contains("manual"));
    QCOMPARE(count_of(list, "<li>"), (important.contains("auto") ? 6 : 0) + (important.contains("manual") ? 3 : 0));
    if (important == "auto manual")
        QVERIFY(list.indexOf("Auto ID function must") < list.indexOf("Using <i>Direct"));
}

void tst_layout_summary::cable_connections_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("last");

    const QString lead = "<tr><td>#1</td><td>1</td><td>1</td>";
    QTest::newRow("1 one LAN display")
        << answers_for(1, 1, 1) << 1 << lead + "<td><b>LAN</b></td><td>From <b>PC / LAN hub</b> to <b>LAN1</b></td></tr>"
        << "" << lead + "<td><b>LAN</b></td><td>From <b>PC / LAN hub</b> to <b>LAN1</b></td></tr>";
    QTest::newRow("2 one RS-232 display")
        << answers_for(2, 1, 1) << 1
        << lead + "<td><b>RS232</b></td><td>From <b>PC COM3</b> to <b>RS232 IN</b></td></tr>" << ""
        << lead + "<td><b>RS232</b></td><td>From <b>PC COM3</b> to <b>RS232 IN</b></td></tr>";
    QTest::newRow("3 RS-232 chain")
        << answers_for(3) << 6 << lead + "<td><b>RS232</b></td><td>From <b>PC COM3</b> to <b>RS232 IN</b></td></tr>"
        << lead + "<td><b>RS232</b></td><td>From <b>RS232 OUT</b> to <b>RS232 IN</b> on Display #2</td></tr>"
        << "<tr><td>#5</td><td>2</td><td>2</td><td><b>RS232</b></td><td>From <b>RS232 OUT</b> to <b>RS232 IN</b> on "
           "Display #6</td></tr>";
    QTest::newRow("4 LAN chain behind RS-232, RS-232 and LAN")
        << answers_for(4, 3, 2, 2) << 6
        << lead + "<td><b>RS232</b></td><td>From <b>PC COM3</b> to <b>RS232 IN</b></td></tr>"
        << lead + "<td><b>LAN</b></td><td>From <b>LAN2</b> to <b>LAN</b> on Display #2</td></tr>"
        << "<tr><td>#5</td><td>2</td><td>2</td><td><b>LAN</b></td><td>From <b>LAN2</b> to <b>LAN</b> on Display "
           "#6</td></tr>";
    QTest::newRow("5 RS-232 chain behind the LAN")
        << answers_for(5) << 6 << lead + "<td><b>LAN</b></td><td>From <b>PC / LAN hub</b> to <b>LAN1</b></td></tr>"
        << lead + "<td><b>RS232</b></td><td>From <b>RS232 OUT</b> to <b>RS232 IN</b> on Display #2</td></tr>"
        << "<tr><td>#5</td><td>2</td><td>2</td><td><b>RS232</b></td><td>From <b>RS232 OUT</b> to <b>RS232 IN</b> on "
           "Display #6</td></tr>";
    QTest::newRow("6 LAN chain translated")
        << answers_for(6, 2, 1) << 2 << lead + "<td><b>LAN</b></td><td>From <b>PC / LAN hub</b> to <b>LAN1</b></td></tr>"
        << lead + "<td><b>LAN</b></td><td>From <b>LAN2</b> to <b>LAN1</b> on Display #2</td></tr>"
        << lead + "<td><b>LAN</b></td><td>From <b>LAN2</b> to <b>LAN1</b> on Display #2</td></tr>";
    QTest::newRow("9 separate, single LAN port")
        << answers_for(9, 3, 2, 4) << 6
        << lead + "<td><b>LAN</b></td><td>From <b>LAN</b> to <b>external LAN hub</b></td></tr>"
        << "<tr><td>#2</td><td>1</td><td>2</td><td><b>LAN</b></td><td>From <b>LAN</b> to <b>external LAN hub</b></td>"
           "</tr>"
        << "<tr><td>#6</td><td>2</td><td>3</td><td><b>LAN</b></td><td>From <b>LAN</b> to <b>external LAN hub</b></td>"
           "</tr>";
}

void tst_layout_summary::cable_connections()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, last);

    const QString table = section(summary_of(answers), "<h3>Cable Connections</h3>", "</table>");
    QCOMPARE(count_of(table, "<tr>"), 1 + rows);
    const QString body = table.mid(table.indexOf("</th></tr>") + 10);
    QVERIFY2(body.startsWith(first + second), qPrintable(body));
    QVERIFY2(body.endsWith(last), qPrintable(body));
}

void tst_layout_summary::cabling_required_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QString>("items");

    const QString warning = " (May require a LAN crossover cable if connecting the first display directly to this PC)";
    QTest::newRow("1") << answers_for(1, 1, 1) << "<li>1 Cat-5 or higher LAN cable(s) " + warning + "</li>";
    QTest::newRow("2") << answers_for(2, 1, 1) << "<li>1 RS232 crossover (null) modem cable(s)</li>";
    QTest::newRow("3") << answers_for(3) << "<li>6 RS232 crossover (null) modem cable(s)</li>";
    QTest::newRow("4") << answers_for(4) << "<li>5 Cat-5 or higher LAN cable(s) </li>"
                                            "<li>1 RS232 crossover (null) modem cable(s)</li>";
    QTest::newRow("5") << answers_for(5) << "<li>1 Cat-5 or higher LAN cable(s) " + warning
                                                + "</li><li>5 RS232 crossover (null) modem cable(s)</li>";
    QTest::newRow("6") << answers_for(6) << "<li>6 Cat-5 or higher LAN cable(s) </li>";
    QTest::newRow("7") << answers_for(7) << "<li>6 Cat-5 or higher LAN cable(s) </li>";
    QTest::newRow("8") << answers_for(8) << "<li>7 Cat-5 or higher LAN cable(s) </li><li>7 available LAN hub ports</li>";
    QTest::newRow("9 of 100") << answers_for(9, 10, 10)
                              << "<li>101 Cat-5 or higher LAN cable(s) </li><li>101 available LAN hub ports</li>";
    QTest::newRow("0") << answers_for(0) << "";
}

void tst_layout_summary::cabling_required()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QString, items);
    const QString list = section(summary_of(answers), "<h3>Cabling required</h3>", "</ul>");
    QCOMPARE(list.mid(list.indexOf("<ul>") + 4), items);
}

void tst_layout_summary::troubleshooting_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QString>("steps");

    QTest::newRow("0 nothing") << answers_for(0) << "id other";
    QTest::newRow("1 all") << answers_for(1, 1, 1) << "id ext firewall subnet crossover static other ping";
    QTest::newRow("1 LAN1 and LAN2") << answers_for(1, 1, 1, 3)
                                     << "id firewall subnet lanpower lan12 static other ping";
    QTest::newRow("2 all") << answers_for(2, 1, 1) << "id null inout com ext other";
    QTest::newRow("3 RS-232 only") << answers_for(3, 3, 2, 1) << "id null inout com other";
    QTest::newRow("3 single LAN port") << answers_for(3, 3, 2, 4) << "id null com other";
    QTest::newRow("4 all") << answers_for(4) << "id-auto null inout com static other";
    QTest::newRow("4 LAN1 and LAN2") << answers_for(4, 3, 2, 3) << "id-auto null com lan12 static other";
    QTest::newRow("5 RS-232 and LAN")
        << answers_for(5, 3, 2, 2) << "id null inout ext firewall subnet crossover static other ping";
    QTest::newRow("6 all") << answers_for(6) << "id-auto firewall subnet crossover static other ping";
    QTest::newRow("7 LAN1 and LAN2") << answers_for(7, 3, 2, 3)
                                     << "id-auto firewall subnet lanpower lan12 static other ping";
    QTest::newRow("8 all") << answers_for(8) << "id ext firewall subnet crossover static other ping";
    QTest::newRow("9 single LAN port") << answers_for(9, 3, 2, 4) << "id firewall subnet crossover static other ping";
}

void tst_layout_summary::troubleshooting()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QString, steps);
    QCOMPARE(troubleshooting_of(summary_of(answers)), steps);
}

void tst_layout_summary::physical_layout()
{
    layout_wizard_answers a = answers_for(9);
    a.firstdisplay_top_left = false;
    a.firstdisplay_bottom_right = true;
    a.id_first = 11;
    const QString landscape = "<td bgcolor=\"#FFFFCC\"><img src=\":/images/Resources/orientation_landscape.png\">&nbsp;";
    const QString table = section(summary_of(a), "<h3>Display Physical Layout</h3>", "</table>");
    QCOMPARE(table, "<h3>Display Physical Layout</h3><table border=\"1\"  cellpadding=\"7\" bgcolor=\"#000000\"><tr>"
                        + landscape + "#6 ID 16</td>" + landscape + "#5 ID 15</td>" + landscape + "#4 ID 14</td></tr><tr>"
                        + landscape + "#3 ID 13</td>" + landscape + "#2 ID 12</td>" + landscape + "#1 ID 11</td></tr>");

    a.orientation_portrait = true;
    const QString portrait = summary_of(a);
    QCOMPARE(count_of(portrait, "<img src=\":/images/Resources/orientation_portrait.png\">&nbsp;#"), 6);
    QVERIFY(!portrait.contains("orientation_landscape"));

    // A size the builder refuses leaves the cells empty rather than failing.
    const QString refused = summary_of(answers_for(9, 11, 10));
    QCOMPARE(count_of(refused, "<td bgcolor=\"#FFFFCC\"></td>"), 110);
    QVERIFY(!refused.contains("<td>#1</td>"));
}

void tst_layout_summary::single_lan_display()
{
    const QString html = summary_of(answers_for(1, 1, 1, 4));
    QVERIFY(!html.contains("displays arranged"));
    const QString settings = section(html, "<h3>Display Configuration Settings</h3>", "</table>");
    QVERIFY(settings.contains("<th>IP Address</th></tr>"));
    QVERIFY(!settings.contains("External Control"));
    QVERIFY(settings.contains("<td><b>192.168.0.10</b></td></tr>"));
    QVERIFY(!html.contains("If applicable for display model"));
    QCOMPARE(count_of(section(html, "<h3>Cable Connections</h3>", "</table>"), "<tr>"), 2);
    QVERIFY(html.contains("From <b>PC / LAN hub</b> to <b>LAN</b>"));
}

void tst_layout_summary::translated_chain_lists_every_address()
{
    const QString html = summary_of(answers_for(6, 3, 1));
    for (const char *address : {"192.168.0.10", "192.168.0.11", "192.168.0.12"})
        QVERIFY2(html.contains(QStringLiteral("<td><b>%1</b></td>").arg(address)), address);
    QVERIFY(html.contains("Monitor IDs will be assigned automatically by Auto ID function."));
    QVERIFY(!html.contains("Using <i>Direct to each display</i>"));
    QVERIFY(!html.contains("Auto <font color=\"red\">@</font>"));
}

void tst_layout_summary::footer_only_when_printed()
{
    const layout_summary_footer footer{"Tessaline", "Version 2.1.20 (Build 210208)", "12 March 2024 10:00"};
    const QString printed = summary_of(answers_for(9), &footer);
    QVERIFY(printed.endsWith("</ol><br><h4>This summary generated by Tessaline Version 2.1.20 (Build 210208) on 12 March "
                             "2024 10:00</h4>"));
    const QString shown = summary_of(answers_for(9));
    QVERIFY(shown.endsWith("</ol>"));
    QCOMPARE(printed.left(shown.size()), shown);
}

QTEST_GUILESS_MAIN(tst_layout_summary)
#include "tst_layout_summary.moc"
