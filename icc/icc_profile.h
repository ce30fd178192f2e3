#pragma once

#include "icc/icc_io.h"
#include "icc/icc_tag.h"

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// The 128-byte profile header, field by field.
struct CIccProfileHeader
{
    uint32_t size = 0; // filled in by CIccProfile::Write
    uint32_t cmmId = 0;
    uint32_t version = 0;
    uint32_t deviceClass = 0;
    uint32_t colorSpace = 0;
    uint32_t pcs = 0;
    std::array<uint16_t, 6> date = {}; // year, month, day, hour, minute, second
    uint32_t magic = 0;
    uint32_t platform = 0;
    uint32_t flags = 0;
    uint32_t manufacturer = 0;
    uint32_t model = 0;
    uint64_t attributes = 0;
    uint32_t renderingIntent = 0;
    std::array<int32_t, 3> illuminant = {}; // s15Fixed16Numbers
    uint32_t creator = 0;
    std::array<uint8_t, 16> profileID = {};
};

// A profile being built: the header and the tags in the order they were
// attached, which is the order of the tag table and of the tag data.
class CIccProfile
{
public:
    static constexpr int32_t kHeaderBytes = 128;

    CIccProfile() = default;
    CIccProfile(const CIccProfile &) = delete;
    CIccProfile &operator=(const CIccProfile &) = delete;

    // Version 2.1, the file signature and the D50 illuminant; everything else 0.
    void InitHeader();
    CIccProfileHeader m_Header;

    // Takes ownership of |tag|; false (and the caller keeps it) for a null tag
    // or a signature already attached.
    bool AttachTag(uint32_t signature, CIccTag *tag);
    CIccTag *FindTag(uint32_t signature) const;
    int TagCount() const { return int(m_tags.size()); }

    // Header, tag table and tag data, each tag on a 4-byte boundary; the
    // table and the header's size are filled in once the tags are written.
    bool Write(CIccIO *io);

private:
    struct Entry
    {
        uint32_t signature;
        std::unique_ptr<CIccTag> tag;
        uint32_t offset = 0;
        uint32_t size = 0;
    };

    bool WriteHeader(CIccIO &io) const;
    bool WriteTagTable(CIccIO &io) const;
    bool WriteTagData(CIccIO &io);

    std::vector<Entry> m_tags;
};
