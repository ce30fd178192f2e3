#include "app/services/ui/file_dialogs.h"

#include <QFileDialog>

namespace {

file_dialog_answerer &answerer()
{
    static file_dialog_answerer installed;
    return installed;
}

} // namespace

QString get_open_file_name(QWidget *parent, const QString &caption, const QString &directory,
                           const QString &filter)
{
    if (answerer())
        return answerer()({file_dialog_request::open_file, parent, caption, directory, filter});
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString get_save_file_name(QWidget *parent, const QString &caption, const QString &directory,
                           const QString &filter)
{
    if (answerer())
        return answerer()({file_dialog_request::save_file, parent, caption, directory, filter});
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

void set_file_dialog_answerer(file_dialog_answerer answerer_)
{
    answerer() = std::move(answerer_);
}
