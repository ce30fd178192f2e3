#pragma once

#include <QString>

// From program status codes to the operator's texts, without any widget,
// so that every layer can word a failure.

// The string id of |code|; 100 ("Unknown Error #%1") for a code without a
// text of its own.
int error_code_string_id(int code);

// The operator's text of |code|, an unknown code filled in.
QString error_code_text(int code);
