#include "app/update/update_description.h"

#include "app/update/update_init_info.h"

#include <QRegularExpression>
#include <QUrl>

const char kUpdatePlatformToken[] = "WINDOWS";

namespace {

enum class update_key { none, platform, build, url, version, readme, changes };

struct key_name
{
    update_key key;
    const char *text;
};

constexpr key_name kKeys[] = {
    {update_key::platform, "PLATFORM="}, {update_key::build, "BUILD="},
    {update_key::url, "URL="},           {update_key::version, "VERSION="},
    {update_key::readme, "README="},     {update_key::changes, "CHANGES="},
};

// The key that occurs first in |line|, so that a change text mentioning
// another key still counts as a change.
update_key first_key(const QString &line)
{
    update_key found = update_key::none;
    int found_at = -1;
    for (const key_name &name : kKeys) {
        const int at = line.indexOf(QLatin1String(name.text));
        if (at >= 0 && (found_at < 0 || at < found_at)) {
            found = name.key;
            found_at = at;
        }
    }
    return found;
}

bool read_build(const QString &text, qint32 *build)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    if (ok)
        *build = value;
    return ok;
}

// "CHANGES=<build>=<text>", given the part after the first "=".
void add_change(const QString &value, QList<update_description::change> *changes)
{
    const int separator = value.indexOf(QLatin1Char('='));
    update_description::change change;
    if (!read_build(separator < 0 ? value : value.left(separator), &change.build))
        return;
    if (separator >= 0)
        change.text = value.mid(separator + 1);
    changes->append(change);
}

// The answer comes over plain HTTP from anyone on the path: an address
// becomes a link only when it is a clean http or https address, encoded and
// escaped for the attribute it goes into; anything else gives no link.
QString link_target(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QString();
    return QString::fromLatin1(url.toEncoded()).toHtmlEscaped();
}

// |message| with every link that has no target reduced to its text. Only
// the message template holds links: the answer's values are escaped.
QString without_empty_links(QString message)
{
    static const QRegularExpression empty_link(QStringLiteral("<a\\s+href=\"\">(.*?)</a>"),
                                               QRegularExpression::CaseInsensitiveOption
                                                   | QRegularExpression::DotMatchesEverythingOption);
    return message.replace(empty_link, QStringLiteral("\\1"));
}

} // namespace

update_description parse_update_description(const QByteArray &text)
{
    update_description description;
    bool in_our_section = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const update_key key = first_key(line);
        if (key == update_key::platform) {
            in_our_section = line.contains(QLatin1String(kUpdatePlatformToken));
            continue;
        }
        if (key == update_key::none || !in_our_section)
            continue;
        const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
        switch (key) {
        case update_key::build:
            if (read_build(value, &description.build))
                description.has_build = true;
            break;
        case update_key::url:
            description.url = value;
            break;
        case update_key::version:
            description.version = value;
            break;
        case update_key::readme:
            description.readme = value;
            break;
        case update_key::changes:
            add_change(value, &description.changes);
            break;
        case update_key::platform:
        case update_key::none:
            break;
        }
    }
    return description;
}

bool update_result_from_description(const update_description &description,
                                    const update_init_info &info,
                                    update_check_result *result)
{
    if (!description.has_build)
        return false;
    result->build = description.build;
    if (info.current_build >= description.build) {
        result->kind = kUpdateUpToDate;
        result->message = info.up_to_date_message;
        return true;
    }
    QString lines;
    int count = 0;
    for (const update_description::change &change : description.changes) {
        if (count == kMaxUpdateChangeLines)
            break;
        if (change.build > info.current_build)
            lines += QStringLiteral("%1. %2<br>").arg(QString::number(++count), change.text.toHtmlEscaped());
    }
    const QString section = lines.isEmpty() ? QString() : info.change_section.arg(lines);
    result->kind = kUpdateAvailable;
    result->message = without_empty_links(info.update_message.arg(description.version.toHtmlEscaped(),
                                                                  link_target(description.url),
                                                                  link_target(description.readme), section));
    return true;
}
