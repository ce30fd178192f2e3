#include "icc/icc_tag_xyz.h"

#include "icc/icc_encoding.h"

uint32_t CIccTagXYZ::GetType() const
{
    return icc_encoding::signature("XYZ ");
}

bool CIccTagXYZ::Write(CIccIO *io)
{
    return io && WriteTypeHeader(*io) && WriteS15Fixed16List(*io, m_xyz);
}
