#pragma once

#include "icc/icc_tag.h"

// textDescriptionType ("desc"): the text in 7-bit ASCII and in full as UTF-16,
// with an empty ScriptCode part.
class CIccTagTextDescription : public CIccTag
{
public:
    void SetText(const QString &text) { m_text = text; }

    CIccTag *NewCopy() const override { return new CIccTagTextDescription(*this); }
    uint32_t GetType() const override;
    const char *GetClassName() const override { return "CIccTagTextDescription"; }
    bool Write(CIccIO *io) override;

private:
    QString m_text;
};
