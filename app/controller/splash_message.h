#pragma once

#include <QString>

// The splash screen's HTML: the logo, the version text and the state of the
// sensor detection (|sensorName| empty while detecting, "-" when none was
// found, else the instrument found).
QString splash_message_html(const QString &logoPath, const QString &version, const QString &sensorName);
