#include "icc/icc_tag.h"

#include "icc/icc_encoding.h"

bool CIccTag::Read(uint32_t, CIccIO *)
{
    return false;
}

void CIccTag::Describe(QString &text) const
{
    text = QString::fromLatin1(GetClassName());
}

bool CIccTag::WriteTypeHeader(CIccIO &io, uint32_t reserved) const
{
    return io.WriteUInt32(GetType()) && io.WriteUInt32(reserved);
}

bool CIccTag::WriteS15Fixed16List(CIccIO &io, const std::vector<float> &values)
{
    for (const float value : values) {
        if (!io.WriteInt32(icc_encoding::to_s15Fixed16(value)))
            return false;
    }
    return true;
}
