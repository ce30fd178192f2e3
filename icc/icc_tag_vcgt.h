#pragma once

#include "icc/icc_tag.h"

// The video-card gamma table ("vcgt") a system loads into the graphics card's
// lookup table when the profile becomes active. Only the table form is handled.
class CIccTagvcgt : public CIccTag
{
public:
    static constexpr uint32_t kTableForm = 0;

    // |source| holds channels × entryCount × entrySize bytes, channel after
    // channel; two-byte entries are 16-bit numbers in host order.
    void SetTable(uint16_t channels, uint16_t entryCount, uint16_t entrySize, const void *source);

    CIccTag *NewCopy() const override { return new CIccTagvcgt(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagvcgt"; }
    bool Read(uint32_t size, CIccIO *io) override;
    bool Write(CIccIO *io) override;
    void Describe(QString &text) const override;

    uint32_t reserved() const { return m_reserved; }
    uint16_t channels() const { return m_channels; }
    uint16_t entryCount() const { return m_entryCount; }
    uint16_t entrySize() const { return m_entrySize; }
    uint32_t tagType() const { return m_tagType; }
    const std::vector<uint8_t> &table() const { return m_table; }

private:
    uint32_t m_reserved = 0;
    uint16_t m_channels = 0;
    uint16_t m_entryCount = 0;
    uint16_t m_entrySize = 0;
    uint32_t m_tagType = kTableForm;
    std::vector<uint8_t> m_table;
};
