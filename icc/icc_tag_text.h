#pragma once

#include "icc/icc_tag.h"

// textType ("text"): 7-bit ASCII ended by NUL.
class CIccTagText : public CIccTag
{
public:
    void SetText(const QString &text) { m_text = text; }

    CIccTag *NewCopy() const override { return new CIccTagText(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagText"; }
    bool Write(CIccIO *io) override;

private:
    QString m_text;
};
