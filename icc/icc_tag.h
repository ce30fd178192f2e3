#pragma once

#include "icc/icc_io.h"

#include <QString>

#include <cstdint>
#include <vector>

// One tag of a profile. Every tag starts with its type signature and a
// reserved word; the rest is the type's own.
class CIccTag
{
public:
    virtual ~CIccTag() = default;

    virtual CIccTag *NewCopy() const = 0;
    virtual uint32_t GetType() const = 0;
    virtual const char *GetClassName() const = 0;
    // |size| is the tag's length from the tag table. The standard types are
    // only ever written, so the default refuses.
    virtual bool Read(uint32_t size, CIccIO *io);
    virtual bool Write(CIccIO *io) = 0;
    // Replaces |text| with a readable account of the tag; by default its class name.
    virtual void Describe(QString &text) const;

protected:
    bool WriteTypeHeader(CIccIO &io, uint32_t reserved = 0) const;
    static bool WriteS15Fixed16List(CIccIO &io, const std::vector<float> &values);
};
