#include "icc/icc_profile.h"

#include "icc/icc_encoding.h"

namespace {

constexpr int kReservedHeaderBytes = 28;

bool write_words(CIccIO &io, std::initializer_list<uint32_t> words)
{
    for (const uint32_t word : words) {
        if (!io.WriteUInt32(word))
            return false;
    }
    return true;
}

} // namespace

void CIccProfile::InitHeader()
{
    m_Header = CIccProfileHeader();
    m_Header.version = 0x02100000;
    m_Header.magic = icc_encoding::signature("acsp");
    m_Header.illuminant = {icc_encoding::to_s15Fixed16(0.9642f), icc_encoding::to_s15Fixed16(1.0f),
                           icc_encoding::to_s15Fixed16(0.8249f)};
}

bool CIccProfile::AttachTag(uint32_t signature, CIccTag *tag)
{
    if (!tag || FindTag(signature))
        return false;
    m_tags.push_back(Entry{signature, std::unique_ptr<CIccTag>(tag)});
    return true;
}

CIccTag *CIccProfile::FindTag(uint32_t signature) const
{
    for (const Entry &entry : m_tags) {
        if (entry.signature == signature)
            return entry.tag.get();
    }
    return nullptr;
}

bool CIccProfile::Write(CIccIO *io)
{
    if (!io || io->Seek(0, 0) != 0 || !WriteHeader(*io) || !WriteTagTable(*io) || !WriteTagData(*io))
        return false;
    const int32_t length = io->Tell();
    if (length < 0)
        return false;
    m_Header.size = uint32_t(length);
    // Second pass over header and table, now that sizes and offsets are known.
    return io->Seek(0, 0) == 0 && WriteHeader(*io) && WriteTagTable(*io) && io->Seek(0, 2) == length;
}

bool CIccProfile::WriteHeader(CIccIO &io) const
{
    const CIccProfileHeader &h = m_Header;
    static const uint8_t reserved[kReservedHeaderBytes] = {};
    if (!write_words(io, {h.size, h.cmmId, h.version, h.deviceClass, h.colorSpace, h.pcs}))
        return false;
    for (const uint16_t part : h.date) {
        if (!io.WriteUInt16(part))
            return false;
    }
    return write_words(io, {h.magic, h.platform, h.flags, h.manufacturer, h.model, uint32_t(h.attributes >> 32),
                            uint32_t(h.attributes), h.renderingIntent, uint32_t(h.illuminant[0]),
                            uint32_t(h.illuminant[1]), uint32_t(h.illuminant[2]), h.creator})
           && io.Write8(h.profileID.data(), int32_t(h.profileID.size())) == int32_t(h.profileID.size())
           && io.Write8(reserved, kReservedHeaderBytes) == kReservedHeaderBytes;
}

bool CIccProfile::WriteTagTable(CIccIO &io) const
{
    if (!io.WriteUInt32(uint32_t(m_tags.size())))
        return false;
    for (const Entry &entry : m_tags) {
        if (!write_words(io, {entry.signature, entry.offset, entry.size}))
            return false;
    }
    return true;
}

bool CIccProfile::WriteTagData(CIccIO &io)
{
    for (Entry &entry : m_tags) {
        const int32_t start = io.Tell();
        if (start < 0 || !entry.tag->Write(&io))
            return false;
        const int32_t end = io.Tell();
        if (end < start || !io.Align32())
            return false;
        entry.offset = uint32_t(start);
        entry.size = uint32_t(end - start);
    }
    return true;
}
