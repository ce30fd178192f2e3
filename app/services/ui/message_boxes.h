#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message the program puts in front of the operator. All are modal
// and titled with the application name; the countdown closes a box after
// 60 seconds; the left-half placement keeps the wall view visible.
// |dontShow|, when given, offers "Don't show this again" when it is true on
// entry and receives the check box's state; the caller keeps the choice in
// the preferences (IsMessageSuppressed / SuppressMessage).

// Returns the pressed standard button.
int show_message_box(QWidget *parent, const QString &text, bool *dontShow,
                     QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                     QMessageBox::Icon icon, bool countdown, bool placeOnLeftHalf);

// A notice with an OK button.
int show_notice_box(QWidget *parent, const QString &text, bool *dontShow, QMessageBox::Icon icon,
                    bool countdown, bool placeOnLeftHalf);

// The text of a status code; with |playPrompt| the recorded error prompt
// starts as the box opens.
void show_error_message(QWidget *parent, int code, bool playPrompt, bool countdown, bool placeOnLeftHalf);
