#pragma once

#include "icc/icc_io.h"

#include <QFile>
#include <QString>

// Profile I/O on a file of the framework.
class CIccFileIOQt : public CIccIO
{
public:
    CIccFileIOQt() = default;
    ~CIccFileIOQt() override;
    CIccFileIOQt(const CIccFileIOQt &) = delete;
    CIccFileIOQt &operator=(const CIccFileIOQt &) = delete;

    // A mode containing 'r' opens read-only; any other mode (also null)
    // replaces a file of that name with a new one opened for reading and writing.
    bool Open(const QString &path, const char *mode);

    void Close() override;
    int32_t Read8(void *buffer, int32_t count) override;
    int32_t Write8(const void *buffer, int32_t count) override;
    int32_t GetLength() override;
    int32_t Seek(int32_t offset, int origin) override;
    int32_t Tell() override;

private:
    QFile m_file;
};
