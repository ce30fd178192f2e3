#include "icc/icc_tag_fixed_num.h"

#include "icc/icc_encoding.h"

uint32_t CIccTagFixedNum::GetType() const
{
    return icc_encoding::signature("sf32");
}

bool CIccTagFixedNum::Write(CIccIO *io)
{
    return io && WriteTypeHeader(*io) && WriteS15Fixed16List(*io, m_values);
}
