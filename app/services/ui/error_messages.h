#pragma once

#include <QMessageBox>
#include <QString>

// The text and icon of a status code's message box: the text of
// error_code_text; |icon| keeps the caller's icon except for a cancelled
// operation (-1005), which is only a warning.
void error_code_message_id(int code, QString &text, QMessageBox::Icon &icon);
