#include "app/window/introduction_dialog.h"

#include "app/services/preferences.h"
#include "app/window/introduction_choices.h"

#include "ui_introduction_dialog.h"

introduction_dialog::introduction_dialog(const CPreferences &preferences, QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , m_ui(new Ui::introduction_dialogClass)
    , m_preferences(preferences)
{
    m_ui->setupUi(this);
    m_ui->main_label->setText(introduction_text(m_preferences.GetRecentFiles()));
}

introduction_dialog::~introduction_dialog() = default;

void introduction_dialog::on_cancel_pushButton_clicked()
{
    done(kIntroductionClosed);
}

void introduction_dialog::on_dont_show_again_checkBox_toggled(bool checked)
{
    m_dontShowAgain = checked;
}

void introduction_dialog::on_main_label_linkActivated(const QString &link)
{
    // The list is read again: it is the one the operator's choice refers to now.
    QString chosen;
    const int result = introduction_link_result(link, m_preferences.GetRecentFiles(), &chosen);
    if (result == 0)
        return;
    m_chosenRecentProject = chosen;
    done(result);
}
