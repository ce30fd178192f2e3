#include "control_panel/HexListValidator.h"

#include "control_panel/core/ir_codes.h"

QValidator::State HexListValidator::validate(QString &input, int &) const
{
    switch (ir_codes::validate(input)) {
    case ir_codes::check::acceptable:
        return Acceptable;
    case ir_codes::check::intermediate:
        return Intermediate;
    case ir_codes::check::invalid:
        break;
    }
    return Invalid;
}
