#pragma once

#include <QString>

// The one table of user texts. Each text passes through QObject::tr with its
// key ("STR_RES_ID_...") as disambiguation, so that a translation could tell
// equal English texts apart. Reentrant: workers build progress texts with it.

// The text of |id|; "Missing message text" for an id without a row.
QString string_resource(int id);

// The same, written to |text|.
void string_resource(QString &text, int id);

// Ids that the shell itself refers to by name.
namespace string_id {
constexpr int kApplicationName = 1;
constexpr int kProjectFileFilter = 2;
constexpr int kProjectFileExtension = 3;
constexpr int kOpenProjectCaption = 4;
constexpr int kSaveProjectCaption = 5;
constexpr int kProjectsFolderName = 9;
constexpr int kCompanyName = 11;
constexpr int kPreferencesFileName = 12;
constexpr int kIccProfileCopyrightText = 15;
constexpr int kUntitledProjectName = 22;
constexpr int kBackupFilePrefix = 25;
constexpr int kUnknownError = 100;
constexpr int kCantGetUpdateInformation = 156;
constexpr int kUpdateNoNewerVersion = 157;
constexpr int kUpdatesWebServerUrl = 158;
constexpr int kUpdateInformationAvailable = 159;
constexpr int kUpdateChangesList = 174;
constexpr int kUpdatesWebServerBackupUrl = 186;
constexpr int kClosesInOneSecond = 604;
constexpr int kClosesInSeconds = 605;
} // namespace string_id
