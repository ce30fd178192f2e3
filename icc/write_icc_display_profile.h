#pragma once

#include "icc/icc_display_profile_request.h"
#include "icc/icc_profile.h"
#include "icc/icc_profile_file.h"

#include <QString>

enum IccDisplayProfileCode {
    kIccProfileOk = icc_profile_file::kOk,
    kIccProfileEmptyRequest = -1,
    // The existing file cannot be replaced; it stays as it was.
    kIccProfileCannotReplace = icc_profile_file::kErrCannotReplace,
    // Not written (also for values that are not finite); an existing file stays as it was.
    kIccProfileWriteFailed = icc_profile_file::kErrWrite,
};

// Fills the empty |profile| with an ICC version 2 monitor profile of the
// request's display and writes it to request.file_path. The file appears only
// complete: it is written beside the target and then moved over it.
// |adobe_cmm| chooses the preferred CMM ("ADBE", else "MSFT").
int write_icc_display_profile(CIccProfile &profile, IccDisplayProfileRequest request, bool adobe_cmm);
