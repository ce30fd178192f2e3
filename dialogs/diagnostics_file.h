#pragma once

#include "dialogs/wall_display_records.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CTargetValue;

// The diagnostics file: a text dump of the target and of everything the
// program holds for each display of the wall, for the people who look into
// a wall's problems. Nothing reads it back.

// What the file holds, in UTF-8. Lines end in CR LF, except the two
// uniformity-level lines of an engine calibration, which end in LF alone.
QByteArray diagnostics_text(const CTargetValue &target, const QList<wall_display> &displays);

// The status of a failed save.
constexpr int kDiagnosticsSaveFailed = -1505;

// Writes the current target and wall (through g_master) to |path| in one
// step: 0, or kDiagnosticsSaveFailed with any previous file left whole.
int write_diagnostics_file(const QString &path);
