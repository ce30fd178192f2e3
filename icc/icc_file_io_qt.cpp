#include "icc/icc_file_io_qt.h"

#include <cstring>

namespace {

// The position a seek origin counts from, -1 for an unknown origin.
qint64 seek_base(const QFile &file, int origin)
{
    switch (origin) {
    case 0: return 0;
    case 1: return file.pos();
    case 2: return file.size();
    default: return -1;
    }
}

} // namespace

CIccFileIOQt::~CIccFileIOQt()
{
    Close();
}

bool CIccFileIOQt::Open(const QString &path, const char *mode)
{
    Close();
    m_file.setFileName(path);
    if (mode && std::strchr(mode, 'r'))
        return m_file.open(QIODevice::ReadOnly);
    QFile::remove(path);
    return m_file.open(QIODevice::ReadWrite);
}

void CIccFileIOQt::Close()
{
    if (m_file.isOpen())
        m_file.close();
}

int32_t CIccFileIOQt::Read8(void *buffer, int32_t count)
{
    if (!m_file.isOpen() || count <= 0)
        return 0;
    return static_cast<int32_t>(m_file.read(static_cast<char *>(buffer), count));
}

int32_t CIccFileIOQt::Write8(const void *buffer, int32_t count)
{
    if (!m_file.isOpen() || count <= 0)
        return 0;
    return static_cast<int32_t>(m_file.write(static_cast<const char *>(buffer), count));
}

int32_t CIccFileIOQt::GetLength()
{
    return m_file.isOpen() ? static_cast<int32_t>(m_file.size()) : 0;
}

int32_t CIccFileIOQt::Seek(int32_t offset, int origin)
{
    if (!m_file.isOpen())
        return -1;
    const qint64 base = seek_base(m_file, origin);
    if (base < 0)
        return -1;
    const qint64 target = base + offset;
    if (target < 0 || !m_file.seek(target))
        return -1;
    return static_cast<int32_t>(m_file.pos());
}

int32_t CIccFileIOQt::Tell()
{
    return m_file.isOpen() ? static_cast<int32_t>(m_file.pos()) : -1;
}
