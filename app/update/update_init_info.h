#pragma once

#include <QString>
#include <QStringList>

// What one update check asks and answers with: filled by the main window
// (make_update_init_info) and handed by value to checkForSoftwareUpdates.
struct update_init_info
{
    qint32 current_build = 0;
    QString up_to_date_message;
    // One "%1", filled with an empty text.
    QString error_message;
    // %1 new version text, %2 download address, %3 read-me address,
    // %4 the change section.
    QString update_message;
    // %1 the numbered change lines.
    QString change_section;
    // Every description file is fetched; primary first.
    QStringList addresses;
    // Empty sends no "User-Agent" header.
    QString user_agent;
};

// The environment variable whose whitespace-separated addresses replace the
// update service's primary and backup description files.
extern const char kUpdateAddressesVariable[];

// The primary and backup description addresses (string table), or the list
// that kUpdateAddressesVariable holds when it is set and not blank.
QStringList update_addresses();

// The request of the program's own update check: its build number, the
// messages of the string table, update_addresses() and a user-agent text
// naming the system and the program's version.
update_init_info make_update_init_info();
