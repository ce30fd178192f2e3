#include "icc/icc_tag_mmod.h"

#include "icc/icc_encoding.h"

namespace {

// Describe shows every value but the manufacturer, in stored order.
const char *const kDescribedNames[] = {
    nullptr, "model", "serialNumber", "manufactureDate", "reserved1", "reserved2", "reserved3", "reserved4",
};

} // namespace

uint32_t CIccTagmmod::GetType() const
{
    return icc_encoding::signature("mmod");
}

void CIccTagmmod::SetValues(uint32_t manufacturer, uint32_t model, uint32_t serialNumber, uint32_t manufactureDate,
                            uint32_t reserved1, uint32_t reserved2, uint32_t reserved3, uint32_t reserved4)
{
    m_values = {manufacturer, model, serialNumber, manufactureDate, reserved1, reserved2, reserved3, reserved4};
}

bool CIccTagmmod::Write(CIccIO *io)
{
    if (!io || !WriteTypeHeader(*io, m_reserved))
        return false;
    for (const uint32_t value : m_values) {
        if (!io->WriteUInt32(value))
            return false;
    }
    return true;
}

bool CIccTagmmod::Read(uint32_t, CIccIO *io)
{
    uint32_t signature, reserved;
    std::array<uint32_t, 8> values;
    if (!io || !io->ReadUInt32(signature) || !io->ReadUInt32(reserved))
        return false;
    for (uint32_t &value : values) {
        if (!io->ReadUInt32(value))
            return false;
    }
    m_reserved = reserved;
    m_values = values;
    return true;
}

void CIccTagmmod::Describe(QString &text) const
{
    text = QStringLiteral("mmod:");
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (kDescribedNames[i])
            text += QStringLiteral("%1 = %2\r\n").arg(QLatin1String(kDescribedNames[i])).arg(m_values[i]);
    }
}
