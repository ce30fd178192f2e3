#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The registration provider of the PL-series probe server: it answers what
// the client asks before it starts the server (COMClient), in place of the
// Windows registry and the program's folder.
//
// The registration is a JSON file, "automation-registry.json", in the
// folder of the instrument libraries (instrument_library.h: the program's
// folder, or $TESSALINE_SENSOR_LIBRARY_DIR). The server's installer writes
// it (the build writes one for the simulated server, see
// simulator/instrument/pl_series/). Its two hives hold keys as nested
// objects; a key's values are its strings and numbers, "" its default
// value; key and value names compare without regard to case:
//
//   {"classes_root": {"PL200Srvr.Pl200": {"": "Pl200 Class"},
//                     "CLSID": {"{006B0650-...}": {"TypeLib": {"": "{81480671-...}"}}}},
//    "local_machine": {"SYSTEM": {"ControlSet001": {"Services": {"BulkUsb":
//                     {"Enum": {"Count": 1, "0": "USB\\Vid_0686&Pid_1002\\..."}}}}}}}
//
// A missing or unreadable file registers nothing. The server's files are
// looked for by their Linux names in the same folder: PL200Srvr.dll is
// libpl200srvr.so, Linkmod.dll liblinkmod.so and probelink.dll
// libprobelink.so (the Probelink library this project builds; the program
// only checks that it is there and never loads it).
class pl_server_registration
{
public:
    enum class hive { classes_root, local_machine };

    static constexpr const char *kFileName = "automation-registry.json";

    // Reads the registration file as it is now.
    pl_server_registration();

    // The value |name| ("" the default value) of the key |path|, whose
    // parts are separated by '/'; empty when the key or value is absent.
    QString value(hive root, const QString &path, const QString &name = QString()) const;
    // The names of the key's child keys; empty when the key is absent.
    QStringList childKeys(hive root, const QString &path) const;
    // True when the program's folder lists the Linux file of the maker's
    // file |windowsName| (compared without regard to case).
    static bool programFolderLists(const QString &windowsName);

private:
    // The key at |path|; an empty object when absent.
    QJsonObject key(hive root, const QString &path) const;

    QJsonObject m_registry;
};
