#pragma once

#include "icc/icc_tag.h"

// XYZType ("XYZ "): one XYZ value as three s15Fixed16Numbers.
class CIccTagXYZ : public CIccTag
{
public:
    // Kept in single precision, as the profile numbers are.
    void SetXYZ(double X, double Y, double Z) { m_xyz = {float(X), float(Y), float(Z)}; }

    CIccTag *NewCopy() const override { return new CIccTagXYZ(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagXYZ"; }
    bool Write(CIccIO *io) override;

private:
    std::vector<float> m_xyz = {0.0f, 0.0f, 0.0f};
};
