#pragma once

#include "icc/icc_file_io_qt.h"
#include "icc/icc_tag.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QVector>
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

struct IccTagEntry
{
    QByteArray signature;
    quint32 offset = 0;
    quint32 size = 0;
};

// The tag table of a written profile; empty when the table does not fit the bytes.
inline QVector<IccTagEntry> icc_tag_table(const QByteArray &profile)
{
    QVector<IccTagEntry> table;
    if (profile.size() < 132)
        return table;
    const quint32 count = be32_at(profile, 128);
    if (count > quint32(profile.size() - 132) / 12)
        return table;
    for (quint32 i = 0; i < count; ++i) {
        const int entry = int(132 + 12 * i);
        table.append({profile.mid(entry, 4), be32_at(profile, entry + 4), be32_at(profile, entry + 8)});
    }
    return table;
}

// The bytes of the tag with that signature, empty when it is missing.
inline QByteArray icc_tag_bytes(const QByteArray &profile, const QByteArray &signature)
{
    for (const IccTagEntry &entry : icc_tag_table(profile)) {
        if (entry.signature == signature)
            return profile.mid(int(entry.offset), int(entry.size));
    }
    return QByteArray();
}
