#pragma once

#include <QValidator>

// Lets through an IR code sequence being typed: hexadecimal tokens of at
// most FF separated by single spaces; refuses a token above FF.
class HexListValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;
    ~HexListValidator() override = default;

    State validate(QString &input, int &position) const override;
};
