#include "icc/icc_tag_curve.h"

#include "icc/icc_encoding.h"

uint32_t CIccTagCurve::GetType() const
{
    return icc_encoding::signature("curv");
}

bool CIccTagCurve::Write(CIccIO *io)
{
    if (!io || !WriteTypeHeader(*io) || !io->WriteUInt32(uint32_t(m_entries.size())))
        return false;
    const auto encode = m_entries.size() == 1 ? icc_encoding::to_u8Fixed8 : icc_encoding::to_u16_fraction;
    for (const float entry : m_entries) {
        if (!io->WriteUInt16(encode(entry)))
            return false;
    }
    return true;
}
