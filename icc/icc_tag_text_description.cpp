#include "icc/icc_tag_text_description.h"

#include "icc/icc_encoding.h"

namespace {

constexpr int kScriptCodeBytes = 67;

bool write_ascii(CIccIO &io, const QByteArray &ascii)
{
    return io.WriteUInt32(uint32_t(ascii.size()) + 1)
           && io.Write8(ascii.constData(), ascii.size()) == ascii.size() && io.WriteUInt8(0);
}

bool write_unicode(CIccIO &io, const QString &text)
{
    if (!io.WriteUInt32(0) || !io.WriteUInt32(uint32_t(text.size()) + 1))
        return false;
    for (const QChar c : text) {
        if (!io.WriteUInt16(c.unicode()))
            return false;
    }
    return io.WriteUInt16(0);
}

bool write_empty_script_code(CIccIO &io)
{
    static const char zeros[kScriptCodeBytes] = {};
    return io.WriteUInt16(0) && io.WriteUInt8(0)
           && io.Write8(zeros, kScriptCodeBytes) == kScriptCodeBytes;
}

} // namespace

uint32_t CIccTagTextDescription::GetType() const
{
    return icc_encoding::signature("desc");
}

bool CIccTagTextDescription::Write(CIccIO *io)
{
    return io && WriteTypeHeader(*io) && write_ascii(*io, icc_encoding::to_ascii(m_text))
           && write_unicode(*io, m_text) && write_empty_script_code(*io);
}
