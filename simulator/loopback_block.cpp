#include "simulator/loopback_block.h"

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace loopback_block {
namespace {

// 127.100.0.0/24 onwards: clear of 127.0.x.y, where manual runs of the
// simulated wall and other programs' loopback services usually live.
constexpr int kFirstSecondOctet = 100;
constexpr int kBlockCount = 16 * 256;
constexpr quint16 kDisplayPort = 7142;
// Block i searches on port kFirstSearchPort + i: below the ephemeral ports,
// which outgoing sockets take at random.
constexpr int kFirstSearchPort = 20000;

QString system_error()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString lock_folder()
{
    return QDir::tempPath() + QStringLiteral("/tessaline-loopback-blocks");
}

// Every user's runs share the folder, as they share the loopback addresses.
bool make_lock_folder(QString *error)
{
    const QByteArray path = QFile::encodeName(lock_folder());
    if (::mkdir(path.constData(), 01777) == 0)
        ::chmod(path.constData(), 01777);
    else if (errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2").arg(lock_folder(), system_error());
        return false;
    }
    return true;
}

// An open descriptor of the lock file |name|, or -1. Another user's file is
// opened without O_CREAT: protected sticky folders refuse that.
int open_lock_file(const QString &name)
{
    const QByteArray path = QFile::encodeName(lock_folder() + QLatin1Char('/') + name);
    int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    return fd;
}

bool try_lock(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

bool binds(int type, const QByteArray &address, quint16 port)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in at {};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    const bool free = ::inet_pton(AF_INET, address.constData(), &at.sin_addr) == 1
                      && ::bind(fd, reinterpret_cast<sockaddr *>(&at), sizeof at) == 0;
    ::close(fd);
    return free;
}

// Someone outside the lock files (a manual simulator, a run with another
// temporary folder, another program) may already listen in the block or on
// its search port.
bool block_free(const QString &block, quint16 search_port)
{
    return binds(SOCK_STREAM, (block + QStringLiteral(".1")).toLatin1(), kDisplayPort)
           && binds(SOCK_DGRAM, QByteArrayLiteral("0.0.0.0"), search_port);
}

struct claim
{
    QString block;
    quint16 search_port = 0;
    QString error;
};

claim claim_block()
{
    claim result;
    if (!make_lock_folder(&result.error))
        return result;
    for (int i = 0; i < kBlockCount; ++i) {
        const QString block = QStringLiteral("127.%1.%2").arg(kFirstSecondOctet + i / 256).arg(i % 256);
        const int fd = open_lock_file(block + QStringLiteral(".lock"));
        if (fd < 0)
            continue;
        // The descriptor stays open, and the lock held, until the process ends.
        const quint16 search_port = static_cast<quint16>(kFirstSearchPort + i);
        if (try_lock(fd) && block_free(block, search_port)) {
            result.block = block;
            result.search_port = search_port;
            return result;
        }
        ::close(fd);
    }
    result.error = QStringLiteral("no free loopback block 127.%1.0.0 - 127.%2.255.0 (lock files in %3)")
                       .arg(kFirstSecondOctet)
                       .arg(kFirstSecondOctet + kBlockCount / 256 - 1)
                       .arg(lock_folder());
    return result;
}

const claim &block_claim()
{
    static const claim claimed = claim_block();
    return claimed;
}

} // namespace

QString address(int host)
{
    const QString block = prefix();
    if (block.isEmpty() || host < 1 || host > 254)
        return QString();
    return block + QLatin1Char('.') + QString::number(host);
}

QString prefix()
{
    return block_claim().block;
}

QString claim_error()
{
    return block_claim().error;
}

quint16 search_port()
{
    return block_claim().search_port;
}

} // namespace loopback_block
