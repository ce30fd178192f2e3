#include "app/controller/layout_manager.h"
#include "layout_setup/layout_configuration.h"
#include "layout_setup/layout_wizard_answers.h"
#include "layout_setup/layout_wizard_builder.h"
#include "layout_setup/layout_wizard_entry_rules.h"
#include "layout_setup/layout_wizard_flow.h"

#include <QSet>
#include <QtTest>

Q_DECLARE_METATYPE(layout_wizard_answers)

namespace {

// Answers for a wall of |columns| x |rows| reached in the ways the names say.
layout_wizard_answers wall(int columns, int rows)
{
    layout_wizard_answers a;
    a.size_columns = columns;
    a.size_rows = rows;
    return a;
}

layout_wizard_answers lan(int columns, int rows)
{
    layout_wizard_answers a = wall(columns, rows);
    a.connection_ipaddress = QStringLiteral("192.168.0.10");
    return a;
}

layout_wizard_answers separate_lan(int columns, int rows, bool sameId = false)
{
    layout_wizard_answers a = lan(columns, rows);
    a.interconnection_separate_lan = true;
    a.interconnection_all_LAN_have_same_ID = sameId;
    return a;
}

layout_wizard_answers lan_chain(int columns, int rows, bool translate)
{
    layout_wizard_answers a = lan(columns, rows);
    a.interconnection_lan_daisychain = true;
    (translate ? a.translate_translate : a.translate_direct) = true;
    return a;
}

layout_wizard_answers lan_then_rs232_chain(int columns, int rows)
{
    layout_wizard_answers a = lan(columns, rows);
    a.interconnection_rs232_daisychain = true;
    return a;
}

layout_wizard_answers rs232(int columns, int rows, bool lanChain = false)
{
    layout_wizard_answers a = wall(columns, rows);
    a.connection_rs232 = true;
    a.connection_comport = 2;
    (lanChain ? a.rs232interconnection_lan_daisychain : a.rs232interconnection_rs232_daisychain) = true;
    return a;
}

// The pages from the introduction to the end, as "0-1-2-...".
QString path_of(const layout_wizard_answers &a)
{
    QStringList pages;
    for (int page = kIntroPage; page >= 0 && pages.size() <= kLayoutWizardPageCount;
         page = layout_wizard_next_id(page, a))
        pages << QString::number(page);
    return pages.join(QLatin1Char('-'));
}

// The wall as numbers: one line per row from the top, the display numbers
// (1-based list order) of its cells from the left, rows separated by '/'.
QString numbering_of(const QList<display_layout_item> &items, int columns, int rows)
{
    QStringList lines;
    for (int row = 0; row < rows; ++row) {
        QString line;
        for (int column = 0; column < columns; ++column) {
            int number = 0;
            for (int i = 0; i < items.size(); ++i) {
                if (items.at(i).column == column && items.at(i).row == row)
                    number = i + 1;
            }
            line += QString::number(number);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('/'));
}

QStringList addresses_of(const QList<display_layout_item> &items)
{
    QStringList addresses;
    for (const display_layout_item &item : items)
        addresses << item.connection_address;
    return addresses;
}

QList<int> ids_of(const QList<display_layout_item> &items)
{
    QList<int> ids;
    for (const display_layout_item &item : items)
        ids << item.monitor_id;
    return ids;
}

} // namespace

class tst_layout_wizard_rules : public QObject
{
    Q_OBJECT

private slots:
    void every_field_has_one_member();
    void answers_read_from_fields();
    void page_graph_data();
    void page_graph();
    void interconnection_entry_data();
    void interconnection_entry();
    void interconnection_selection();
    void rs232_interconnection_entry_data();
    void rs232_interconnection_entry();
    void address_page_entry_data();
    void address_page_entry();
    void id_page_range_and_texts_data();
    void id_page_range_and_texts();
    void corner_and_direction_pages();
    void completion();
    void configuration_code_data();
    void configuration_code();
    void configuration_values_data();
    void configuration_values();
    void external_control_and_lan_input_by_model_data();
    void external_control_and_lan_input_by_model();
    void walk_of_every_corner_and_direction_data();
    void walk_of_every_corner_and_direction();
    void ids_and_addresses_by_interconnection_data();
    void ids_and_addresses_by_interconnection();
    void addresses_carry_and_malformed_addresses_data();
    void addresses_carry_and_malformed_addresses();
    void com_port_by_index_data();
    void com_port_by_index();
    void orientation_and_start_corner();
    void wall_is_built_by_the_layout_model();
};

void tst_layout_wizard_rules::every_field_has_one_member()
{
    QSet<QString> names;
    QSet<QString> members;
    for (const layout_wizard_field &field : layout_wizard_fields()) {
        const QString name = QString::fromLatin1(field.name);
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
    }
    QCOMPARE(names.size(), 22);
    for (const char *name : {"size.rows", "size.columns", "connection.rs232", "connection.comport",
                             "interconnection.separate_lan", "interconnection.lan_daisychain",
                             "interconnection.rs232_daisychain", "interconnection.all_LAN_have_same_ID",
                             "translate.direct", "translate.translate", "rs232interconnection.rs232_daisychain",
                             "rs232interconnection.lan_daisychain", "connection.ipaddress", "id.first",
                             "firstdisplay.top_left", "firstdisplay.top_right", "firstdisplay.bottom_left",
                             "firstdisplay.bottom_right", "direction.clockwise", "direction.zigzag",
                             "orientation.landscape", "orientation.portrait"})
        QVERIFY2(names.contains(QString::fromLatin1(name)), name);
}

void tst_layout_wizard_rules::answers_read_from_fields()
{
    const QVariantMap fields{{"size.rows", 4},
                             {"size.columns", 5},
                             {"connection.rs232", true},
                             {"connection.comport", 7},
                             {"translate.translate", true},
                             {"connection.ipaddress", QStringLiteral("10.0.0.1")},
                             {"id.first", 12},
                             {"firstdisplay.top_left", false},
                             {"firstdisplay.bottom_right", true},
                             {"direction.clockwise", false},
                             {"orientation.portrait", true}};
    const layout_wizard_answers a = read_layout_wizard_answers([&](const QString &name) { return fields.value(name); });
    QCOMPARE(a.size_rows, 4);
    QCOMPARE(a.size_columns, 5);
    QVERIFY(a.connection_rs232);
    QCOMPARE(a.connection_comport, 7);
    QVERIFY(a.translate_translate);
    QVERIFY(!a.translate_direct);
    QCOMPARE(a.connection_ipaddress, QStringLiteral("10.0.0.1"));
    QCOMPARE(a.id_first, 12);
    QVERIFY(!a.firstdisplay_top_left);
    QVERIFY(a.firstdisplay_bottom_right);
    QVERIFY(!a.direction_clockwise);
    QVERIFY(!a.direction_zigzag);
    QVERIFY(a.orientation_portrait);
    QVERIFY(a.orientation_landscape); // not given: its default stays
    QCOMPARE(a.model_configuration_type, 0);
}

void tst_layout_wizard_rules::page_graph_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QString>("path");

