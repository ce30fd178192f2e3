#pragma once

#include <QString>
#include <QStringList>

class CPreferences;

// What the introduction dialog offers and what its answer asks of the main
// window, apart from the dialog's widgets.

// The results the introduction dialog ends with.
enum introduction_result {
    kIntroductionClosed = 1,
    kIntroductionOpenOtherProject = 2,
    kIntroductionLayoutWizard = 3,
    kIntroductionOpenRecentProject = 4,
};

// The id under which the operator's "Don't show this again" is kept among
// the preferences' suppressed messages.
constexpr int kIntroductionMessageId = 3;

// The rich text of the dialog: the layout wizard link, the recent projects
// (newest first, links "0", "1", ... showing the HTML-escaped file names) and
// the link to open a project from elsewhere.
QString introduction_text(const QStringList &recent_files);

// The result |link| ends the dialog with, or 0 when it ends nothing (a link
// that is no number, or no entry of |recent_files|). A recent project's path
// goes to |chosen|.
int introduction_link_result(const QString &link, const QStringList &recent_files, QString *chosen);

// Whether the dialog is shown at start-up.
bool introduction_wanted(const CPreferences &preferences);

// Keeps the operator's don't-show choice of a dialog that ended with
// |result| (0: it did not end through its own controls).
void record_introduction_choice(CPreferences &preferences, int result, bool dont_show_again);
