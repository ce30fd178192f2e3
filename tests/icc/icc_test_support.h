#pragma once

#include "icc/icc_file_io_qt.h"
#include "icc/icc_tag.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

// Tags and profiles go through a real file, as they do in the application.
class IccTestFiles
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QByteArray writeTag(CIccTag &tag, bool *ok = nullptr)
    {
        CIccFileIOQt io;
        const QString file = path(QStringLiteral("tag.bin"));
        const bool written = io.Open(file, "w+") && tag.Write(&io);
        io.Close();
        if (ok)
            *ok = written;
        return contents(file);
    }

    bool readTag(CIccTag &tag, const QByteArray &bytes, uint32_t size)
    {
        const QString file = path(QStringLiteral("crafted.bin"));
        if (!store(file, bytes))
            return false;
        CIccFileIOQt io;
        return io.Open(file, "r") && tag.Read(size, &io);
    }

    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static bool store(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir m_dir;
};

// Big-endian builders for expected and crafted bytes.
inline QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray be16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline quint32 be32_at(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

inline quint16 be16_at(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}
