#pragma once

#include <QByteArray>
#include <QList>
#include <QVector>

// The parsed capability string of a display: MCCS-style groups such as
// "model(...)", "vcp(10 12 14(05 06 08))" and the paged "vcp_pXX(...)".
class monitor_capabilities
{
public:
    enum display_type_kind : quint32 { kTypeNone = 0, kTypeCrt = 1, kTypeLcd = 2 };
    enum parse_status : int { kParsed = 0, kNoControls = -1, kUnbalanced = -2 };

    // A command or control code with the values the display names for it.
    struct code_entry
    {
        qint32 code = 0;
        QVector<qint32> values;
    };

    // Clears the record and fills it from the NUL-terminated |text|; every
    // group found is stored whatever the result.
    int parse(const char *text);
    void clear();

    bool parsed() const { return m_parsed; }
    quint32 display_type() const { return m_display_type; }
    qint32 asset_eeprom_size() const { return m_asset_eeprom_size; }
    quint32 colour_temperature_offset() const { return m_colour_temperature_offset; }
    bool has_gamma_table() const { return m_has_gamma_table; }
    qint32 gamma_table_size() const { return m_gamma_table_size; }
    qint32 red_offset() const { return m_red_offset; }
    qint32 green_offset() const { return m_green_offset; }
    qint32 blue_offset() const { return m_blue_offset; }
    QByteArray model() const { return m_model; }
    QByteArray mccs_version() const { return m_mccs_version; }
    QByteArray mpu_version() const { return m_mpu_version; }
    QByteArray type() const { return m_type; }
    QByteArray chassis() const { return m_chassis; }
    const QList<code_entry> &command_list() const { return m_command_list; }
    const QList<code_entry> &control_list() const { return m_control_list; }

private:
    bool m_parsed = false;
    quint32 m_display_type = kTypeNone;
    qint32 m_asset_eeprom_size = 0;
    quint32 m_colour_temperature_offset = 0;
    bool m_has_gamma_table = false;
    qint32 m_gamma_table_size = 0;
    qint32 m_red_offset = 0;
    qint32 m_green_offset = 0;
    qint32 m_blue_offset = 0;
    QByteArray m_model;
    QByteArray m_mccs_version;
    QByteArray m_mpu_version;
    QByteArray m_type;
    QByteArray m_chassis;
    QList<code_entry> m_command_list;
    QList<code_entry> m_control_list;
};
