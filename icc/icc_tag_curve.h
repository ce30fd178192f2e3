#pragma once

#include "icc/icc_tag.h"

// curveType ("curv"): no entry is the identity, one entry a gamma
// (u8Fixed8Number), more entries a sampled curve of 16-bit fractions.
class CIccTagCurve : public CIccTag
{
public:
    // Kept in single precision, as the profile numbers are.
    void SetEntries(const std::vector<double> &entries) { m_entries.assign(entries.begin(), entries.end()); }

    CIccTag *NewCopy() const override { return new CIccTagCurve(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagCurve"; }
    bool Write(CIccIO *io) override;

private:
    std::vector<float> m_entries;
};
