#include "icc/icc_tag_vcgt.h"

#include "icc/icc_encoding.h"

#include <cstring>

namespace {

constexpr uint32_t kFixedBytes = 18;

bool is_supported_entry_size(uint16_t entrySize)
{
    return entrySize == 1 || entrySize == 2;
}

// Computed in 64 bits: 65535 × 65535 × 2 does not fit 32.
uint64_t table_bytes(uint16_t channels, uint16_t entryCount, uint16_t entrySize)
{
    return uint64_t(channels) * entryCount * entrySize;
}

uint16_t entry16(const std::vector<uint8_t> &table, uint64_t k)
{
    uint16_t value;
    std::memcpy(&value, table.data() + 2 * k, sizeof value);
    return value;
}

bool read_entry16(CIccIO &io, std::vector<uint8_t> &table, uint64_t k)
{
    uint16_t value;
    if (!io.ReadUInt16(value))
        return false;
    std::memcpy(table.data() + 2 * k, &value, sizeof value);
    return true;
}

} // namespace

uint32_t CIccTagvcgt::GetType() const
{
    return icc_encoding::signature("vcgt");
}

void CIccTagvcgt::SetTable(uint16_t channels, uint16_t entryCount, uint16_t entrySize, const void *source)
{
    m_channels = channels;
    m_entryCount = entryCount;
    m_entrySize = entrySize;
    m_tagType = kTableForm;
    const uint64_t bytes = table_bytes(channels, entryCount, entrySize);
    m_table.clear();
    if (bytes != 0 && source) {
        const auto *first = static_cast<const uint8_t *>(source);
        m_table.assign(first, first + bytes);
    }
}

bool CIccTagvcgt::Write(CIccIO *io)
{
    // A table that does not match its counts (none, or an entry size the
    // format cannot hold) would be read past its end.
    if (!io || m_tagType != kTableForm || !is_supported_entry_size(m_entrySize)
        || m_table.size() != table_bytes(m_channels, m_entryCount, m_entrySize))
        return false;
    if (!WriteTypeHeader(*io, m_reserved) || !io->WriteUInt32(m_tagType)
        || !io->WriteUInt16(m_channels) || !io->WriteUInt16(m_entryCount) || !io->WriteUInt16(m_entrySize))
        return false;
    const uint64_t entries = uint64_t(m_channels) * m_entryCount;
    for (uint64_t k = 0; k < entries; ++k) {
        const bool written = m_entrySize == 1 ? io->WriteUInt8(m_table[k]) : io->WriteUInt16(entry16(m_table, k));
        if (!written)
            return false;
    }
    return true;
}

bool CIccTagvcgt::Read(uint32_t size, CIccIO *io)
{
    uint32_t signature, reserved, tagType;
    uint16_t channels, entryCount, entrySize;
    if (!io || !io->ReadUInt32(signature) || !io->ReadUInt32(reserved) || !io->ReadUInt32(tagType)
        || tagType != kTableForm || !io->ReadUInt16(channels) || !io->ReadUInt16(entryCount)
        || !io->ReadUInt16(entrySize) || !is_supported_entry_size(entrySize))
        return false;
    // The tag size comes from the file: the entries must fit both the tag and
    // what the stream still holds before anything is allocated.
    const uint64_t bytes = table_bytes(channels, entryCount, entrySize);
    if (uint64_t(size) < kFixedBytes + bytes || uint64_t(io->Remaining()) < bytes)
        return false;
    std::vector<uint8_t> table(bytes);
    const uint64_t entries = uint64_t(channels) * entryCount;
    for (uint64_t k = 0; k < entries; ++k) {
        const bool read = entrySize == 1 ? io->ReadUInt8(table[k]) : read_entry16(*io, table, k);
        if (!read)
            return false;
    }
    m_reserved = reserved;
    m_tagType = tagType;
    m_channels = channels;
    m_entryCount = entryCount;
    m_entrySize = entrySize;
    m_table = std::move(table);
    return true;
}

void CIccTagvcgt::Describe(QString &text) const
{
    text = QStringLiteral("vcgt:tagType = %1\r\nchannels = %2\r\nentryCount = %3\r\nentrySize = %4\r\n")
               .arg(m_tagType)
               .arg(m_channels)
               .arg(m_entryCount)
               .arg(m_entrySize);
}
