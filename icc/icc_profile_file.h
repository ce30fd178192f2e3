#pragma once

#include "icc/icc_profile.h"

#include <QString>

namespace icc_profile_file {

enum Code {
    kOk = 0,
    kErrCannotReplace = -1013, // an existing file cannot be replaced
    kErrWrite = -1015,         // the profile could not be written
};

// Writes |profile| to a new file beside |path| and moves it over |path| only
// when it is complete, so that a failure leaves any existing file as it was
// and no partial file behind. A relative path counts from the current folder.
// An existing read-only file, or something that is not a file, is refused
// before anything is written.
int write(CIccProfile &profile, const QString &path);

} // namespace icc_profile_file