    QTest::newRow("one display on the LAN") << lan(1, 1) << "0-1-2-3-7-8-11-12";
    QTest::newRow("one display on RS-232") << rs232(1, 1) << "0-1-2-3-8-11-12";
    QTest::newRow("separate LAN links") << separate_lan(3, 2) << "0-1-2-3-4-7-8-9-10-11-12";
    QTest::newRow("LAN daisy chain") << lan_chain(3, 2, true) << "0-1-2-3-4-5-7-8-9-10-11-12";
    QTest::newRow("RS-232 chain behind the LAN") << lan_then_rs232_chain(3, 2) << "0-1-2-3-4-7-8-9-10-11-12";
    QTest::newRow("RS-232 daisy chain") << rs232(3, 2) << "0-1-2-3-6-8-9-10-11-12";
    QTest::newRow("LAN chain behind RS-232 skips the ID") << rs232(3, 2, true) << "0-1-2-3-6-9-10-11-12";
    QTest::newRow("one row skips the direction") << separate_lan(5, 1) << "0-1-2-3-4-7-8-9-11-12";
    QTest::newRow("one column skips the direction") << rs232(1, 5) << "0-1-2-3-6-8-9-11-12";
    // A one-display wall follows the single-display branch whatever the
    // chaining fields were left with.
    layout_wizard_answers single = lan_chain(1, 1, false);
    QTest::newRow("one display with a chain left set") << single << "0-1-2-3-7-8-11-12";
}

void tst_layout_wizard_rules::page_graph()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QString, path);
    QCOMPARE(path_of(answers), path);
    QCOMPARE(layout_wizard_next_id(kSummaryPage, answers), -1);
    QCOMPARE(layout_wizard_next_id(99, answers), -1);
}

void tst_layout_wizard_rules::interconnection_entry_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("before"); // the checked choice: s, l, r or -
    QTest::addColumn<bool>("rs232Enabled");
    QTest::addColumn<bool>("lanEnabled");
    QTest::addColumn<QString>("after");

    QTest::newRow("all, nothing chosen") << 0 << "-" << true << true << "-";
    QTest::newRow("all keeps a LAN chain") << 0 << "l" << true << true << "l";
    QTest::newRow("RS-232 only keeps an RS-232 chain") << 1 << "r" << true << true << "r";
    QTest::newRow("RS-232 and LAN: LAN chain becomes RS-232") << 2 << "l" << true << false << "r";
    QTest::newRow("RS-232 and LAN keeps separate") << 2 << "s" << true << false << "s";
    QTest::newRow("LAN1 and LAN2: RS-232 chain becomes LAN") << 3 << "r" << false << true << "l";
    QTest::newRow("LAN1 and LAN2, nothing chosen") << 3 << "-" << false << true << "-";
    QTest::newRow("single LAN port forces separate") << 4 << "-" << false << false << "s";
    QTest::newRow("single LAN port over a LAN chain") << 4 << "l" << false << false << "s";
}

