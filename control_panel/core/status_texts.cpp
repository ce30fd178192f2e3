#include "control_panel/core/status_texts.h"

#include <QCoreApplication>

namespace status_texts {
namespace {

constexpr int kLan = 1;
const QChar kDegree(0x00B0);

QString tr(const char *text, const char *disambiguation)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text, disambiguation);
}

struct code_text
{
    quint8 code;
    struct
    {
        const char *source;
        const char *comment;
    } text;
};

const code_text kDiagnostics[] = {
    {0x00, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Normal", "diagnostic code")},
    {0x70, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Standby-power +3.3V abnormality. ", "diagnostic code")},
    {0x71, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Standby-power +5V abnormality. ", "diagnostic code")},
    {0x72, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Panel-power +12V abnormality. ", "diagnostic code")},
    {0x73, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Main-power +2.5V abnormality. ", "diagnostic code")},
    {0x74, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Main-power +1.8V abnormality. ", "diagnostic code")},
    {0x75, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Main-power +5V abnormality. ", "diagnostic code")},
    {0x76, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Sub-power +3.3V abnormality. ", "diagnostic code")},
    {0x77, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Main-power +3.3V abnormality. ", "diagnostic code")},
    {0x78, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog",
                              "Inverter power/Option slot2 power +24V Abnormality. ", "diagnostic code")},
    {0x80, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Cooling fan-1 abnormality. ", "diagnostic code")},
    {0x81, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Cooling fan-2 abnormality. ", "diagnostic code")},
    {0x82, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Cooling fan-3 abnormality. ", "diagnostic code")},
    {0x83, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "COMPUTE MODULE Cooling fan abnormality. ",
                              "diagnostic code")},
    {0x90, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Inverter abnormality. ", "diagnostic code")},
    {0x91, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "LED Backlight abnormality. ", "diagnostic code")},
    {0xA0, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Temperature abnormality - shutdown. ",
                              "diagnostic code")},
    {0xA1, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Temperature abnormality - half brightness. ",
                              "diagnostic code")},
    {0xA2, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "SENSOR reached user specified temperature. ",
                              "diagnostic code")},
    {0xB0, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "No signal. ", "diagnostic code")},
    {0xC0, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Option board abnormality. ", "diagnostic code")},
    {0xD0, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Error log buffer. ", "diagnostic code")},
    {0xE0, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "EEPROM error. ", "diagnostic code")},
    {0xE1, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "Talorin error. ", "diagnostic code")},
    {0xE2, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "LPM-Korrin communications error. ",
                              "diagnostic code")},
    {0xE3, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "NFC-EEPROM error. ", "diagnostic code")},
    {0xE4, QT_TRANSLATE_NOOP3("kq_monitor_control_panel_dialog", "CPLD error. ", "diagnostic code")},
};

QString one_decimal(double value)
{
    return QStringLiteral("%L1").arg(value, 0, 'f', 1);
}

} // namespace

QString diagnostic_code_text(quint8 code)
{
    for (const code_text &entry : kDiagnostics) {
        if (entry.code == code)
            return tr(entry.text.source, entry.text.comment);
    }
    return tr("Unknown error code %1. ", "diagnostic code").arg(QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

QString diagnostic_text(const QByteArray &report)
{
    QString text;
    for (char code : report)
        text += diagnostic_code_text(static_cast<quint8>(code));
    return text;
}

QString fan_state_text(uint state)
{
    switch (state) {
    case 0:
        return tr("Off", "fan status");
    case 1:
        return tr("On", "fan status");
    case 2:
        return tr("Error", "fan status");
    default:
        return QString();
    }
}

QString temperature_text(uint half_degrees)
{
    const double celsius = half_degrees * 0.5;
    return QStringLiteral("%L1%3C (%L2%3F)")
        .arg(celsius, 0, 'f', 1)
        .arg(celsius * 1.8 + 32, 0, 'f', 1)
        .arg(kDegree);
}

QString sync_status_text(quint8 status)
{
    QString text = QLatin1String(status & 0x01 ? "+V Sync. " : "-V Sync. ");
    text += QLatin1String(status & 0x02 ? "+H Sync. " : "-H Sync. ");
    if (status & 0x40)
        text += QLatin1String("Unstable Sync. ");
    if (status & 0x80)
        text += QLatin1String("Sync out of range. ");
    return text;
}

QString horizontal_frequency_text(float khz)
{
    return QStringLiteral("%L1 kHz").arg(static_cast<double>(khz), 5, 'f', 2);
}

QString vertical_frequency_text(float hz)
{
    return QStringLiteral("%L1 Hz").arg(static_cast<double>(hz), 5, 'f', 2);
}

QString hours_text(double hours)
{
    return one_decimal(hours);
}

QString clipboard_text(const display_layout_item &item, const QList<QPair<QString, QString>> &rows)
{
    QString text = item.connection_type == kLan ? QStringLiteral("IP Address: ") : QStringLiteral("COM Port: ");
    text += item.connection_address + QLatin1Char('\n');
    text += QStringLiteral("Monitor ID: %1\n").arg(item.monitor_id);
    for (const auto &row : rows)
        text += row.first + QLatin1Char(' ') + row.second + QLatin1Char('\n');
    return text;
}

} // namespace status_texts
