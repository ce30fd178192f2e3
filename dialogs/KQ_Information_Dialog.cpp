#include "dialogs/KQ_Information_Dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/color_calc_utils.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/held_keys.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/file_dialogs.h"
#include "app/services/ui/message_boxes.h"
#include "app/services/ui/report_preview.h"
#include "app/services/version_text.h"
#include "colour/CMonitorTracker.h"
#include "dialogs/diagnostics_file.h"
#include "dialogs/information_report.h"
#include "dialogs/information_summary.h"
#include "ui_KQ_Information_Dialog.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPrinter>
#include <QShowEvent>
#include <QTimer>
#include <QTableWidget>
#include <QStyle>
#include <QScreen>
#include <QBoxLayout>

namespace {

// An icon cell keeps its icon's resource path here for the report.
constexpr int kIconPathRole = Qt::UserRole;

CPreferences *preferences()
{
    return g_master ? g_master->getPreferences() : nullptr;
}

QFont report_font()
{
    const CPreferences *kept = preferences();
    return kept ? kept->GetFont() : QFont();
}

QTableWidgetItem *table_item(const summary_cell &cell)
{
    auto *item = new QTableWidgetItem(cell.text);
    if (!cell.icon.isEmpty()) {
        item->setIcon(QIcon(cell.icon));
        if (cell.icon_for_report)
            item->setData(kIconPathRole, cell.icon);
    }
    if (!cell.tooltip.isEmpty())
        item->setToolTip(cell.tooltip);
    return item;
}

template <size_t N>
void set_cells(QTableWidget *table, int row, const std::array<std::optional<summary_cell>, N> &cells)
{
    for (size_t column = 0; column < N; ++column) {
        if (cells[column])
            table->setItem(row, static_cast<int>(column), table_item(*cells[column]));
    }
}

void prepare_table(QTableWidget *table, const QStringList &headers)
{
    table->setRowCount(1);
    table->setCornerButtonEnabled(false);
    table->setColumnCount(headers.size());
    table->setHorizontalHeaderLabels(headers);
}

report_table table_contents(const QString &title, const QStringList &headers, const QTableWidget *table)
{
    report_table contents;
    contents.title = title;
    contents.headers = headers;
    contents.column_count = table->columnCount();
    for (int row = 0; row < table->rowCount(); ++row) {
        QVector<std::optional<report_cell>> cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            if (item)
                cells.append(report_cell{item->text(), item->data(kIconPathRole).toString()});
            else
                cells.append(std::nullopt);
        }
        contents.rows.append(cells);
    }
    return contents;
}

} // namespace

KQ_Information_Dialog::KQ_Information_Dialog(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::KQ_Information_DialogClass>()), m_refillTimer(new QTimer(this)),
      m_colourCalculations(new color_calc_utils(this))
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Tool);
    m_connectionHeaders = connection_summary_headers();
    m_calibrationHeaders = calibration_summary_headers();
    prepare_table(m_ui->connection_summary_tableWidget, m_connectionHeaders);
    prepare_table(m_ui->calibration_summary_tableWidget, m_calibrationHeaders);

    m_refillTimer->setSingleShot(true);
    m_refillTimer->setInterval(0);
    connect(m_refillTimer, &QTimer::timeout, this, &KQ_Information_Dialog::update_info);
    if (g_master) {
        connect(g_master->getMonitorTracker(), &CMonitorTracker::data_changed, this,
                &KQ_Information_Dialog::request_update_info);
        connect(g_master->getLayoutManager(), &layout_manager::layout_changed, this,
                &KQ_Information_Dialog::request_update_info);
        connect(g_master, &MasterControl::targetChanged, this, &KQ_Information_Dialog::request_update_info);
    }
    connect(m_ui->connection_summary_tableWidget, &QTableWidget::itemSelectionChanged, this,
            &KQ_Information_Dialog::connection_summary_rowSelectionChanged);
    connect(m_ui->calibration_summary_tableWidget, &QTableWidget::itemSelectionChanged, this,
            &KQ_Information_Dialog::calibration_summary_rowSelectionChanged);

    m_fontAction = new QAction(QIcon(QStringLiteral(":/images/Resources/fonts-icon 24.png")), tr("Font"), this);
    connect(m_fontAction, &QAction::triggered, this, &KQ_Information_Dialog::on_font_pushButton_clicked);

    m_report.setDefaultFont(report_font());
    m_ui->save_diagnostics_pushButton->hide();
    m_shiftHeld = false;
    update_info();
}