void tst_layout_wizard_rules::interconnection_entry()
{
    QFETCH(int, type);
    QFETCH(QString, before);
    QFETCH(bool, rs232Enabled);
    QFETCH(bool, lanEnabled);
    QFETCH(QString, after);

    const interconnection_page_entry entry =
        interconnection_page_entry_for(type, before == "s", before == "l", before == "r");
    QCOMPARE(entry.rs232DaisyChainEnabled, rs232Enabled);
    QCOMPARE(entry.lanDaisyChainEnabled, lanEnabled);
    const QString checked = entry.separateLan ? "s" : entry.lanDaisyChain ? "l" : entry.rs232DaisyChain ? "r" : "-";
    QCOMPARE(checked, after);
    QVERIFY(int(entry.separateLan) + int(entry.lanDaisyChain) + int(entry.rs232DaisyChain) <= 1);
}

void tst_layout_wizard_rules::interconnection_selection()
{
    const QString oneId = QStringLiteral(":/images/Resources/display conneciton diagram 03.png");
    const QString ids = QStringLiteral(":/images/Resources/display conneciton diagram 02.png");
    QCOMPARE(interconnection_page_selection_for(true, true).separateLanPicture, oneId);
    QCOMPARE(interconnection_page_selection_for(true, false).separateLanPicture, ids);
    QVERIFY(interconnection_page_selection_for(true, false).sameIdEnabled);
    QVERIFY(!interconnection_page_selection_for(false, true).sameIdEnabled);
    QCOMPARE(interconnection_page_selection_for(false, true).separateLanPicture, oneId);
}

void tst_layout_wizard_rules::rs232_interconnection_entry_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("before"); // r, l or -
    QTest::addColumn<bool>("rs232Enabled");
    QTest::addColumn<bool>("lanEnabled");
    QTest::addColumn<QString>("after");

    QTest::newRow("all") << 0 << "-" << true << true << "-";
    QTest::newRow("all keeps a LAN chain") << 0 << "l" << true << true << "l";
    QTest::newRow("RS-232 only") << 1 << "l" << true << false << "r";
    QTest::newRow("RS-232 and LAN") << 2 << "-" << true << false << "r";
    QTest::newRow("LAN1 and LAN2") << 3 << "r" << false << true << "l";
    QTest::newRow("single LAN port") << 4 << "r" << true << true << "r";
}

void tst_layout_wizard_rules::rs232_interconnection_entry()
{
    QFETCH(int, type);
    QFETCH(QString, before);
    QFETCH(bool, rs232Enabled);
    QFETCH(bool, lanEnabled);
    QFETCH(QString, after);

    const rs232_interconnection_page_entry entry =
        rs232_interconnection_page_entry_for(type, before == "r", before == "l");
    QCOMPARE(entry.rs232DaisyChainEnabled, rs232Enabled);
    QCOMPARE(entry.lanDaisyChainEnabled, lanEnabled);
    QCOMPARE(QString(entry.rs232DaisyChain ? "r" : entry.lanDaisyChain ? "l" : "-"), after);
}

void tst_layout_wizard_rules::address_page_entry_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("search");
    QTest::addColumn<QString>("label");

    const QString connected = "Enter the IP address of the display connected to the LAN.";
    QTest::newRow("one display") << lan(1, 1) << 0 << true << connected;
    QTest::newRow("one display, a chain left set") << lan_chain(1, 1, true) << 3 << true << connected;
    QTest::newRow("separate") << separate_lan(2, 2) << 4 << true
                              << "Enter the lowest IP address of the displays connected to the LAN. Sequential IP "
                                 "addresses will be assigned.";
    QTest::newRow("LAN chain direct") << lan_chain(2, 2, false) << 1 << false
                                      << "Enter the IP address of the first display in the LAN daisy chain. "
                                         "Sequential IP addresses will be assigned.";
    QTest::newRow("LAN chain translated") << lan_chain(2, 2, true) << 2 << false
                                          << "Enter the IP address of the first display in the LAN daisy chain.";
    QTest::newRow("RS-232 chain") << lan_then_rs232_chain(2, 2) << 2 << false << connected;
}

