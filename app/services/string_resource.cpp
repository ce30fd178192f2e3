#include "app/services/string_resource.h"

#include "app/services/string_resource_table.h"

#include <QObject>

#include <algorithm>

namespace {

// The fan-offset rows carry the degree sign as an argument, so that their
// translatable text stays plain ASCII.
bool shows_degree_sign(int id)
{
    return id >= 1703 && id <= 1707;
}

const string_resource_row *find_row(int id)
{
    const string_resource_row *begin = string_resource_rows();
    const string_resource_row *end = begin + string_resource_row_count();
    const string_resource_row *row = std::lower_bound(
        begin, end, id, [](const string_resource_row &r, int wanted) { return r.id < wanted; });
    return row != end && row->id == id ? row : nullptr;
}

} // namespace

QString string_resource(int id)
{
    // The file name of the preferences must never be translated.
    if (id == string_id::kPreferencesFileName)
        return QStringLiteral("preferences.dat");
    const string_resource_row *row = find_row(id);
    if (!row)
        return QObject::tr("Missing message text", "default text should never see this");
    const QString text = QObject::tr(row->entry.text, row->entry.key);
    return shows_degree_sign(id) ? text.arg(QChar(0x00B0)) : text;
}

void string_resource(QString &text, int id)
{
    text = string_resource(id);
}
