#include "layout_setup/layout_configuration.h"

#include "layout_setup/model_configuration_type.h"

#include <QCoreApplication>

namespace {

// A cable count: per_display x n + extra.
struct cable_count
{
    int per_display;
    int extra;
    int of(int n) const { return per_display * n + extra; }
};

constexpr cable_count kNone{0, 0};
constexpr cable_count kOne{0, 1};
constexpr cable_count kN{1, 0};
constexpr cable_count kNMinus1{1, -1};
constexpr cable_count kNPlus1{1, 1};

struct configuration_row
{
    int first;
    int other;
    cable_count lan_cables;
    cable_count lan_hub_ports;
    cable_count rs232_cables;
    bool crossover_warning;
    bool auto_id_notice;
    bool first_ip;
    bool other_ip;
    bool ip_assigned_by_display;
    bool manual_ip_notice;
    bool external_control_candidate;
    bool if_applicable_candidate;
};

constexpr int L = CONNECTION_LAN;
constexpr int R = CONNECTION_RS232;
constexpr int N = CONNECTION_NONE;

// Indexed by configuration code; code 0 has nothing.
constexpr configuration_row kRows[] = {
    {N, N, kNone, kNone, kNone, false, false, false, false, false, false, false, false},
    {L, N, kOne, kNone, kNone, true, false, true, false, false, false, true, true},
    {R, N, kNone, kNone, kOne, false, false, false, false, false, false, true, true},
    {R, R, kNone, kNone, kN, false, false, false, false, false, false, true, true},
    {R, L, kNMinus1, kNone, kOne, false, true, true, true, true, false, false, false},
    {L, R, kOne, kNone, kNMinus1, true, false, true, false, false, false, true, false},
    {L, L, kN, kNone, kNone, false, true, true, true, false, false, false, false},
    {L, L, kN, kNone, kNone, false, true, true, true, false, true, false, false},
    {L, L, kNPlus1, kNPlus1, kNone, false, false, true, true, false, false, true, true},
    {L, L, kNPlus1, kNPlus1, kNone, false, false, true, true, false, false, true, true},
};
constexpr int kCodeCount = int(sizeof(kRows) / sizeof(kRows[0]));

} // namespace

int layout_configuration_code(const layout_wizard_answers &a)
{
    const bool single = a.display_count() < 2;
    int code = 0;
    if (a.connection_rs232) {
        if (single)
            return 2;
        // Later tests win: fields left set on pages the path no longer passes.
        if (a.rs232interconnection_lan_daisychain)
            code = 4;
        if (a.rs232interconnection_rs232_daisychain)
            code = 3;
        return code;
    }
    if (single)
        return 1;
    if (a.interconnection_separate_lan)
        code = a.interconnection_all_LAN_have_same_ID ? 8 : 9;
    if (a.interconnection_lan_daisychain && a.translate_translate)
        code = 6;
    if (a.interconnection_lan_daisychain && a.translate_direct)
        code = 7;
    if (a.interconnection_rs232_daisychain)
        code = 5;
    return code;
}

bool configuration_ids_start_at_one(int code)
{
    return code == 4 || code == 7;
}

layout_configuration layout_configuration_for(int code, int n, int type)
{
    layout_configuration c;
    c.code = code >= 0 && code < kCodeCount ? code : 0;
    const configuration_row &row = kRows[c.code];
    c.first_display_connection_type = row.first;
    c.other_display_connection_type = row.other;
    c.total_number_lan_cables = row.lan_cables.of(n);
    c.total_number_lan_hub_ports = row.lan_hub_ports.of(n);
    c.total_number_rs232_cables = row.rs232_cables.of(n);
    c.crossover_warning = row.crossover_warning;
    c.show_auto_id_notice = row.auto_id_notice;
    c.show_first_display_ip = row.first_ip;
    c.show_other_display_ip = row.other_ip;
    c.ip_address_assigned_by_display = row.ip_assigned_by_display;
    c.show_need_manual_IP_address_config = row.manual_ip_notice;
    c.show_external_control_setting = row.external_control_candidate
                                      && (type == MODEL_CONFIGURATION_TYPE_ALL
                                          || type == MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN);
    c.show_external_control_setting_if_applicable = row.if_applicable_candidate && type == MODEL_CONFIGURATION_TYPE_ALL;
    const bool inputIsLan1 = type == MODEL_CONFIGURATION_TYPE_ALL || type == MODEL_CONFIGURATION_TYPE_RS232_IN_OUT
                             || type == MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232;
    c.lan_input_name = inputIsLan1 ? QStringLiteral("LAN1") : QStringLiteral("LAN");
    return c;
}

QString connection_name(int connectionType)
{
    switch (connectionType) {
    case CONNECTION_LAN:
        return QCoreApplication::translate("SummaryPage", "LAN");
    case CONNECTION_RS232:
        return QCoreApplication::translate("SummaryPage", "RS232");
    default:
        return QString();
    }
}
