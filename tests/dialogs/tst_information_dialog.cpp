#include "app/services/folders.h"
#include "app/services/held_keys.h"
#include "app/services/preferences.h"
#include "app/services/ui/file_dialogs.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/headless_controller.h"

#include <QAction>
#include <QLineEdit>
#include <QPrintDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

QString run_tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QAction *tool_bar_action(QWidget &window, const QString &text)
{
    for (QAction *action : window.findChild<QToolBar *>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

CAdjustValue calibrated_record()
{
    CAdjustValue record = headless_controller::measured_record(
        CCIEYxy(42.0, 0.64, 0.33).ToXYZ(), CCIEYxy(143.0, 0.30, 0.60).ToXYZ(), CCIEYxy(15.0, 0.15, 0.06).ToXYZ());
    record.SetCalibrationDateTime(QDateTime(QDate(2025, 3, 5), QTime(16, 45)));
    record.SetCalibrationMode(CAdjustValue::kModeGains);
    record.gain = {{1.0, 0.8, 0.5}};
    record.firmware_version = QStringLiteral("FW <beta> & co");
    return record;
}

// The controller with a 2 x 1 wall: display 1 calibrated with RGB gains,
// display 2 without a record.
class information_wall
{
public:
    information_wall()
    {
        m_wall.create_wall(2, 1);
        m_wall.store_record(0, calibrated_record(), QStringLiteral("P555"), QStringLiteral("SN<1>"));
        set_file_dialog_answerer([this](const file_dialog_request &request) {
            m_requests.append(request);
            return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        });
    }
    ~information_wall()
    {
        set_file_dialog_answerer({});
        set_held_keyboard_modifiers_source({});
        cancel_pending_modal_answers();
    }

    headless_controller &wall() { return m_wall; }
    void answer_file_dialog(const QString &path) { m_answers.append(path); }
    const QList<file_dialog_request> &requests() const { return m_requests; }
    void hold_shift(bool held)
    {
        set_held_keyboard_modifiers_source(
            [held] { return held ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::KeyboardModifiers(); });
    }

private:
    headless_controller m_wall;
    QStringList m_answers;
    QList<file_dialog_request> m_requests;
};

QTableWidget *connection_table(KQ_Information_Dialog &dialog)
{
    return dialog.findChild<QTableWidget *>(QStringLiteral("connection_summary_tableWidget"));
}

QTableWidget *calibration_table(KQ_Information_Dialog &dialog)
{
    return dialog.findChild<QTableWidget *>(QStringLiteral("calibration_summary_tableWidget"));
}

QPushButton *button(KQ_Information_Dialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class tst_information_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void form();
    void tables_show_the_wall();
    void tables_follow_changes();
    void selection_follows_between_the_tables();
    void diagnostics_button_needs_shift_data();
    void diagnostics_button_needs_shift();
    void diagnostics_saved();
    void failed_diagnostics_save_keeps_the_old_file();
    void pdf_through_the_preview();
    void report_words_stay_whole_data();
    void report_words_stay_whole();
    void print_preview_offers_no_file();
};

void tst_information_dialog::form()
{
    information_wall wall;
    KQ_Information_Dialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Summary"));
    QVERIFY(dialog.windowFlags() & Qt::Tool);
    QTableWidget *connection = connection_table(dialog);
    QCOMPARE(connection->columnCount(), 12);
    QCOMPARE(connection->horizontalHeaderItem(10)->text(), QStringLiteral("Update Factory\nColor Calibration"));
    QCOMPARE(calibration_table(dialog)->columnCount(), 13);
    QCOMPARE(calibration_table(dialog)->horizontalHeaderItem(12)->text(), QStringLiteral("Uniformity Settings"));
    QCOMPARE(connection->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(connection->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(connection->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!connection->isCornerButtonEnabled());
    for (const char *name : {"save_diagnostics_pushButton", "print_pushButton", "pdf_pushButton", "font_pushButton"})
        QVERIFY(!button(dialog, name)->autoDefault());
    QCOMPARE(button(dialog, "save_diagnostics_pushButton")->text(), QStringLiteral("Save diagnostics...."));
    QCOMPARE(button(dialog, "font_pushButton")->toolTip(), QStringLiteral("Set Font"));
}

void tst_information_dialog::tables_show_the_wall()
{
    information_wall wall;
    KQ_Information_Dialog dialog;
    QTableWidget *connection = connection_table(dialog);
    QTableWidget *calibration = calibration_table(dialog);
    QCOMPARE(connection->rowCount(), 2);
    QCOMPARE(connection->item(0, 2)->text(), QStringLiteral("P555"));
    QCOMPARE(connection->item(0, 3)->text(), QStringLiteral("SN<1>"));
    QCOMPARE(connection->item(0, 4)->text(), QStringLiteral("FW <beta> & co"));
    QCOMPARE(connection->item(0, 11)->text(), QStringLiteral("Calibrated"));
    // The report finds the status picture by its path; the orientation's it does not.
    QCOMPARE(connection->item(0, 11)->data(Qt::UserRole).toString(), QStringLiteral(":/images/Resources/rgb 16.png"));
    QVERIFY(!connection->item(0, 11)->icon().isNull());
    QCOMPARE(connection->item(0, 6)->text(), QStringLiteral("Landscape"));
    QVERIFY(!connection->item(0, 6)->icon().isNull());
    QVERIFY(connection->item(0, 6)->data(Qt::UserRole).isNull());
    QCOMPARE(calibration->item(0, 11)->text(), QStringLiteral("Gains R=255, G=204, B=128"));
    // A display without a record: identity and status, an empty calibration row.
    QCOMPARE(connection->item(1, 11)->text(), QStringLiteral("Not verified"));
    QVERIFY(!connection->item(1, 4));
    for (int column = 0; column < calibration->columnCount(); ++column)
        QVERIFY(!calibration->item(1, column));
    // Two-line values get two lines.
    QVERIFY(calibration->rowHeight(0) > calibration->rowHeight(1));
}

void tst_information_dialog::tables_follow_changes()
{
    information_wall wall;
    KQ_Information_Dialog dialog;
    QTableWidget *connection = connection_table(dialog);
    // Several changes at once; the tables follow once events run.
    CAdjustValue record = calibrated_record();
    record.firmware_version = QStringLiteral("2.00");
    wall.wall().store_record(1, record, QStringLiteral("P555"), QStringLiteral("SN2"));
    wall.wall().controller().setTarget(CTargetValue());
    QTRY_VERIFY(connection->item(1, 4) && connection->item(1, 4)->text() == QStringLiteral("2.00"));

    QCOMPARE(wall.wall().layout().create_layout(3, 1, 1, 0, QStringLiteral("127.0.0.1"), display_layout_item::kLan,
                                                true, true, false, true, display_layout_item::kLandscape),
             0);
    QTRY_COMPARE(connection->rowCount(), 3);
    QTRY_COMPARE(calibration_table(dialog)->rowCount(), 3);
}

void tst_information_dialog::selection_follows_between_the_tables()
{
    information_wall wall;
    KQ_Information_Dialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *connection = connection_table(dialog);
    QTableWidget *calibration = calibration_table(dialog);

    dialog.selection_changed(1);
    QCOMPARE(connection->currentRow(), 1);
    QCOMPARE(calibration->selectionModel()->selectedRows().value(0).row(), 1);

    QSignalSpy out(&dialog, &KQ_Information_Dialog::selection_changed_out);
    const QRect cell = calibration->visualItemRect(calibration->item(0, 11));
    QTest::mouseClick(calibration->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(connection->selectionModel()->selectedRows().value(0).row(), 0);
    QVERIFY(out.size() >= calibration->columnCount());
    for (const QList<QVariant> &signal : out)
        QCOMPARE(signal.at(0).toInt(), 0);

    // The current row survives a refill.
    dialog.selection_changed(1);
    dialog.update_info();
    QCOMPARE(connection->selectionModel()->selectedRows().value(0).row(), 1);
}

void tst_information_dialog::diagnostics_button_needs_shift_data()
{
    QTest::addColumn<bool>("shift");
    QTest::newRow("plain") << false;
    QTest::newRow("shift held") << true;
}

void tst_information_dialog::diagnostics_button_needs_shift()
{
    QFETCH(bool, shift);
    information_wall wall;
    KQ_Information_Dialog dialog;
    QVERIFY(button(dialog, "save_diagnostics_pushButton")->isHidden());
    wall.hold_shift(shift);
    dialog.show();
    QCOMPARE(button(dialog, "save_diagnostics_pushButton")->isVisible(), shift);
    // The slot itself refuses without Shift.
    dialog.on_save_diagnostics_pushButton_clicked();
    QCOMPARE(wall.requests().size(), shift ? 1 : 0);
    dialog.hide();
    wall.hold_shift(false);
    dialog.show();
    QVERIFY(!button(dialog, "save_diagnostics_pushButton")->isVisible());
}

void tst_information_dialog::diagnostics_saved()
{
    information_wall wall;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wall.txt"));
    KQ_Information_Dialog dialog;
    wall.hold_shift(true);
    dialog.show();
    wall.answer_file_dialog(path);
    button(dialog, "save_diagnostics_pushButton")->click();
    QCOMPARE(wall.requests().size(), 1);
    const file_dialog_request &request = wall.requests().first();
    QCOMPARE(request.kind, file_dialog_request::save_file);
    QCOMPARE(request.parent, &dialog);
    QCOMPARE(request.caption, QStringLiteral("Save Diagnostics File Name"));
    QCOMPARE(request.directory, QString());
    QCOMPARE(request.filter, QStringLiteral("Text file (*.txt)"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Serial#: SN<1>\r\nMAC Address: "));

    // Cancel writes nothing and says nothing.
    button(dialog, "save_diagnostics_pushButton")->click();
    QCOMPARE(wall.requests().size(), 2);
}

void tst_information_dialog::failed_diagnostics_save_keeps_the_old_file()
{
    information_wall wall;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wall.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("kept\r\n");
    }
    KQ_Information_Dialog dialog;
    wall.hold_shift(true);
    dialog.show();
    wall.answer_file_dialog(path);
    QString message;
    answer_message_box(QMessageBox::Ok, &message);
    {
        file_size_limit full(16);
        QVERIFY(full.active());
        button(dialog, "save_diagnostics_pushButton")->click();
    }
    QCOMPARE(message, QStringLiteral("Error: Unable to save file."));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("kept\r\n"));
}

void tst_information_dialog::pdf_through_the_preview()
{
    information_wall wall;
    CPreferences &preferences = *wall.wall().controller().getPreferences();
    QTemporaryDir output;
    const QString file = output.filePath(QStringLiteral("summary.pdf"));
    const QStringList families = QFontDatabase().families();
    QVERIFY(!families.isEmpty());
    const QFont chosen(families.last(), 7);

    KQ_Information_Dialog dialog;
    dialog.show();
    bool previewed = false;
    when_modal_shows<QPrintPreviewDialog>([&](QPrintPreviewDialog *preview) {
        previewed = true;
        QPrinter *printer = preview->printer();
        QCOMPARE(printer->outputFormat(), QPrinter::PdfFormat);
        // A file in the documents folder, named after the report.
        QCOMPARE(printer->outputFileName(), common_documents_folder() + QStringLiteral("/Tessaline summary.pdf"));
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Landscape);
        QAction *font = tool_bar_action(*preview, QStringLiteral("Font"));
        QVERIFY(font);

        // A new font lays the open preview out again and is kept.
        int painted = 0;
        connect(preview, &QPrintPreviewDialog::paintRequested, [&painted] { ++painted; });
        when_modal_shows<QFontDialog>([&](QFontDialog *fonts) {
            fonts->setCurrentFont(chosen);
            fonts->accept();
        });
        font->trigger();
        QCOMPARE(preferences.GetFont().family(), chosen.family());
        QCOMPARE(preferences.GetFont().pointSize(), 7);
        QCOMPARE(dialog.reportDocument()->defaultFont().family(), chosen.family());
        QTRY_VERIFY(painted >= 1);

        // The preview's own print action asks for the PDF file in the
        // framework's print dialog.
        when_modal_shows<QPrintDialog>([&](QPrintDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(name);
            QCOMPARE(name->text(), printer->outputFileName());
            name->setText(file);
            dialog->accept();
        });
        QAction *print = tool_bar_action(*preview, QStringLiteral("Print"));
        QVERIFY(print);
        print->trigger();
    });
    button(dialog, "pdf_pushButton")->click();
    QVERIFY(previewed);
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));

    const QString text = run_tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    // Table cells wrap in the page's columns: the display texts are looked
    // for in pieces that stay on one line. "<beta" shows the markup of the
    // record's text was not taken for a tag.
    for (const QString &expected :
         {QStringLiteral("Display Physical Layout:"), QStringLiteral("#1 ID 1"), QStringLiteral("#2 ID 2"),
          QStringLiteral("P555"), QStringLiteral("SN<1"), QStringLiteral("<beta"), QStringLiteral("Connection Summary:"),
          QStringLiteral("Calibration Summary:"), QStringLiteral("R=255"), QStringLiteral("This summary generated by")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + text));
    const QString info = run_tool(QStringLiteral("pdfinfo"), {file});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());
}

void tst_information_dialog::report_words_stay_whole_data()
{
    QTest::addColumn<int>("point_size");
    QTest::newRow("default size") << 0;
    QTest::newRow("large") << 16;
    QTest::newRow("very large") << 28;
}

// Headers wrap at blanks and the font shrinks before a word of a header or
// a cell is broken across lines: each word is found whole in the PDF.
void tst_information_dialog::report_words_stay_whole()
{
    QFETCH(int, point_size);
    information_wall wall;
    QFont font;
    if (point_size > 0)
        font.setPointSize(point_size);
    wall.wall().controller().getPreferences()->SetFont(font);
    QTemporaryDir output;
    const QString file = output.filePath(QStringLiteral("words.pdf"));
    KQ_Information_Dialog dialog;
    dialog.show();
    when_modal_shows<QPrintPreviewDialog>([&](QPrintPreviewDialog *preview) {
        preview->printer()->setOutputFileName(file);
        dialog.printPreview(preview->printer());
        preview->close();
    });
    button(dialog, "pdf_pushButton")->click();
    // Compatibility forms: the PDF's fonts set "fi" as one ligature.
    const QString text = run_tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                             .normalized(QString::NormalizationForm_KC);
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList found_words = text.split(blanks, Qt::SkipEmptyParts);
    const QSet<QString> found(found_words.begin(), found_words.end());

    QStringList words;
    for (QTableWidget *table : {connection_table(dialog), calibration_table(dialog)}) {
        for (int column = 0; column < table->columnCount(); ++column) {
            words << table->horizontalHeaderItem(column)->text().normalized(QString::NormalizationForm_KC).split(blanks, Qt::SkipEmptyParts);
            for (int row = 0; row < table->rowCount(); ++row)
                if (QTableWidgetItem *item = table->item(row, column))
                    words << item->text().normalized(QString::NormalizationForm_KC).split(blanks, Qt::SkipEmptyParts);
        }
    }
    QVERIFY(words.size() > 20);
    for (const QString &word : words)
        QVERIFY2(found.contains(word), qPrintable(word + QStringLiteral(" is broken or missing\n---\n") + text));
}

void tst_information_dialog::print_preview_offers_no_file()
{
    information_wall wall;
    KQ_Information_Dialog dialog;
    bool previewed = false;
    when_modal_shows<QPrintPreviewDialog>([&](QPrintPreviewDialog *preview) {
        previewed = true;
        QVERIFY(preview->printer()->outputFileName().isEmpty());
        preview->reject();
    });
    button(dialog, "print_pushButton")->click();
    QVERIFY(previewed);
    QVERIFY(dialog.reportDocument()->toPlainText().contains(QStringLiteral("Connection Summary:")));
}

QTEST_MAIN(tst_information_dialog)
#include "tst_information_dialog.moc"
