#include "sensors/pl_server_registration.h"

#include "sensors/instrument_library.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonValue>

namespace {

// A registration file is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaximumFileSize = 1 << 20;

const char *const kHiveNames[] = {"classes_root", "local_machine"};

QJsonObject read_registry()
{
    QFile file(QDir(instrument_library_folder()).filePath(QLatin1String(pl_server_registration::kFileName)));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaximumFileSize)
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

// The member of |object| named |name| without regard to case.
QJsonValue member(const QJsonObject &object, const QString &name)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QJsonValue(QJsonValue::Undefined);
}

} // namespace

pl_server_registration::pl_server_registration() : m_registry(read_registry()) {}

QJsonObject pl_server_registration::key(hive root, const QString &path) const
{
    QJsonValue current = member(m_registry, QLatin1String(kHiveNames[int(root)]));
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!current.isObject())
            break;
        current = member(current.toObject(), part);
    }
    return current.toObject();
}

QString pl_server_registration::value(hive root, const QString &path, const QString &name) const
{
    const QJsonValue entry = member(key(root, path), name);
    if (entry.isString())
        return entry.toString();
    if (entry.isDouble())
        return QString::number(entry.toDouble(), 'g', 15);
    return QString();
}

QStringList pl_server_registration::childKeys(hive root, const QString &path) const
{
    const QJsonObject object = key(root, path);
    QStringList children;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isObject())
            children.append(it.key());
    }
    return children;
}

bool pl_server_registration::programFolderLists(const QString &windowsName)
{
    return instrument_library_present(windowsName);
}
