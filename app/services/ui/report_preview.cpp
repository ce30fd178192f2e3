#include "app/services/ui/report_preview.h"

#include "app/services/folders.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolBar>

#include <memory>

// The resolution QTextDocument::print gives its page margins in.
Q_GUI_EXPORT int qt_defaultDpiX();

namespace {

// Smaller than this a printed report is no longer read comfortably; a word
// too long even then is broken after all.
constexpr qreal kSmallestReportPointSize = 5.0;
constexpr qreal kReportPointSizeStep = 0.5;

// A file in the documents folder, never the folder itself: a PDF written
// there would take the folder's place.
QString proposed_pdf_path(const QString &name)
{
    const QString folder = common_documents_folder();
    QDir().mkpath(folder);
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

bool written_since(const QString &path, const QDateTime &start)
{
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0 && file.lastModified() >= start.addSecs(-2);
}

void report_unwritten_pdf(QWidget *parent, const QString &path)
{
    QMessageBox::warning(parent, string_resource(string_id::kApplicationName),
                         QCoreApplication::translate("report_preview", "The PDF file could not be written:\n%1")
                             .arg(QDir::toNativeSeparators(path)));
}

bool is_word_character(const QString &text, int at)
{
    return at >= 0 && at < text.size() && !text.at(at).isSpace();
}

// True when a line of |block| ends inside a word.
bool breaks_a_word(const QTextBlock &block)
{
    const QTextLayout *layout = block.layout();
    const QString text = block.text();
    for (int i = 1; layout && i < layout->lineCount(); ++i) {
        const int start = layout->lineAt(i).textStart();
        if (is_word_character(text, start - 1) && is_word_character(text, start))
            return true;
    }
    return false;
}

// The document laid out as QTextDocument::print lays it out on |printer|.
std::unique_ptr<QTextDocument> printed_layout(const QTextDocument &document, QPrinter *printer, const QFont &font)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setDefaultFont(font);
    copy->documentLayout()->setPaintDevice(printer);
    // QTextDocument::print's margins: 2 cm.
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    const qreal margin = int((2 / 2.54) * qt_defaultDpiX());
    frame.setLeftMargin(margin);
    frame.setRightMargin(margin);
    frame.setTopMargin(margin);
    frame.setBottomMargin(margin);
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(QSizeF(printer->width(), printer->height()));
    copy->documentLayout()->documentSize();
    return copy;
}

bool any_word_broken(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (breaks_a_word(block))
            return true;
    return false;
}

} // namespace

void run_report_preview(QWidget *parent, Qt::WindowFlags flags, const QString &pdf_name, QAction *font_action,
                        const std::function<void(QPrinter *)> &paint, QObject *relayout_sender,
                        const char *relayout_signal)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool pdf = !pdf_name.isEmpty();
    if (pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(proposed_pdf_path(pdf_name));
    }
    QPrintPreviewDialog preview(&printer, parent, flags);
    if (auto *tools = preview.findChild<QToolBar *>())
        tools->addAction(font_action);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, paint);
    if (auto *view = preview.findChild<QPrintPreviewWidget *>())
        QObject::connect(relayout_sender, relayout_signal, view, SLOT(updatePreview()));
    const QDateTime start = QDateTime::currentDateTime();
    // The preview accepts once it has printed.
    if (preview.exec() != QDialog::Accepted || printer.outputFormat() != QPrinter::PdfFormat)
        return;
    if (!written_since(printer.outputFileName(), start))
        report_unwritten_pdf(parent, printer.outputFileName());
}

void print_report(const QTextDocument &document, QPrinter *printer)
{
    QFont font = document.defaultFont();
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(QFontInfo(font).pointSizeF());
    std::unique_ptr<QTextDocument> laid_out = printed_layout(document, printer, font);
    while (any_word_broken(*laid_out) && font.pointSizeF() - kReportPointSizeStep >= kSmallestReportPointSize) {
        font.setPointSizeF(font.pointSizeF() - kReportPointSizeStep);
        laid_out = printed_layout(document, printer, font);
    }
    std::unique_ptr<QTextDocument> printed(document.clone());
    printed->setDefaultFont(font);
    printed->print(printer);
}

bool choose_report_font(QWidget *parent, QTextDocument &document, CPreferences *preferences)
{
    bool chosen = false;
    const QFont font =
        QFontDialog::getFont(&chosen, preferences ? preferences->GetFont() : QFont(), parent, QString());
    if (!chosen)
        return false;
    document.setDefaultFont(font);
    if (preferences)
        preferences->SetFont(font);
    return true;
}
