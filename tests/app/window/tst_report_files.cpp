// The reports saved as PDF from the main window, in a home that has no
// documents folder yet: each becomes a file inside that folder, and the
// folder stays a folder for everything the program keeps below it.
#include "app/services/preferences.h"
#include "app/controller/master_globals.h"
#include "app/window/information_dialog_host.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "main_window_fixture.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/layout_setup/layout_wizard_driver.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

namespace {

// Prints the next print preview to the PDF file its print dialog proposes;
// the proposed name lands in |proposed|.
void print_to_proposed_pdf(QString *proposed)
{
    when_modal_shows<QPrintPreviewDialog>([proposed](QPrintPreviewDialog *preview) {
        when_modal_shows<QPrintDialog>([proposed](QPrintDialog *dialog) {
            *proposed = dialog->printer()->outputFileName();
            dialog->accept();
        });
        for (QAction *action : preview->findChild<QToolBar *>()->actions())
            if (action->text() == QLatin1String("Print"))
                action->trigger();
        preview->close();
    });
}

QStringList pdfs_in(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

} // namespace

class tst_report_files : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cancel_pending_modal_answers(); }

    void pdfs_land_in_a_documents_folder_made_for_them();
    void an_unwritten_pdf_is_reported();
};

void tst_report_files::pdfs_land_in_a_documents_folder_made_for_them()
{
    main_window_fixture app;
    const QString documents = app.wall().documents_folder();
    QVERIFY(QDir(documents).removeRecursively());
    Tessaline &window = app.window();
    create_information_dialog(window);
    window.show();

    // The layout summary, from the wizard's last page.
    QString summary_pdf;
    bool finished = false;
    layout_wizard_driver::when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        layout_wizard_driver::wall_description wall;
        wall.columns = 2;
        layout_wizard_driver::describe_wall(wizard, wall);
        print_to_proposed_pdf(&summary_pdf);
        wizard.button(QWizard::CustomButton2)->click();
        finished = layout_wizard_driver::finish(wizard);
    });
    window.findChild<QAction *>(QStringLiteral("actionLayout"))->trigger();
    QVERIFY(finished);
    QVERIFY2(QFileInfo(summary_pdf).isFile(), qPrintable(summary_pdf));

    // The Summary window's report.
    window.findChild<QAction *>(QStringLiteral("action_Information_Window"))->trigger();
    QVERIFY(g_information_dialog && g_information_dialog->isVisible());
    QString report_pdf;
    print_to_proposed_pdf(&report_pdf);
    g_information_dialog->findChild<QPushButton *>(QStringLiteral("pdf_pushButton"))->click();
    QVERIFY2(QFileInfo(report_pdf).isFile(), qPrintable(report_pdf));

    QVERIFY(QFileInfo(documents).isDir());
    QCOMPARE(pdfs_in(documents).size(), 2);
    QCOMPARE(QFileInfo(summary_pdf).absolutePath(), documents);
    QCOMPARE(QFileInfo(report_pdf).absolutePath(), documents);

    // What the program keeps below the documents folder is still written.
    const QString project = documents + QStringLiteral("/wall.tslw");
    app.answer_file_dialog(project);
    window.findChild<QAction *>(QStringLiteral("actionSave_Project_As"))->trigger();
    QVERIFY(QFileInfo(project).isFile());
    app.wall().layout().update_layout();
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(app.backups_folder()).entryList(QDir::Files).isEmpty(), 5000);
    QCOMPARE(app.preferences().Save(), 0);
    QVERIFY2(QFileInfo(CPreferences::FilePath()).isFile(), qPrintable(CPreferences::FilePath()));
    QVERIFY(CPreferences::FilePath().startsWith(documents + QLatin1Char('/')));
}

// A file where the documents folder should be (left by an older version)
// cannot take the PDF: the operator hears of it, and the file stays.
void tst_report_files::an_unwritten_pdf_is_reported()
{
    main_window_fixture app;
    const QString documents = app.wall().documents_folder();
    QVERIFY(QDir(documents).removeRecursively());
    QFile in_the_way(documents);
    QVERIFY(in_the_way.open(QIODevice::WriteOnly) && in_the_way.write("kept") == 4);
    in_the_way.close();
    Tessaline &window = app.window();
    KQ_Information_Dialog *summary = create_information_dialog(window);
    summary->show();

    QString proposed;
    QString message;
    print_to_proposed_pdf(&proposed);
    answer_message_box(QMessageBox::Ok, &message);
    summary->findChild<QPushButton *>(QStringLiteral("pdf_pushButton"))->click();
    QTRY_VERIFY(!message.isEmpty());
    QVERIFY2(message.contains(QStringLiteral("could not be written")) && message.contains(proposed),
             qPrintable(message));
    QVERIFY(QFileInfo(documents).isFile());
    QCOMPARE(QFileInfo(documents).size(), qint64(4));
}

QTEST_MAIN(tst_report_files)
#include "tst_report_files.moc"
