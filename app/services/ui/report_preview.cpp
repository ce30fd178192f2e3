#include "app/services/ui/report_preview.h"

#include "app/services/folders.h"
#include "app/services/preferences.h"

#include <QAction>
#include <QFontDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

void run_report_preview(QWidget *parent, Qt::WindowFlags flags, bool pdf, QAction *font_action,
                        const std::function<void(QPrinter *)> &paint, QObject *relayout_sender,
                        const char *relayout_signal)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(common_documents_folder());
    }
    QPrintPreviewDialog preview(&printer, parent, flags);
    if (auto *tools = preview.findChild<QToolBar *>())
        tools->addAction(font_action);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, paint);
    if (auto *view = preview.findChild<QPrintPreviewWidget *>())
        QObject::connect(relayout_sender, relayout_signal, view, SLOT(updatePreview()));
    preview.exec();
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
