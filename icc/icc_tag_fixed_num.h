#pragma once

#include "icc/icc_tag.h"

// s15Fixed16ArrayType ("sf32").
class CIccTagFixedNum : public CIccTag
{
public:
    // Kept in single precision, as the profile numbers are.
    void SetValues(const std::vector<double> &values) { m_values.assign(values.begin(), values.end()); }

    CIccTag *NewCopy() const override { return new CIccTagFixedNum(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagFixedNum"; }
    bool Write(CIccIO *io) override;

private:
    std::vector<float> m_values;
};