void tst_layout_wizard_rules::address_page_entry()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(int, type);
    QFETCH(bool, search);
    QFETCH(QString, label);
    answers.model_configuration_type = type;
    const ip_address_page_entry entry = ip_address_page_entry_for(answers);
    QCOMPARE(entry.searchVisible, search);
    QCOMPARE(entry.label, label);
}

void tst_layout_wizard_rules::id_page_range_and_texts_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("keepSubTitle");
    QTest::addColumn<QString>("subTitle");
    QTest::addColumn<QString>("label");

    QTest::newRow("one display") << lan(1, 1) << 100 << "Enter the ID of the display." << true << ""
                                 << "Display ID";
    const QString lowest = "Specify the lowest ID in the video wall";
    const QString sequential = "IDs will be assigned sequentially for each display in the project.";
    QTest::newRow("3 x 2") << rs232(3, 2) << 95 << lowest << false << sequential << "Starting ID";
    QTest::newRow("10 x 10 allows only 1") << separate_lan(10, 10) << 1 << lowest << false << sequential
                                           << "Starting ID";
    QTest::newRow("10 x 10 with one shared ID")
        << separate_lan(10, 10, true) << 100 << "Specify the ID used for all displays connected by LAN" << false
        << "The default ID is 1. Settings for individual displays can be modified later."
        << "ID for all displays";
    // The shared ID needs separate links: on a chain the box means nothing.
    layout_wizard_answers chain = lan_chain(5, 2, false);
    chain.interconnection_all_LAN_have_same_ID = true;
    QTest::newRow("shared ID box on a chain") << chain << 91 << lowest << false << sequential << "Starting ID";
}

void tst_layout_wizard_rules::id_page_range_and_texts()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(int, maximum);
    QFETCH(QString, title);
    QFETCH(bool, keepSubTitle);
    QFETCH(QString, subTitle);
    QFETCH(QString, label);

    const id_page_entry entry = id_page_entry_for(answers);
    QCOMPARE(entry.minimum, 1);
    QCOMPARE(entry.maximum, maximum);
    QCOMPARE(entry.title, title);
    QCOMPARE(entry.keepSubTitle, keepSubTitle);
    if (!keepSubTitle)
        QCOMPARE(entry.subTitle, subTitle);
    QCOMPARE(entry.label, label);
}

void tst_layout_wizard_rules::corner_and_direction_pages()
{
    const first_display_page_entry row = first_display_page_entry_for(separate_lan(5, 1));
    QVERIFY(row.topRightEnabled);
    QVERIFY(!row.bottomLeftEnabled);
    QVERIFY(!row.bottomRightEnabled);
    const first_display_page_entry column = first_display_page_entry_for(separate_lan(1, 5));
    QVERIFY(!column.topRightEnabled);
    QVERIFY(column.bottomLeftEnabled);
    QVERIFY(!column.bottomRightEnabled);
    const first_display_page_entry both = first_display_page_entry_for(separate_lan(2, 2));
    QVERIFY(both.topRightEnabled && both.bottomLeftEnabled && both.bottomRightEnabled);

    const QString lowest = "Select the location of the display with the lowest ID or IP address in the video wall.";
    const QString chainStart = "Select the location of the first display in the LAN daisy chain in the video wall.";
    QCOMPARE(both.subTitle, lowest);
    QCOMPARE(first_display_page_entry_for(lan_chain(2, 2, true)).subTitle, chainStart);
    // A LAN chain behind an RS-232 link is numbered by its IDs, not its cables.
    QCOMPARE(first_display_page_entry_for(rs232(2, 2, true)).subTitle, lowest);
    layout_wizard_answers leftOver = rs232(2, 2, true);
    leftOver.interconnection_lan_daisychain = true;
    QCOMPARE(first_display_page_entry_for(leftOver).subTitle, lowest);

    QCOMPARE(layout_direction_page_subtitle(lan_chain(2, 2, false)),
             QStringLiteral("When using LAN daisy chains and the Auto ID function, the order of the physical cable "
                            "connections determines the order of Monitor IDs."));
    QCOMPARE(layout_direction_page_subtitle(separate_lan(2, 2)),
             QStringLiteral("The physical cable connections between displays do not have to follow this order"));
}

void tst_layout_wizard_rules::completion()
{
    QVERIFY(!interconnection_page_complete(lan(2, 2)));
    QVERIFY(interconnection_page_complete(separate_lan(2, 2)));
    QVERIFY(interconnection_page_complete(lan_chain(2, 2, true)));
    QVERIFY(interconnection_page_complete(lan_then_rs232_chain(2, 2)));

    layout_wizard_answers chain = lan(2, 2);
    chain.interconnection_lan_daisychain = true;
    QVERIFY(!lan_translate_page_complete(chain));
    QVERIFY(lan_translate_page_complete(lan_chain(2, 2, true)));
    QVERIFY(lan_translate_page_complete(lan_chain(2, 2, false)));

    QVERIFY(!rs232_interconnection_page_complete(wall(2, 2)));
    QVERIFY(rs232_interconnection_page_complete(rs232(2, 2)));
    QVERIFY(rs232_interconnection_page_complete(rs232(2, 2, true)));

    QVERIFY(ip_address_page_complete(QStringLiteral("192.168.0.10")));
    for (const char *text : {"", "192.168.0.", "192..0.10", "192.168.0.256", "1.2.3.4.5", "a.b.c.d"})
        QVERIFY2(!ip_address_page_complete(QString::fromLatin1(text)), text);
}

