#include "app/single_instance_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kLockFileName[] = "tessaline-7D5119B5-4E7F-4c32-92A3-6676BFF24954.lock";

// A folder of the user's own that nobody else may enter.
bool is_private_folder(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
           && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString private_temporary_folder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/tessaline-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return QString();
    return is_private_folder(path) ? folder : QString();
}

} // namespace

QString single_instance_lock::lock_file_path()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QString folder;
    if (!runtime.isEmpty() && is_private_folder(runtime))
        folder = QFile::decodeName(runtime);
    else
        folder = private_temporary_folder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + QLatin1String(kLockFileName);
}

single_instance_lock::single_instance_lock()
{
    const QString path = lock_file_path();
    if (path.isEmpty()) {
        // Neither folder is the user's own and private.
        fail(QDir::tempPath() + QStringLiteral("/tessaline-%1").arg(::getuid()), EACCES);
        return;
    }
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (m_fd < 0) {
        fail(path, errno);
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = held;
        return;
    }
    const int error = errno;
    ::close(m_fd);
    m_fd = -1;
    if (error == EWOULDBLOCK)
        m_state = held_elsewhere;
    else
        fail(path, error);
}

single_instance_lock::~single_instance_lock()
{
    // Closing the file releases the lock.
    if (m_fd >= 0)
        ::close(m_fd);
}

void single_instance_lock::fail(const QString &path, int error)
{
    m_state = unavailable;
    m_failure = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
}
