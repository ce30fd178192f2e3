#pragma once

#include <QString>

// True when |current| is at least |minimum|. Versions are dot-separated
// numbers compared part by part; empty parts are dropped, missing parts
// count as 0 and a part that is no number as 0. Two two-part versions are
// special: letters in the current's second part are ignored ("2.05B" is 2.5).
// An empty current version passes.
bool firmware_version_at_least(const QString &current, const QString &minimum);

// For a model of the minimum firmware table: writes its minimum to
// |minimum| and answers firmware_version_at_least. True for other models.
bool minimum_firmware_for_model(const QString &model, const QString &current, QString &minimum);