void tst_layout_wizard_rules::configuration_code_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<int>("code");

    QTest::newRow("1 one LAN display") << lan(1, 1) << 1;
    QTest::newRow("2 one RS-232 display") << rs232(1, 1) << 2;
    QTest::newRow("3 RS-232 chain") << rs232(3, 2) << 3;
    QTest::newRow("4 LAN chain behind RS-232") << rs232(3, 2, true) << 4;
    QTest::newRow("5 RS-232 chain behind LAN") << lan_then_rs232_chain(3, 2) << 5;
    QTest::newRow("6 LAN chain translated") << lan_chain(3, 2, true) << 6;
    QTest::newRow("7 LAN chain direct") << lan_chain(3, 2, false) << 7;
    QTest::newRow("8 separate, one ID") << separate_lan(3, 2, true) << 8;
    QTest::newRow("9 separate") << separate_lan(3, 2) << 9;
    QTest::newRow("0 nothing chosen") << lan(3, 2) << 0;
    QTest::newRow("0 RS-232 without a chain") << wall(3, 2) << 0;
    layout_wizard_answers untranslated = lan(3, 2);
    untranslated.interconnection_lan_daisychain = true;
    QTest::newRow("0 LAN chain without a way") << untranslated << 0;

    // Choices left on pages the final path no longer passes: the later test wins.
    layout_wizard_answers lanLeft = separate_lan(3, 2, true);
    lanLeft.interconnection_lan_daisychain = true;
    lanLeft.translate_translate = true;
    QTest::newRow("separate then translated chain") << lanLeft << 6;
    lanLeft.translate_direct = true;
    QTest::newRow("translated then direct") << lanLeft << 7;
    lanLeft.interconnection_rs232_daisychain = true;
    QTest::newRow("RS-232 chain wins on the LAN") << lanLeft << 5;
    layout_wizard_answers rsLeft = rs232(3, 2, true);
    rsLeft.rs232interconnection_rs232_daisychain = true;
    QTest::newRow("RS-232 chain wins on RS-232") << rsLeft << 3;
    rsLeft.interconnection_separate_lan = true; // a LAN page's field, not read over RS-232
    QTest::newRow("LAN fields ignored on RS-232") << rsLeft << 3;
    layout_wizard_answers lanWithRs = separate_lan(3, 2);
    lanWithRs.rs232interconnection_lan_daisychain = true;
    QTest::newRow("RS-232 fields ignored on the LAN") << lanWithRs << 9;
}

void tst_layout_wizard_rules::configuration_code()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(int, code);
    QCOMPARE(layout_configuration_code(answers), code);
    QCOMPARE(configuration_ids_start_at_one(code), code == 4 || code == 7);
}

void tst_layout_wizard_rules::configuration_values_data()
{
    QTest::addColumn<int>("code");
    // first and other link, LAN cables, hub ports, RS-232 cables for n = 6,
    // then the switches: crossover, auto ID, first IP, other IP, assigned by
    // the display, manual IP notice.
    QTest::addColumn<QString>("links");
    QTest::addColumn<QString>("cables");
    QTest::addColumn<QString>("switches");

    QTest::newRow("0") << 0 << "0 0" << "0 0 0" << "000000";
    QTest::newRow("1") << 1 << "1 0" << "1 0 0" << "101000";
    QTest::newRow("2") << 2 << "2 0" << "0 0 1" << "000000";
    QTest::newRow("3") << 3 << "2 2" << "0 0 6" << "000000";
    QTest::newRow("4") << 4 << "2 1" << "5 0 1" << "011110";
    QTest::newRow("5") << 5 << "1 2" << "1 0 5" << "101000";
    QTest::newRow("6") << 6 << "1 1" << "6 0 0" << "011100";
    QTest::newRow("7") << 7 << "1 1" << "6 0 0" << "011101";
    QTest::newRow("8") << 8 << "1 1" << "7 7 0" << "001100";
    QTest::newRow("9") << 9 << "1 1" << "7 7 0" << "001100";
    QTest::newRow("out of range") << 12 << "0 0" << "0 0 0" << "000000";
}

