#include "icc/icc_profile_file.h"

#include "icc/icc_file_io_qt.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace icc_profile_file {

namespace {

bool can_replace(const QFileInfo &target)
{
    return target.isFile() && target.isWritable() && QFileInfo(target.absolutePath()).isWritable();
}

std::filesystem::path native_path(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// One step that replaces an existing target, so that there is never a moment
// without a complete profile at |to|.
bool move_over(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(native_path(from), native_path(to), error);
    return !error;
}

// Closing flushes, and a failed flush is not reported by the close: the
// length on disk tells whether everything arrived.
bool write_complete(CIccProfile &profile, const QString &path)
{
    CIccFileIOQt io;
    const bool written = io.Open(path, "w+") && profile.Write(&io);
    io.Close();
    return written && QFileInfo(path).size() == qint64(profile.m_Header.size);
}

} // namespace

int write(CIccProfile &profile, const QString &path)
{
    const QFileInfo target(path);
    if (target.exists() && !can_replace(target))
        return kErrCannotReplace;
    // Reserves a unique name beside the target; removed again unless the
    // finished profile has been moved over the target.
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                             + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return kErrWrite;
    temporary.close();
    if (!write_complete(profile, temporary.fileName()) || !move_over(temporary.fileName(), target.absoluteFilePath()))
        return kErrWrite;
    temporary.setAutoRemove(false);
    return kOk;
}

} // namespace icc_profile_file
