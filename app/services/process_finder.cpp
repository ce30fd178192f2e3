#include "app/services/process_finder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// The last path element; Windows programs run through a compatibility layer
// carry backslash paths.
QString file_name_of(const QString &path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString program_on_command_line(const QString &processFolder)
{
    QFile cmdline(processFolder + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray arguments = cmdline.read(4096);
    return file_name_of(QString::fromLocal8Bit(arguments.left(arguments.indexOf('\0'))));
}

QString executable_file(const QString &processFolder)
{
    return file_name_of(QFileInfo(processFolder + QStringLiteral("/exe")).symLinkTarget());
}

bool runs(const QString &processFolder, const QString &imageName)
{
    const auto same = [&imageName](const QString &name) {
        return !name.isEmpty() && name.compare(imageName, Qt::CaseInsensitive) == 0;
    };
    return same(program_on_command_line(processFolder)) || same(executable_file(processFolder));
}

} // namespace

bool find_process_by_image_name(const QString &imageName, bool terminate)
{
    if (imageName.isEmpty())
        return false;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const pid_t pid = entry.toInt(&numeric);
        if (!numeric || pid <= 0 || !runs(proc.filePath(entry), imageName))
            continue;
        if (terminate)
            ::kill(pid, SIGKILL);
        return true;
    }
    return false;
}
