#pragma once

#include "app/controller/display_layout_item.h"
#include "layout_setup/layout_wizard_page.h"

#include <QList>
#include <QTextDocument>

class QAction;
class QPrinter;
class QTextBrowser;

// The last page: the summary of the wall being configured, built from the
// answers and the builder's display list, which it can print or save as a
// PDF file through a print preview.
class SummaryPage : public layout_wizard_page
{
    Q_OBJECT

public:
    explicit SummaryPage(display_layout_wizard_advanced *wizard);

    // Fills the page's display list from the wizard's fields anew; 0.
    int build_layout_list();
    const QList<display_layout_item> &layoutList() const { return m_layout; }

    // The summary's HTML, with the footer when |printed|. Where the displays'
    // Auto ID hands out the monitor IDs it first sets the first ID to 1;
    // then it builds the display list.
    QString generate_summary(bool printed);

    QTextBrowser *summaryView() const { return m_view; }
    // What printing and the preview render.
    QTextDocument *summaryDocument() { return &m_document; }

    void initializePage() override;
    void setVisible(bool visible) override;

public slots:
    void printButtonClicked(int selection);
    void printPreview(QPrinter *printer);
    void on_font_pushButton_clicked();

signals:
    void updatePreview();

private:
    QTextBrowser *m_view;
    QList<display_layout_item> m_layout;
    QTextDocument m_document;
    QAction *m_fontAction; // the preview's Font action
};
