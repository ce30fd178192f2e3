#pragma once

#include "app/controller/display_layout_item.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The texts of the status page: what the display's self-test codes, fan
// states, temperatures and sync status mean to the operator, and the plain
// text that goes to the clipboard. Locale-dependent numbers come from the
// default QLocale.
namespace status_texts {

// The text of one self-test code ("Normal", "… abnormality. ", or
// "Unknown error code 5A. ").
QString diagnostic_code_text(quint8 code);
// The texts of a report's codes, in the report's order.
QString diagnostic_text(const QByteArray &report);
// "Off", "On", "Error"; empty for any other state.
QString fan_state_text(uint state);
// A reading in half degrees Celsius as "°C (°F)", one decimal each.
QString temperature_text(uint half_degrees);
// "+V Sync. -H Sync. " and the unstable and out-of-range remarks.
QString sync_status_text(quint8 status);
QString horizontal_frequency_text(float khz);
QString vertical_frequency_text(float hz);
// One decimal.
QString hours_text(double hours);

// The address lines, then "caption value" per row.
QString clipboard_text(const display_layout_item &item, const QList<QPair<QString, QString>> &rows);

} // namespace status_texts