KQ_Information_Dialog::~KQ_Information_Dialog() = default;

void KQ_Information_Dialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_shiftHeld = held_keyboard_modifiers().testFlag(Qt::ShiftModifier);
    m_ui->save_diagnostics_pushButton->setVisible(m_shiftHeld);
    update_info();
}

namespace {

// What |table| needs to show all its cells, with room for its scroll bars.
QSize table_extent(const QTableWidget &table)
{
    const int frame = 2 * table.frameWidth();
    const int bar = table.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &table);
    const QHeaderView &rows = *table.verticalHeader();
    const QHeaderView &columns = *table.horizontalHeader();
    return QSize((rows.isVisible() ? rows.sizeHint().width() : 0) + columns.length() + frame + bar,
                 (columns.isVisible() ? columns.sizeHint().height() : 0) + rows.length() + frame + bar);
}

} // namespace

void KQ_Information_Dialog::fit_to_screen()
{
    const QScreen *shown_on = screen();
    auto *box = qobject_cast<QBoxLayout *>(layout());
    if (!shown_on || !box)
        return;
    QTableWidget *connection = m_ui->connection_summary_tableWidget;
    QTableWidget *calibration = m_ui->calibration_summary_tableWidget;
    const QSize first = table_extent(*connection);
    const QSize second = table_extent(*calibration);
    const QSize around = size() - QSize(qMax(connection->width(), calibration->width()),
                                        connection->height() + calibration->height());
    const QSize wanted(qMax(first.width(), second.width()) + around.width(),
                       first.height() + second.height() + around.height());
    const QRect available = shown_on->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    box->setStretchFactor(connection, first.height());
    box->setStretchFactor(calibration, second.height());
    resize(wanted.boundedTo(available.size() - frame).expandedTo(minimumSizeHint()));
    const QSize room = available.size() - frameGeometry().size();
    move(available.topLeft() + QPoint(room.width() / 2, room.height() / 2));
}

// A burst of changes (a job finishing on many displays) refills once.
void KQ_Information_Dialog::request_update_info()
{
    m_refillTimer->start();
}

void KQ_Information_Dialog::update_info()
{
    m_refillTimer->stop();
    if (!g_master)
        return;
    QTableWidget *connection = m_ui->connection_summary_tableWidget;
    QTableWidget *calibration = m_ui->calibration_summary_tableWidget;
    const QList<wall_display> displays =
        read_wall_displays(*g_master->getLayoutManager(), *g_master->getMonitorTracker());
    const int count = displays.size();
    if (connection->rowCount() != count)
        connection->setRowCount(count);
    if (calibration->rowCount() != count)
        calibration->setRowCount(count);
    const int baseHeight = count > 0 ? connection->rowHeight(0) : 0;
    connection->clearContents();
    calibration->clearContents();

    const CTargetValue target = g_master->getTarget();
    for (int row = 0; row < count; ++row) {
        display_max_luminance maximum;
        maximum.known = m_colourCalculations->calculate_display_max_luminance(row, target, maximum.luminance) == 0;
        fill_row(row, build_summary_row(displays.at(row), target, maximum), baseHeight);
    }
    connection->resizeColumnsToContents();
    calibration->resizeColumnsToContents();
    connection->selectRow(m_currentRow);
}

