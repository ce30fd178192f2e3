#pragma once

#include <QDialog>
#include <QStringList>
#include <QTextDocument>

#include <memory>

class QAction;
class QPrinter;
class QShowEvent;
class QTableWidget;
class QTimer;
class color_calc_utils;
struct information_report_inputs;
struct summary_row;

namespace Ui {
class KQ_Information_DialogClass;
}

// The "Summary" tool window: one row per display of the wall in two
// read-only tables (how it is connected, what its calibration record says),
// the information report printed or saved as PDF, and, while Shift is held
// as it opens, the diagnostics file. One instance lives for the whole run;
// the tables refill on every change of the records, the layout or the
// target (changes arriving together give one refill), and the selected row
// follows the main window's selected display.
class KQ_Information_Dialog : public QDialog
{
    Q_OBJECT

public:
    // The report's two output modes.
    enum report_mode { kReportPdf = 1, kReportPrint = 2 };

    explicit KQ_Information_Dialog(QWidget *parent = nullptr);
    ~KQ_Information_Dialog() override;

    QTextDocument *reportDocument() { return &m_report; }
    // The report of the tables as they stand.
    QString report_html() const;
    // Sizes the shown dialog to show every row and column of both tables,
    // within the free area of its screen, and centres it there; each table
    // gets the share of the height its rows need.
    void fit_to_screen();

signals:
    void selection_changed_out(int row);
    void updatePreview();

public slots:
    void update_info();
    void selection_changed(int row);
    void printPreview(QPrinter *printer);
    void on_print_pushButton_clicked();
    void on_pdf_pushButton_clicked();
    void on_font_pushButton_clicked();
    void on_save_diagnostics_pushButton_clicked();
    void connection_summary_rowSelectionChanged();
    void calibration_summary_rowSelectionChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void request_update_info();
    void fill_row(int row, const summary_row &cells, int base_height);
    void show_report(report_mode mode);
    QString pdf_name() const;
    void follow_selection(QTableWidget *from, QTableWidget *to);

    std::unique_ptr<Ui::KQ_Information_DialogClass> m_ui;
    QTextDocument m_report;
    QStringList m_connectionHeaders;
    QStringList m_calibrationHeaders;
    int m_currentRow = 0;
    bool m_shiftHeld = false;
    QTimer *m_refillTimer = nullptr;
    QAction *m_fontAction = nullptr; // the report preview's Font action
    color_calc_utils *m_colourCalculations = nullptr;
};
