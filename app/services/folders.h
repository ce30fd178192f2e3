#pragma once

#include <QString>

// The program's folders. Everything it keeps lives below the user's
// documents folder: <documents>/Varkel/Tessaline holds the preferences file,
// its Projects/ folder the projects and Projects/backups/ their backups.

// The folder the program file lives in (also before the application object
// exists).
QString program_folder();

// The user's documents folder (honours HOME and the XDG user directories);
// the program's own folder when none can be found.
QString common_documents_folder();

// <documents>/<company>/<application>, without a trailing slash.
QString application_data_folder();

// <application data>/Projects/ and <application data>/Projects/backups/.
// An empty string when the documents folder is unknown, or when the folder
// does not exist and |create| is false or creating it failed.
QString projects_folder(bool create);
QString backups_folder(bool create);
