#include "icc/icc_tag_text.h"

#include "icc/icc_encoding.h"

uint32_t CIccTagText::GetType() const
{
    return icc_encoding::signature("text");
}

bool CIccTagText::Write(CIccIO *io)
{
    const QByteArray ascii = icc_encoding::to_ascii(m_text);
    return io && WriteTypeHeader(*io) && io->Write8(ascii.constData(), ascii.size()) == ascii.size()
           && io->WriteUInt8(0);
}
