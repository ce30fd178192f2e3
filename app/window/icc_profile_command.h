#pragma once

#include "icc/icc_display_profile_request.h"

#include <QString>

class CAdjustValue;
class CTargetValue;
struct display_layout_item;

// The main window's Generate ICC Display Profile command apart from its
// dialogs: which file it proposes and writes, and what it describes.

// <folder>/<model> <serial>.icm
QString proposed_icc_profile_path(const QString &folder, const display_layout_item &item);

// |chosen| as it stands when it ends in ".icc" or ".icm" (any case), else
// with ".icm" appended.
QString icc_profile_path(const QString &chosen);

// The display as calibrated: the corrected white (chromaticity and
// luminance), the primaries before correction, and the target's tone curve
// (its gamma, its own curve in all three channels, or 2.2 for other kinds).
IccDisplayProfileRequest icc_profile_request(const QString &path, const display_layout_item &item,
                                             const CAdjustValue &record, const CTargetValue &target);
