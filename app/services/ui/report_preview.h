#pragma once

#include <QString>
#include <Qt>

#include <functional>

class CPreferences;
class QAction;
class QObject;
class QPrinter;
class QTextDocument;
class QWidget;

// The print preview of a report document, as every report of the program
// shows it: a high-resolution landscape page for a printer or, with a
// |pdf_name|, for a PDF file: the preview's print action proposes
// "<pdf_name>.pdf" in the documents folder (created when missing), and a
// file that was not written is reported. Runs modally with |parent| as parent
// and |flags| as its window flags; |font_action| joins the preview's tool
// bar, |paint| renders the report on the printer it is given, and while the
// preview is open the signal |relayout_signal| (SIGNAL(...)) of
// |relayout_sender| lays it out again.
void run_report_preview(QWidget *parent, Qt::WindowFlags flags, const QString &pdf_name, QAction *font_action,
                        const std::function<void(QPrinter *)> &paint, QObject *relayout_sender,
                        const char *relayout_signal);

// Prints |document| on |printer| as one report, in a font small enough that
// no word of it is broken across lines (down to a smallest readable size);
// |document| keeps its own font.
void print_report(const QTextDocument &document, QPrinter *printer);

// Asks for the report font, starting from the preferences' one (the
// framework's font when |preferences| is null). On a choice it becomes
// |document|'s default font and is kept in |preferences|; true then.
bool choose_report_font(QWidget *parent, QTextDocument &document, CPreferences *preferences);
