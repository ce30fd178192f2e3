#pragma once

#include "app/update/update_check_result.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct update_init_info;

// The platform whose sections of an update description this program reads.
extern const char kUpdatePlatformToken[];

// The most change lines an update message lists.
constexpr int kMaxUpdateChangeLines = 15;

// An update description as it applies to this platform: lines of the form
// KEY=value, read only inside "PLATFORM=" sections naming kUpdatePlatformToken.
struct update_description
{
    struct change
    {
        qint32 build = 0;
        QString text;
    };

    bool has_build = false;
    qint32 build = 0;
    QString url;
    QString version;
    QString readme;
    QList<change> changes; // in file order
};

// Reads a UTF-8 description. A line counts for the key that occurs first in
// it; later lines of a key replace earlier ones, "CHANGES=" lines add up.
// A "BUILD=" or "CHANGES=" line whose build is not a decimal number is
// ignored.
update_description parse_update_description(const QByteArray &text);

// The result a description gives against |info|; false when it names no
// build (the address then counts as not having answered). The message is
// rich text in which the description's values are plain text: escaped, and
// links only to http and https addresses; the template's link to an address
// that is neither keeps only its text.
bool update_result_from_description(const update_description &description,
                                    const update_init_info &info,
                                    update_check_result *result);