void tst_layout_wizard_rules::configuration_values()
{
    QFETCH(int, code);
    QFETCH(QString, links);
    QFETCH(QString, cables);
    QFETCH(QString, switches);

    const layout_configuration c = layout_configuration_for(code, 6, 0);
    QCOMPARE(QStringLiteral("%1 %2").arg(c.first_display_connection_type).arg(c.other_display_connection_type), links);
    QCOMPARE(QStringLiteral("%1 %2 %3")
                 .arg(c.total_number_lan_cables)
                 .arg(c.total_number_lan_hub_ports)
                 .arg(c.total_number_rs232_cables),
             cables);
    QString shown;
    for (bool b : {c.crossover_warning, c.show_auto_id_notice, c.show_first_display_ip, c.show_other_display_ip,
                   c.ip_address_assigned_by_display, c.show_need_manual_IP_address_config})
        shown += b ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(shown, switches);
}

void tst_layout_wizard_rules::external_control_and_lan_input_by_model_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("externalControl");
    QTest::addColumn<bool>("ifApplicable");
    QTest::addColumn<QString>("lanInput");

    QTest::newRow("separate, all") << 9 << 0 << true << true << "LAN1";
    QTest::newRow("separate, RS-232 only") << 9 << 1 << false << false << "LAN1";
    QTest::newRow("separate, RS-232 and LAN") << 9 << 2 << true << false << "LAN";
    QTest::newRow("separate, LAN1 and LAN2") << 9 << 3 << false << false << "LAN1";
    QTest::newRow("separate, single LAN port") << 9 << 4 << false << false << "LAN";
    QTest::newRow("RS-232 chain behind the LAN, all") << 5 << 0 << true << false << "LAN1";
    QTest::newRow("translated chain, all") << 6 << 0 << false << false << "LAN1";
    QTest::newRow("one LAN display, RS-232 and LAN") << 1 << 2 << true << false << "LAN";
}

void tst_layout_wizard_rules::external_control_and_lan_input_by_model()
{
    QFETCH(int, code);
    QFETCH(int, type);
    QFETCH(bool, externalControl);
    QFETCH(bool, ifApplicable);
    QFETCH(QString, lanInput);

    const layout_configuration c = layout_configuration_for(code, 4, type);
    QCOMPARE(c.show_external_control_setting, externalControl);
    QCOMPARE(c.show_external_control_setting_if_applicable, ifApplicable);
    QCOMPARE(c.lan_input_name, lanInput);
}

void tst_layout_wizard_rules::walk_of_every_corner_and_direction_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("corner"); // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<bool>("zigzag");
    QTest::addColumn<QString>("numbers"); // rows from the top, '/' between

    struct walk
    {
        int corner;
        bool clockwise;
        bool zigzag;
        const char *numbers;
    };
    // 3 columns by 2 rows.
    const walk threeByTwo[] = {
        {0, true, false, "123/456"},  {0, true, true, "123/654"},  {0, false, false, "135/246"},
        {0, false, true, "145/236"},  {1, true, false, "531/642"},  {1, true, true, "541/632"},
        {1, false, false, "321/654"}, {1, false, true, "321/456"},  {2, true, false, "246/135"},
        {2, true, true, "236/145"},   {2, false, false, "456/123"}, {2, false, true, "654/123"},
        {3, true, false, "654/321"},  {3, true, true, "456/321"},   {3, false, false, "642/531"},
        {3, false, true, "632/541"},
    };
    for (const walk &w : threeByTwo)
        QTest::addRow("3x2 corner %d %s %s", w.corner, w.clockwise ? "cw" : "ccw", w.zigzag ? "zig-zag" : "scan")
            << 3 << 2 << w.corner << w.clockwise << w.zigzag << w.numbers;
    // 2 columns by 3 rows, a few.
    QTest::newRow("2x3 top left cw zig-zag") << 2 << 3 << 0 << true << true << "12/43/56";
    QTest::newRow("2x3 bottom right ccw scan") << 2 << 3 << 3 << false << false << "63/52/41";
    QTest::newRow("2x3 top right cw zig-zag") << 2 << 3 << 1 << true << true << "61/52/43";
    QTest::newRow("1x1") << 1 << 1 << 3 << false << true << "1";
    QTest::newRow("1 row from the right") << 4 << 1 << 1 << false << false << "4321";
    QTest::newRow("1 column from the bottom") << 1 << 3 << 2 << true << true << "3/2/1";
}

