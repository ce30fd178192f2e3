#pragma once

#include "icc/icc_tag.h"

#include <array>

// The make-and-model record ("mmod") that ties a profile to a display.
class CIccTagmmod : public CIccTag
{
public:
    void SetValues(uint32_t manufacturer, uint32_t model, uint32_t serialNumber, uint32_t manufactureDate,
                   uint32_t reserved1, uint32_t reserved2, uint32_t reserved3, uint32_t reserved4);

    CIccTag *NewCopy() const override { return new CIccTagmmod(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagmmod"; }
    // The size is not needed: the layout is fixed.
    bool Read(uint32_t size, CIccIO *io) override;
    bool Write(CIccIO *io) override;
    void Describe(QString &text) const override;

    // manufacturer, model, serialNumber, manufactureDate, reserved1 to reserved4.
    const std::array<uint32_t, 8> &values() const { return m_values; }
    uint32_t reserved() const { return m_reserved; }

private:
    uint32_t m_reserved = 0;
    std::array<uint32_t, 8> m_values = {};
};
