#pragma once

#include <QString>

#include <functional>

class QWidget;

// The framework's file dialogs, asked through one seam so that tests answer
// them without a dialog. Every file name the program asks the operator for
// goes through these two functions.

// The framework's open-file and save-file dialogs (QFileDialog::getOpenFileName
// and QFileDialog::getSaveFileName); an empty string when the operator cancels.
QString get_open_file_name(QWidget *parent, const QString &caption, const QString &directory,
                           const QString &filter);
QString get_save_file_name(QWidget *parent, const QString &caption, const QString &directory,
                           const QString &filter);

// What a file dialog would have been opened with.
struct file_dialog_request
{
    enum dialog_kind { open_file, save_file };
    dialog_kind kind;
    QWidget *parent;
    QString caption;
    QString directory;
    QString filter;
};

// Test seam: while an answerer is installed, it answers every request
// instead of a dialog (an empty answer is a cancel). An empty function
// brings the dialogs back.
//
//   set_file_dialog_answerer([&](const file_dialog_request &request) {
//       asked.append(request);
//       return QStringLiteral("/tmp/wall.tslw");
//   });
using file_dialog_answerer = std::function<QString(const file_dialog_request &)>;
void set_file_dialog_answerer(file_dialog_answerer answerer);
