#include "dialogs/KQ_update_factory_color_calibration_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "dialogs/engine_procedure_jobs.h"
#include "dialogs/factory_calibration_status.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"
#include "dialogs/suppressible_confirmation.h"
#include "jobs/ui/run_job_set.h"
#include "ui_KQ_update_factory_color_calibration_dialog.h"

#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>

namespace {

constexpr int kResetMessage = 5;
constexpr int kUpdateMessage = 7;
constexpr int kConfirmResetText = 732;
constexpr int kConfirmUpdateText = 733;
constexpr int kMostVisibleRows = 9;
enum column { kDisplayColumn, kStatusColumn, kDateColumn, kSensorModelColumn, kSensorSerialColumn, kColumnCount };

QTableWidgetItem *centred_item(const QString &text, const QVariant &data = QVariant())
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    if (data.isValid())
        item->setData(Qt::UserRole, data);
    return item;
}

QList<int> eligible_displays()
{
    return g_master->getLayoutManager()->get_display_indexes_with_record_flag(false, true);
}

} // namespace

KQ_update_factory_color_calibration_dialog::KQ_update_factory_color_calibration_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_update_factory_color_calibration_dialogClass>()),
      m_sensor(guarded_sensor::active())
{
    ui->setupUi(this);
    setWindowFlags(Qt::WindowTitleHint);
    ui->status_tableWidget->setColumnCount(kColumnCount);
    ui->status_tableWidget->setHorizontalHeaderLabels({tr("Display #"), tr("Status"), tr("Date/Time"),
                                                       tr("Color Sensor Model"), tr("Color Sensor Serial #")});
    if (update_status_table() != 0)
        read_histories();
    fit_table();
}

KQ_update_factory_color_calibration_dialog::~KQ_update_factory_color_calibration_dialog() = default;

int KQ_update_factory_color_calibration_dialog::update_status_table()
{
    const QList<factory_status_row> rows =
        factory_status_rows(*g_master->getLayoutManager(), *g_master->getMonitorTracker());
    QTableWidget *table = ui->status_tableWidget;
    table->setRowCount(rows.size());
    int undetermined = 0;
    for (int r = 0; r < rows.size(); ++r) {
        const factory_status_row &row = rows.at(r);
        table->setItem(r, kDisplayColumn, centred_item(QString::number(row.index + 1), row.index));
        table->setItem(r, kStatusColumn, centred_item(row.status, row.code));
        const QLocale system = QLocale::system();
        table->setItem(r, kDateColumn,
                       centred_item(row.has_entry ? system.toString(row.entry.date_time, QLocale::ShortFormat)
                                                  : QString()));
        table->setItem(r, kSensorModelColumn, centred_item(row.has_entry ? row.entry.sensor_model : QString()));
        table->setItem(r, kSensorSerialColumn, centred_item(row.has_entry ? row.entry.sensor_serial : QString()));
        undetermined = undetermined || row.undetermined ? 1 : 0;
    }
    table->horizontalHeader()->setStretchLastSection(false);
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    on_status_tableWidget_itemSelectionChanged();
    return undetermined;
}

QList<int> KQ_update_factory_color_calibration_dialog::selected_display_indexes() const
{
    QList<int> indexes;
    const QTableWidget *table = ui->status_tableWidget;
    for (const QModelIndex &selected : table->selectionModel()->selectedRows(kDisplayColumn)) {
        const QTableWidgetItem *display = table->item(selected.row(), kDisplayColumn);
        const QTableWidgetItem *status = table->item(selected.row(), kStatusColumn);
        if (display && status && status->data(Qt::UserRole).toInt() != factory_status_row::kNotEligible)
            indexes << display->data(Qt::UserRole).toInt();
    }
    return indexes;
}

void KQ_update_factory_color_calibration_dialog::fit_table()
{
    QTableWidget *table = ui->status_tableWidget;
    const int visible = qMin(table->rowCount(), kMostVisibleRows);
    int height = table->horizontalHeader()->height();
    for (int r = 0; r < visible; ++r)
        height += table->rowHeight(r) + 2;
    table->setMinimumHeight(height + 2);
    int width = 0;
    for (int c = 0; c < table->columnCount(); ++c)
        width += table->columnWidth(c) + 2;
    if (table->rowCount() > kMostVisibleRows)
        width += table->verticalScrollBar()->sizeHint().width();
    table->setMinimumWidth(width);
}

void KQ_update_factory_color_calibration_dialog::run_jobs(const job_list_item &job, const QList<int> &positions,
                                                          const QString &title)
{
    run_job_set({job, positions, title});
    update_status_table();
}

void KQ_update_factory_color_calibration_dialog::read_histories()
{
    run_jobs(history_read_job(), eligible_displays(), tr("Reading Calibration History"));
}

void KQ_update_factory_color_calibration_dialog::on_done_pushButton_clicked()
{
    accept();
}

void KQ_update_factory_color_calibration_dialog::on_status_tableWidget_itemSelectionChanged()
{
    const bool any = !selected_display_indexes().isEmpty();
    ui->update_calibration_pushButton->setEnabled(any && !m_sensor.isNull());
    ui->reset_to_factory_pushButton->setEnabled(any);
}

void KQ_update_factory_color_calibration_dialog::on_refresh_pushButton_clicked()
{
    const QList<int> eligible = eligible_displays();
    if (eligible.isEmpty())
        update_status_table();
    else
        run_jobs(history_read_job(), eligible, tr("Reading Calibration History"));
}

void KQ_update_factory_color_calibration_dialog::on_reset_to_factory_pushButton_clicked()
{
    const QList<int> selected = selected_display_indexes();
    if (selected.isEmpty() || !confirm_unless_suppressed(this, kResetMessage, kConfirmResetText))
        return;
    run_jobs(factory_reset_job(), selected, tr("Resetting to Factory Calibration"));
}

void KQ_update_factory_color_calibration_dialog::on_update_calibration_pushButton_clicked()
{
    const QList<int> selected = selected_display_indexes();
    if (selected.isEmpty() || !confirm_unless_suppressed(this, kUpdateMessage, kConfirmUpdateText))
        return;
    if (m_sensor.isNull() || run_color_sensor_setup_dialog(false, false, this) != 0)
        return;
    show_sensor_placement_hint(this);
    const CPreferences *preferences = g_master->getPreferences();
    run_jobs(colour_update_job(preferences && preferences->GetAutoSetRealTimeClock()), selected,
             tr("Updating Factory Calibration"));
}
