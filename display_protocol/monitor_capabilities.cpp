#include "display_protocol/monitor_capabilities.h"

#include "display_protocol/hex_digit.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr int kFirstPagedGroup = 0x02;
constexpr int kLastPagedGroup = 0xFF;

// The value of the group whose keyword (with its "(") first occurs in
// |text|; false when the keyword is missing or the value never closes.
bool find_group(const QByteArray &text, const char *keyword, QByteArray *value)
{
    const int at = text.indexOf(keyword);
    if (at < 0)
        return false;
    const int start = at + static_cast<int>(qstrlen(keyword));
    int depth = 0;
    for (int i = start; i < text.size(); ++i) {
        if (text.at(i) == '(') {
            ++depth;
        } else if (text.at(i) == ')') {
            if (depth == 0) {
                *value = text.mid(start, i - start);
                return true;
            }
            --depth;
        }
    }
    return false;
}

// Reads up to |max_digits| hexadecimal digits at |pos| after white space;
// false when there is none.
bool read_hex(const QByteArray &text, int pos, int max_digits, quint32 *number)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text.at(pos))))
        ++pos;
    quint32 n = 0;
    int digits = 0;
    while (pos < text.size() && digits < max_digits && hex_digit_value(text.at(pos)) >= 0) {
        n = n * 16 + static_cast<quint32>(hex_digit_value(text.at(pos)));
        ++pos;
        ++digits;
    }
    *number = n;
    return digits > 0;
}

void read_code_list(const QByteArray &value, qint32 base, QList<monitor_capabilities::code_entry> *list)
{
    int depth = 0;
    int i = 0;
    while (i < value.size()) {
        const char c = value.at(i);
        if (c == ' ') {
            ++i;
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            if (depth > 0)
                --depth;
            ++i;
        } else {
            quint32 number = 0;
            if (!read_hex(value, i, 2, &number)) {
                ++i;
                continue;
            }
            if (depth == 0)
                list->append({base + static_cast<qint32>(number), {}});
            else if (depth == 1 && !list->isEmpty())
                list->last().values.append(static_cast<qint32>(number));
            i += 2;
        }
    }
}

} // namespace

void monitor_capabilities::clear()
{
    *this = monitor_capabilities();
}

int monitor_capabilities::parse(const char *text)
{
    clear();
    const QByteArray all(text ? text : "");
    struct string_group { const char *keyword; QByteArray *field; };
    const string_group strings[] = {
        {"model(", &m_model}, {"mccs_ver(", &m_mccs_version}, {"mpu_ver(", &m_mpu_version},
        {"chassis(", &m_chassis}, {"type(", &m_type},
    };
    for (const string_group &g : strings)
        find_group(all, g.keyword, g.field);

    QByteArray value;
    if (find_group(all, "type(", &value)) {
        m_type = m_type.toUpper();
        if (m_type == "LCD")
            m_display_type = kTypeLcd;
        else if (m_type == "CRT" || m_type == "CRT_AG")
            m_display_type = kTypeCrt;
    }
    if (find_group(all, "asset_eep(", &value)) {
        quint32 size = 0;
        read_hex(value, 0, 8, &size);
        // The size is given in decimal by some displays and in hexadecimal by others.
        if (size == 0x64)
            size = 64;
        else if (size == 0x32)
            size = 32;
        m_asset_eeprom_size = static_cast<qint32>(size);
    }
    if (find_group(all, "gamma_table(", &value)) {
        m_has_gamma_table = true;
        unsigned size = 0, red = 0, green = 0, blue = 0;
        std::sscanf(value.constData(), "size(%X) r_ofs(%X) g_ofs(%X) b_ofs(%X)", &size, &red, &green, &blue);
        m_gamma_table_size = static_cast<qint32>(size);
        m_red_offset = static_cast<qint32>(red);
        m_green_offset = static_cast<qint32>(green);
        m_blue_offset = static_cast<qint32>(blue);
    }
    if (find_group(all, "c_tmp_ofst(", &value)) {
        unsigned offset = 0;
        std::sscanf(value.constData(), "%X", &offset);
        m_colour_temperature_offset = offset;
    }
    struct list_group { const char *keyword; qint32 base; QList<code_entry> *list; };
    const list_group lists[] = {
        {"cmds(", 0, &m_command_list}, {"cmds_c2(", 0xC200, &m_command_list},
        {"cmds_ca(", 0xCA00, &m_command_list}, {"vcp(", 0, &m_control_list},
    };
    for (const list_group &g : lists) {
        if (find_group(all, g.keyword, &value))
            read_code_list(value, g.base, g.list);
    }
    for (int page = kFirstPagedGroup; page <= kLastPagedGroup; ++page) {
        const QByteArray keyword = "vcp_p" + QByteArray::number(page, 16).toUpper().rightJustified(2, '0') + "(";
        if (find_group(all, keyword.constData(), &value))
            read_code_list(value, page * 256, &m_control_list);
    }
    if (m_control_list.isEmpty())
        return kNoControls;
    if (all.count('(') != all.count(')'))
        return kUnbalanced;
    m_parsed = true;
    return kParsed;
}