void tst_layout_wizard_rules::walk_of_every_corner_and_direction()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, corner);
    QFETCH(bool, clockwise);
    QFETCH(bool, zigzag);
    QFETCH(QString, numbers);

    layout_wizard_answers a = rs232(columns, rows);
    a.firstdisplay_top_left = corner == 0;
    a.firstdisplay_top_right = corner == 1;
    a.firstdisplay_bottom_left = corner == 2;
    a.firstdisplay_bottom_right = corner == 3;
    a.direction_clockwise = clockwise;
    a.direction_zigzag = zigzag;
    a.id_first = 7;
    const QList<display_layout_item> items = build_summary_layout_list(a);
    QCOMPARE(items.size(), columns * rows);
    QCOMPARE(numbering_of(items, columns, rows), numbers);
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(items.at(i).monitor_id, 7 + i);
        QVERIFY(items.at(i).enabled);
        QCOMPARE(items.at(i).verify_status, 0);
        QVERIFY(items.at(i).serial_number.isEmpty() && items.at(i).model_name.isEmpty());
    }
    // The wall gets the same walk.
    QCOMPARE(numbering_of(build_layout_items(wall_layout_parameters(a)), columns, rows), numbers);
}

void tst_layout_wizard_rules::ids_and_addresses_by_interconnection_data()
{
    QTest::addColumn<layout_wizard_answers>("answers");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("summaryAddresses");
    QTest::addColumn<QStringList>("wallAddresses");

    const QStringList sequential{"192.168.0.10", "192.168.0.11", "192.168.0.12"};
    const QStringList shared{"192.168.0.10", "192.168.0.10", "192.168.0.10"};
    const QStringList com3{"COM3", "COM3", "COM3"};
    QTest::newRow("separate") << separate_lan(3, 1) << QList<int>{5, 6, 7} << sequential << sequential;
    QTest::newRow("separate, one shared ID") << separate_lan(3, 1, true) << QList<int>{5, 5, 5} << sequential
                                             << sequential;
    QTest::newRow("LAN chain direct") << lan_chain(3, 1, false) << QList<int>{5, 6, 7} << sequential << sequential;
    // Translated through the first display: the summary lists the address to
    // set on each display, the wall reaches them all through the first.
    QTest::newRow("LAN chain translated") << lan_chain(3, 1, true) << QList<int>{5, 6, 7} << sequential << shared;
    QTest::newRow("RS-232 chain behind the LAN") << lan_then_rs232_chain(3, 1) << QList<int>{5, 6, 7} << shared
                                                 << shared;
    QTest::newRow("RS-232 chain") << rs232(3, 1) << QList<int>{5, 6, 7} << com3 << com3;
    QTest::newRow("LAN chain behind RS-232") << rs232(3, 1, true) << QList<int>{5, 6, 7} << com3 << com3;
    // The shared-ID box counts only with separate links, and only on the LAN.
    layout_wizard_answers chain = lan_chain(3, 1, false);
    chain.interconnection_all_LAN_have_same_ID = true;
    QTest::newRow("shared ID box on a chain") << chain << QList<int>{5, 6, 7} << sequential << sequential;
    layout_wizard_answers serial = rs232(3, 1);
    serial.interconnection_separate_lan = true;
    serial.interconnection_all_LAN_have_same_ID = true;
    serial.interconnection_rs232_daisychain = true;
    QTest::newRow("LAN fields left set on RS-232") << serial << QList<int>{5, 6, 7} << com3 << com3;
}

void tst_layout_wizard_rules::ids_and_addresses_by_interconnection()
{
    QFETCH(layout_wizard_answers, answers);
    QFETCH(QList<int>, ids);
    QFETCH(QStringList, summaryAddresses);
    QFETCH(QStringList, wallAddresses);

    answers.id_first = 5;
    const QList<display_layout_item> summary = build_summary_layout_list(answers);
    QCOMPARE(ids_of(summary), ids);
    QCOMPARE(addresses_of(summary), summaryAddresses);
    const QList<display_layout_item> wallItems = build_layout_items(wall_layout_parameters(answers));
    QCOMPARE(ids_of(wallItems), ids);
    QCOMPARE(addresses_of(wallItems), wallAddresses);
    const int type = answers.connection_rs232 ? display_layout_item::kRs232 : display_layout_item::kLan;
    for (const display_layout_item &item : summary)
        QCOMPARE(item.connection_type, type);
}

void tst_layout_wizard_rules::addresses_carry_and_malformed_addresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("addresses");

    QTest::newRow("carry into the third byte") << "192.168.0.254"
                                               << QStringList{"192.168.0.254", "192.168.0.255", "192.168.1.0"};
    QTest::newRow("carry through every byte") << "10.255.255.255"
                                              << QStringList{"10.255.255.255", "11.0.0.0", "11.0.0.1"};
    QTest::newRow("wrap at the top") << "255.255.255.255" << QStringList{"255.255.255.255", "0.0.0.0", "0.0.0.1"};
    QTest::newRow("three parts") << "192.168.0" << QStringList{"0.0.0.0", "0.0.0.1", "0.0.0.2"};
    QTest::newRow("five parts") << "1.2.3.4.5" << QStringList{"0.0.0.0", "0.0.0.1", "0.0.0.2"};
    QTest::newRow("empty") << "" << QStringList{"0.0.0.0", "0.0.0.1", "0.0.0.2"};
    QTest::newRow("a part that is no number") << "10.x.0.1" << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    QTest::newRow("an empty part") << "10..0.1" << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    QTest::newRow("leading zeros are dropped") << "010.001.000.009"
                                               << QStringList{"10.1.0.9", "10.1.0.10", "10.1.0.11"};
}

