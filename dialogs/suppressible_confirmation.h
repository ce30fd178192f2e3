#pragma once

class QWidget;

// Asks a Yes/No question (string |text_id|, Yes by default, warning icon)
// that the operator may suppress as message |message_id| of the
// preferences. A ticked "Don't show this again" is kept whatever the
// answer. True when the operator said Yes or the question is suppressed.
bool confirm_unless_suppressed(QWidget *parent, int message_id, int text_id);