void KQ_Information_Dialog::fill_row(int row, const summary_row &cells, int base_height)
{
    set_cells(m_ui->connection_summary_tableWidget, row, cells.connection);
    set_cells(m_ui->calibration_summary_tableWidget, row, cells.calibration);
    if (base_height <= 0)
        return;
    const int height = cells.line_count < 2
        ? base_height
        : cells.line_count * fontMetrics().lineSpacing() + base_height - 1;
    m_ui->calibration_summary_tableWidget->setRowHeight(row, height);
}

void KQ_Information_Dialog::selection_changed(int row)
{
    m_currentRow = row;
    m_ui->connection_summary_tableWidget->selectRow(row);
}

void KQ_Information_Dialog::follow_selection(QTableWidget *from, QTableWidget *to)
{
    // One report per selected cell, as the main window has always been told.
    const QModelIndexList selected = from->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        to->selectRow(index.row());
        emit selection_changed_out(index.row());
    }
}

void KQ_Information_Dialog::connection_summary_rowSelectionChanged()
{
    follow_selection(m_ui->connection_summary_tableWidget, m_ui->calibration_summary_tableWidget);
}

void KQ_Information_Dialog::calibration_summary_rowSelectionChanged()
{
    follow_selection(m_ui->calibration_summary_tableWidget, m_ui->connection_summary_tableWidget);
}

QString KQ_Information_Dialog::report_html() const
{
    information_report_inputs inputs;
    if (g_master) {
        inputs.project_file_path = g_master->getProjectFilePath();
        layout_manager &layout = *g_master->getLayoutManager();
        layout.get_size(inputs.columns, inputs.rows);
        inputs.displays = read_wall_displays(layout, *g_master->getMonitorTracker());
    }
    inputs.connection = table_contents(m_ui->connection_summary_label->text(), m_connectionHeaders,
                                       m_ui->connection_summary_tableWidget);
    inputs.calibration = table_contents(m_ui->calibration_summary_label->text(), m_calibrationHeaders,
                                        m_ui->calibration_summary_tableWidget);
    inputs.application_name = string_resource(1);
    inputs.version = version_text();
    const QLocale system = QLocale::system();
    inputs.generated_at = system.toString(QDateTime::currentDateTime(), system.dateTimeFormat());
    return information_report_html(inputs, g_master ? g_master->getTarget() : CTargetValue());
}

void KQ_Information_Dialog::on_print_pushButton_clicked()
{
    show_report(kReportPrint);
}

void KQ_Information_Dialog::on_pdf_pushButton_clicked()
{
    show_report(kReportPdf);
}

void KQ_Information_Dialog::show_report(report_mode mode)
{
    m_report.setHtml(report_html());
    m_report.setDefaultFont(report_font());
    run_report_preview(this, Qt::Window, mode == kReportPdf ? pdf_name() : QString(), m_fontAction,
                       [this](QPrinter *printer) { printPreview(printer); }, this, SIGNAL(updatePreview()));
}

// The project's name where it has one.
QString KQ_Information_Dialog::pdf_name() const
{
    const QString project = g_master ? QFileInfo(g_master->getProjectFilePath()).completeBaseName() : QString();
    return project.isEmpty() ? tr("%1 summary").arg(string_resource(1)) : tr("%1 summary").arg(project);
}

void KQ_Information_Dialog::printPreview(QPrinter *printer)
{
    print_report(m_report, printer);
}

void KQ_Information_Dialog::on_font_pushButton_clicked()
{
    if (choose_report_font(this, m_report, preferences()))
        emit updatePreview();
}

void KQ_Information_Dialog::on_save_diagnostics_pushButton_clicked()
{
    if (!m_shiftHeld)
        return;
    const QString path = get_save_file_name(this, QStringLiteral("Save Diagnostics File Name"), QString(),
                                            QStringLiteral("Text file (*.txt)"));
    if (path.isEmpty())
        return;
    const int status = write_diagnostics_file(path);
    if (status != 0)
        show_error_message(this, status, false, false, false);
}
