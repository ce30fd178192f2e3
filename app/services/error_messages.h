#pragma once

#include <QMessageBox>
#include <QString>

// The string id of a program status code; 100 ("Unknown Error #%1") for a
// code without a text of its own.
int error_code_string_id(int code);

// The operator's text for |code|. |icon| keeps the caller's icon except for
// a cancelled operation (-1005), which is only a warning.
void error_code_message_id(int code, QString &text, QMessageBox::Icon &icon);
