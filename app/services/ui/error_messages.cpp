#include "app/services/ui/error_messages.h"

#include "app/services/error_code_table.h"

namespace {

constexpr int kCancelledByOperator = -1005;

} // namespace

void error_code_message_id(int code, QString &text, QMessageBox::Icon &icon)
{
    text = error_code_text(code);
    if (code == kCancelledByOperator)
        icon = QMessageBox::Warning;
}