void tst_layout_wizard_rules::addresses_carry_and_malformed_addresses()
{
    QFETCH(QString, address);
    QFETCH(QStringList, addresses);
    layout_wizard_answers a = separate_lan(3, 1);
    a.connection_ipaddress = address;
    QCOMPARE(addresses_of(build_summary_layout_list(a)), addresses);
}

void tst_layout_wizard_rules::com_port_by_index_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("port");

    QTest::newRow("first") << 0 << "COM1";
    QTest::newRow("third") << 2 << "COM3";
    QTest::newRow("last") << 15 << "COM16";
    QTest::newRow("past the list") << 16 << "";
    QTest::newRow("negative") << -1 << "";
}

void tst_layout_wizard_rules::com_port_by_index()
{
    QFETCH(int, index);
    QFETCH(QString, port);
    layout_wizard_answers a = rs232(2, 1);
    a.connection_comport = index;
    QCOMPARE(layout_wizard_com_port(index), port);
    QCOMPARE(addresses_of(build_summary_layout_list(a)), QStringList({port, port}));
    QCOMPARE(wall_layout_parameters(a).address, port);
}

void tst_layout_wizard_rules::orientation_and_start_corner()
{
    layout_wizard_answers a = separate_lan(2, 2);
    QCOMPARE(a.orientation(), int(display_layout_item::kLandscape));
    a.orientation_portrait = true;
    QCOMPARE(a.orientation(), int(display_layout_item::kPortrait)); // portrait wins over landscape
    a.orientation_landscape = false;
    QCOMPARE(build_summary_layout_list(a).first().orientation, int(display_layout_item::kPortrait));
    a.orientation_portrait = false;
    QCOMPARE(a.orientation(), int(display_layout_item::kOrientationNotSet));
    QCOMPARE(wall_layout_parameters(a).orientation, int(display_layout_item::kOrientationNotSet));

    // Corners: the last one set in the order top right, bottom left, bottom right.
    QCOMPARE(a.start_corner(), 0);
    a.firstdisplay_bottom_right = true;
    QCOMPARE(a.start_corner(), 3); // top left set too
    a.firstdisplay_top_right = true;
    QCOMPARE(a.start_corner(), 3);
    a.firstdisplay_bottom_right = false;
    a.firstdisplay_bottom_left = true;
    QCOMPARE(a.start_corner(), 2);
    a.firstdisplay_bottom_left = false;
    QCOMPARE(a.start_corner(), 1);
}

void tst_layout_wizard_rules::wall_is_built_by_the_layout_model()
{
    layout_manager layout(nullptr, nullptr);
    QSignalSpy changed(&layout, &layout_manager::layout_changed);
    layout_wizard_answers a = lan_chain(2, 2, true);
    a.id_first = 3;
    a.firstdisplay_top_left = false;
    a.firstdisplay_bottom_left = true;
    a.direction_zigzag = true;
    a.orientation_portrait = true;
    QCOMPARE(create_layout_from_answers(layout, a), 0);
    QCOMPARE(changed.count(), 1);
    int columns = 0;
    int rows = 0;
    QCOMPARE(layout.get_size(columns, rows), 4);
    QCOMPARE(columns, 2);
    QCOMPARE(rows, 2);
    QList<display_layout_item> items;
    for (int i = 0; i < 4; ++i) {
        display_layout_item item;
        QCOMPARE(layout.get_item(i, item), 0);
        items << item;
    }
    QCOMPARE(numbering_of(items, 2, 2), QStringLiteral("23/14"));
    QCOMPARE(ids_of(items), QList<int>({3, 4, 5, 6}));
    const QString first = QStringLiteral("192.168.0.10");
    QCOMPARE(addresses_of(items), QStringList({first, first, first, first}));
    for (const display_layout_item &item : items) {
        QCOMPARE(item.orientation, int(display_layout_item::kPortrait));
        QVERIFY(!item.id_conflict);
    }

    // A size the model refuses changes nothing.
    QCOMPARE(create_layout_from_answers(layout, separate_lan(11, 10)), -1);
    QCOMPARE(layout.item_count(), 4);
    QCOMPARE(changed.count(), 1);
}

QTEST_GUILESS_MAIN(tst_layout_wizard_rules)
#include "tst_layout_wizard_rules.moc"
