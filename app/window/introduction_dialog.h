#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class CPreferences;

namespace Ui {
class introduction_dialogClass;
}

// The start-up welcome: start the layout wizard, open a recent project or
// open one from elsewhere. Ends with an introduction_result
// (introduction_choices.h); the main window acts on it.
class introduction_dialog : public QDialog
{
    Q_OBJECT

public:
    // |preferences| supplies the recent projects and must outlive the dialog.
    explicit introduction_dialog(const CPreferences &preferences, QWidget *parent = nullptr);
    ~introduction_dialog() override;

    bool dont_show_again() const { return m_dontShowAgain; }
    // The recent project chosen when the dialog ended with
    // kIntroductionOpenRecentProject; empty otherwise.
    QString chosen_recent_project() const { return m_chosenRecentProject; }

private slots:
    void on_cancel_pushButton_clicked();
    void on_dont_show_again_checkBox_toggled(bool checked);
    void on_main_label_linkActivated(const QString &link);

private:
    std::unique_ptr<Ui::introduction_dialogClass> m_ui;
    const CPreferences &m_preferences;
    bool m_dontShowAgain = false;
    QString m_chosenRecentProject;
};
