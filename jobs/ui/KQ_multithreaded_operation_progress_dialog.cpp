#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include "ui_KQ_multithreaded_operation_progress_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "app/services/string_resource.h"
#include "app/services/ui/voice_prompts.h"
#include "colour/luminance_units.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_task_type.h"
#include "jobs/operation_progress_rules.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidgetItem>

#include <algorithm>

namespace {

enum column { kNumberColumn, kPortColumn, kIdColumn, kProgressColumn, kStatusColumn, kColumnCount };

constexpr int kCloseDelayMs = 3000;
constexpr int kFirstStepPicture = 15;       // communication check
constexpr int kErrorString = 1102;
constexpr int kCancelledString = 1103;
constexpr int kCancellingString = 199;
constexpr int kRemoveSensorString = 1101;
constexpr int kRemoveSensorSpokenString = 1105;
const QColor kBlackLevelColour(92, 92, 92);
const QColor kBlackLevelOuterColour(64, 64, 64);
const QColor kWhiteLevelColour(237, 237, 237);
const QColor kWhiteLevelOuterColour(172, 172, 172);

layout_manager *program_layout()
{
    return g_master ? g_master->getLayoutManager() : nullptr;
}

QueryThreadPool *program_pool()
{
    return g_master ? g_master->getQueryThreadPool() : nullptr;
}

bool spoken_prompts_chosen()
{
    const CPreferences *preferences = shell_registry::preferences();
    return preferences && preferences->GetUseTextToSpeechEngine();
}

// Says |text| when the operator chose spoken prompts and the engine takes
// it; plays the recorded |prompt| otherwise.
void say_or_play(const QString &text, int prompt)
{
    if (spoken_prompts_chosen() && speak_text(text) == 0)
        return;
    play_voice_prompt(prompt);
}

QTableWidgetItem *centred_item(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

KQ_multithreaded_operation_progress_dialog::KQ_multithreaded_operation_progress_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_multithreaded_operation_progress_dialogClass>()),
      m_handler(program_pool(), nullptr),
      m_summaries([this](int position) { deliver_summary(position); })
{
    ui->setupUi(this);
    ui->retry_pushButton->setEnabled(false);
    ui->instruction_label->clear();
    ui->calibration_information_groupBox->hide();
    ui->overall_progress_label->hide();
    ui->overall_progress_value_label->hide();
    ui->operation_step_widget->hide();

    connect(&m_handler, &job_handler::out_num_pending_jobs, this,
            &KQ_multithreaded_operation_progress_dialog::num_pending_jobs);
    connect(&m_handler, &job_handler::out_num_jobs_running, this,
            &KQ_multithreaded_operation_progress_dialog::num_jobs_running);
    connect(&m_handler, &job_handler::out_job_results, this, &KQ_multithreaded_operation_progress_dialog::job_results);
    connect(&m_handler, &job_handler::update_display_job_status_info_item, this,
            [this](int position) { m_summaries.request(position); });
    connect(&m_handler, &job_handler::update_calibration_job_status_info, this,
            &KQ_multithreaded_operation_progress_dialog::update_calibration_job_status_info);
    if (layout_manager *layout = program_layout())
        connect(this, &KQ_multithreaded_operation_progress_dialog::update_display_model_info_status_item, layout,
                &layout_manager::update_display_model_info_status_item);

    ui->job_tableWidget->setColumnCount(kColumnCount);
    ui->job_tableWidget->setHorizontalHeaderLabels({
        QCoreApplication::translate("operation progress header", "#"),
        QCoreApplication::translate("operation progress header", "Port"),
        QCoreApplication::translate("operation progress header", "ID"),
        QCoreApplication::translate("operation progress header", "Progress"),
        QCoreApplication::translate("operation progress header", "Operation"),
    });
    ui->job_tableWidget->horizontalHeader()->setStretchLastSection(true);
    // A row or a prompt that takes a second line of text must not push the
    // last rows out of sight; the range counts the pixels that do not show.
    ui->job_tableWidget->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(ui->job_tableWidget->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int most) {
        if (most > 0 && isVisible())
            show_every_row();
    });

    ui->black_level_widget->set_bar_graident_color(kBlackLevelColour, kBlackLevelOuterColour);
    ui->white_level_widget->set_bar_graident_color(kWhiteLevelColour, kWhiteLevelOuterColour);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ui->cancel_jobs_pushButton->setEnabled(false);
    ui->operation_step_widget->set_calibration_task(kFirstStepPicture);

    m_close_timer.setSingleShot(true);
    m_close_timer.setInterval(wait_service::timer_interval_ms(kCloseDelayMs));
    connect(&m_close_timer, &QTimer::timeout, this, &QDialog::accept);

    if (layout_manager *layout = program_layout())
        layout->reset_all_display_job_status_info_item();
}

KQ_multithreaded_operation_progress_dialog::~KQ_multithreaded_operation_progress_dialog() = default;

int KQ_multithreaded_operation_progress_dialog::next_job_id() const
{
    return g_master ? g_master->nextOperationId() : 0;
}

// --- the opener's side ----------------------------------------------------------

int KQ_multithreaded_operation_progress_dialog::add_job(job_list_item job_template, QList<int> positions,
                                                         QString title)
{
    if (!title.isEmpty())
        m_operation_title = title;
    m_sensor_jobs = uses_colour_sensor(job_template);
    if (job_template.has_task(JOB_TASK_MEASURE_PRIMARIES))
        ui->operation_step_widget->show();
    if (job_template.has_task(JOB_TASK_CALIBRATE)) {
        ui->calibration_information_groupBox->setEnabled(false);
        ui->calibration_information_groupBox->show();
        ui->operation_step_widget->show();
    }
    layout_manager *layout = program_layout();
    if (!layout)
        return 0;
    const QList<job_list_item> jobs =
        expand_job_template(job_template, positions, *layout, [this] { return next_job_id(); });
    if (m_sensor_jobs && !jobs.isEmpty())
        m_last_sensor_position = jobs.last().position;
    m_jobs << jobs;
    if (job_template.has_task(JOB_TASK_CHECK_CAPABILITIES)) {
        for (const job_list_item &job : jobs) {
            display_layout_item display;
            if (layout->get_item(job.position, display) != 0)
                continue;
            display.verify_status = display_layout_item::kNotVerified;
            layout->set_item(job.position, display, true);
        }
    }
    return 0;
}

void KQ_multithreaded_operation_progress_dialog::set_close_immediately(bool immediately)
{
    m_close_immediately = immediately;
}

int KQ_multithreaded_operation_progress_dialog::start_jobs()
{
    if (m_jobs.isEmpty())
        return -1;
    ui->cancel_jobs_pushButton->setEnabled(true);
    ui->close_pushButton->setEnabled(false);
    const QList<job_list_item> jobs = m_jobs;
    m_jobs.clear();
    m_handler.add_jobs(jobs);
    if (!m_operation_title.isEmpty()) {
        const bool dark = palette().color(QPalette::Window).lightnessF() < 0.5;
        ui->instruction_label->setText((dark ? QStringLiteral("<font color=WHITE size=15>")
                                             : QStringLiteral("<font color=BLACK size=15>"))
                                       + m_operation_title + QStringLiteral("</font>"));
    }
    if (jobs.size() > 1) {
        ui->overall_progress_label->show();
        ui->overall_progress_value_label->show();
    }
    for (const job_list_item &job : jobs) {
        int row = row_of(job.position);
        if (row < 0)
            row = append_row(job);
        m_summaries.flush(job.position);
        set_status(row, tr("Queued"), palette().color(QPalette::Text));
        progress_bar(row)->setValue(0);
    }
    return 0;
}

QList<job_list_item> KQ_multithreaded_operation_progress_dialog::get_job_results() const
{
    QList<job_list_item> sorted = m_results;
    std::stable_sort(sorted.begin(), sorted.end(), job_id_less);
    return sorted;
}

void KQ_multithreaded_operation_progress_dialog::get_job_results(QList<job_list_item> &results) const
{
    results = get_job_results();
}

// --- the table --------------------------------------------------------------------

int KQ_multithreaded_operation_progress_dialog::row_of(int position) const
{
    for (int row = 0; row < ui->job_tableWidget->rowCount(); ++row) {
        const QTableWidgetItem *item = ui->job_tableWidget->item(row, kNumberColumn);
        if (item && item->data(Qt::UserRole).toInt() == position)
            return row;
    }
    return -1;
}

int KQ_multithreaded_operation_progress_dialog::append_row(const job_list_item &job)
{
    QTableWidget *table = ui->job_tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    QTableWidgetItem *number = centred_item(QString::number(job.position + 1));
    number->setData(Qt::UserRole, job.position);
    table->setItem(row, kNumberColumn, number);
    table->setItem(row, kPortColumn, centred_item(job.connection_key));
    table->setItem(row, kIdColumn, centred_item(QString::number(job.monitor_id)));
    table->setCellWidget(row, kProgressColumn, new QProgressBar());
    table->setItem(row, kStatusColumn, new QTableWidgetItem());
    return row;
}

QProgressBar *KQ_multithreaded_operation_progress_dialog::progress_bar(int row) const
{
    return qobject_cast<QProgressBar *>(ui->job_tableWidget->cellWidget(row, kProgressColumn));
}

void KQ_multithreaded_operation_progress_dialog::set_status(int row, const QString &text, const QColor &colour)
{
    QTableWidgetItem *item = ui->job_tableWidget->item(row, kStatusColumn);
    item->setText(text);
    item->setForeground(colour);
}

void KQ_multithreaded_operation_progress_dialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    for (int column = kNumberColumn; column <= kProgressColumn; ++column)
        ui->job_tableWidget->resizeColumnToContents(column);
    ui->job_tableWidget->resizeRowsToContents();
    show_every_row();
}

// Taller, as far as the screen's free height allows, until every job row
// shows; still inside the screen.
void KQ_multithreaded_operation_progress_dialog::show_every_row()
{
    const QScreen *shown_on = screen();
    if (!shown_on)
        return;
    const QRect available = shown_on->availableGeometry();
    const QTableWidget *table = ui->job_tableWidget;
    const int missing = table->verticalHeader()->length() - table->viewport()->height();
    const int frame = frameGeometry().height() - height();
    if (missing > 0)
        resize(width(), qMin(height() + missing, available.height() - frame));
    // Moved only when it must be: a dialog not yet placed is still centred
    // over its parent when it shows.
    QRect placed = frameGeometry();
    placed.moveBottom(qMin(placed.bottom(), available.bottom()));
    placed.moveTop(qMax(placed.top(), available.top()));
    if (placed.topLeft() != frameGeometry().topLeft())
        move(placed.topLeft());
}

// --- reports of the jobs -------------------------------------------------------------

void KQ_multithreaded_operation_progress_dialog::num_pending_jobs(int count)
{
    m_num_pending = count;
    refresh_counts();
}

void KQ_multithreaded_operation_progress_dialog::num_jobs_running(int count)
{
    m_num_running = count;
    refresh_counts();
}

void KQ_multithreaded_operation_progress_dialog::refresh_counts()
{
    ui->overall_progress_value_label->setText(
        completed_count_text(m_results.size(), m_num_errors, m_num_running, m_num_pending));
    if (m_num_running != 0 || m_num_pending != 0)
        return;
    ui->cancel_jobs_pushButton->setEnabled(false);
    ui->close_pushButton->setEnabled(true);
    if (m_num_errors != 0)
        return;
    if (m_close_immediately)
        accept();
    else if (!m_close_timer.isActive())
        m_close_timer.start();
}

void KQ_multithreaded_operation_progress_dialog::job_results(job_list_item job)
{
    // The job's last summary shows before its result.
    m_summaries.flush(job.position);
    if (job.job_parameters.verify_status != -1)
        emit update_display_model_info_status_item(job.position, job.job_parameters.model_name,
                                                   job.job_parameters.serial_number,
                                                   job.job_parameters.verify_status);
    m_results << job;
    if (job_failed(job))
        show_error(job);
    else
        queue_follow_up(job);
    refresh_retry();
}

void KQ_multithreaded_operation_progress_dialog::show_error(const job_list_item &job)
{
    const QString message = job_error_message(job);
    const bool cancelled = is_stopped_or_cancelled(job.effective_result());
    ++m_num_errors;
    ui->instruction_label->setText(string_resource(cancelled ? kCancelledString : kErrorString));
    const int row = row_of(job.position);
    if (row >= 0) {
        set_status(row, message, Qt::red);
        ui->job_tableWidget->item(row, kStatusColumn)->setToolTip(message);
        ui->job_tableWidget->selectRow(row);
        ui->job_tableWidget->scrollToItem(ui->job_tableWidget->item(row, kStatusColumn));
        ui->job_tableWidget->resizeRowToContents(row);
    }
    if (m_error_announced)
        return;
    m_error_announced = true;
    if (m_sensor_jobs && !cancelled)
        announce_error();
}

void KQ_multithreaded_operation_progress_dialog::announce_error()
{
    say_or_play(QCoreApplication::translate("text to speech", "An error has occurred"), kVoicePromptError);
}

void KQ_multithreaded_operation_progress_dialog::queue_follow_up(const job_list_item &job)
{
    job_list_item follow_up;
    if (!make_follow_up_lut_job(job, next_job_id(), follow_up))
        return;
    m_jobs << follow_up;
    start_jobs();
}

void KQ_multithreaded_operation_progress_dialog::deliver_summary(int position)
{
    const display_job_status_info_item item = m_handler.display_status(position);
    update_display_job_status_info_item(position, item);
    if (layout_manager *layout = program_layout())
        layout->update_display_job_status_info_item(position, item);
}

void KQ_multithreaded_operation_progress_dialog::update_display_job_status_info_item(
    int position, display_job_status_info_item item)
{
    const int row = row_of(position);
    if (row < 0)
        return;
    const progress_bar_value bar = display_progress(item);
    QProgressBar *progress = progress_bar(row);
    if (progress->maximum() != bar.maximum)
        progress->setMaximum(bar.maximum);
    progress->setValue(bar.value);
    QTableWidgetItem *status = ui->job_tableWidget->item(row, kStatusColumn);
    const QString text = display_status_text(item);
    if (status->text() == text)
        return;
    status->setText(text);
    // Only this row's text changed; resizing every row on every report would
    // stall the user-interface thread on a large wall.
    ui->job_tableWidget->resizeRowToContents(row);
}

void KQ_multithreaded_operation_progress_dialog::update_calibration_job_status_info(
    int, calibration_job_status_info_item item)
{
    switch (item.kind) {
    case CAL_STATUS_TASK:
        ui->operation_step_widget->set_calibration_task(item.value);
        break;
    case CAL_STATUS_INSTRUCTION:
        ui->instruction_label->setText(item.text);
        break;
    case CAL_STATUS_AUDIO:
        say_or_play(item.text, item.value);
        break;
    case CAL_STATUS_WAIT:
        ui->operation_step_widget->set_wait_time(item.value / 1000);
        break;
    case CAL_STATUS_MISC:
        if (item.value == CAL_MISC_SENSOR_MAY_BE_REMOVED && item.position == m_last_sensor_position)
            remove_sensor_prompt();
        break;
    case CAL_STATUS_WHITE_POINT_TARGET:
        ui->calibration_information_groupBox->setEnabled(true);
        ui->xy_widget->SetTarget_xy(item.d1, item.d2);
        break;
    case CAL_STATUS_WHITE_POINT_MEASURED:
        ui->white_level_widget->set_value(item.d3);
        ui->white_level_label->setText(item.d3 >= 0 ? to_display_luminance_text(item.d3, 1, true) : QString());
        ui->xy_widget->SetMeasured_xy(item.d1, item.d2);
        ui->xy_label->setText(item.d1 > 0 ? QStringLiteral("(%L1,%L2)").arg(item.d1, 0, 'f', 3).arg(item.d2, 0, 'f', 3)
                                          : QString());
        break;
    case CAL_STATUS_WHITE_LEVEL_TARGET:
        ui->calibration_information_groupBox->setEnabled(true);
        ui->white_level_widget->set_target_level(item.d1);
        break;
    case CAL_STATUS_WHITE_LEVEL_TARGET_MIN_MAX:
        ui->white_level_widget->set_value_min_max(item.d1, item.d2);
        break;
    case CAL_STATUS_SHOW_WHITE_LEVEL_TARGET:
        ui->white_level_widget->show_target_level(item.value != 0);
        break;
    case CAL_STATUS_BLACK_LEVEL_MEASURED:
        ui->black_level_widget->set_value(item.d1);
        ui->black_level_label->setText(item.d1 >= 0 ? to_display_luminance_text(item.d1, 2, true) : QString());
        break;
    case CAL_STATUS_BLACK_LEVEL_TARGET_MIN_MAX:
        ui->black_level_widget->set_value_min_max(item.d1, item.d2);
        break;
    default:
        break;
    }
}

void KQ_multithreaded_operation_progress_dialog::remove_sensor_prompt()
{
    say_or_play(string_resource(kRemoveSensorSpokenString), kVoicePromptRemoveSensor);
    ui->instruction_label->setText(string_resource(kRemoveSensorString));
}

// --- the buttons ------------------------------------------------------------------------

void KQ_multithreaded_operation_progress_dialog::on_job_tableWidget_itemSelectionChanged()
{
    refresh_retry();
}

void KQ_multithreaded_operation_progress_dialog::refresh_retry()
{
    QTableWidget *table = ui->job_tableWidget;
    bool retry = false;
    for (int row = 0; row < table->rowCount(); ++row) {
        const int position = table->item(row, kNumberColumn)->data(Qt::UserRole).toInt();
        const bool selected = table->item(row, kNumberColumn)->isSelected();
        bool newest_seen = false;
        for (auto it = m_results.crbegin(); it != m_results.crend(); ++it) {
            if (it->position != position)
                continue;
            if (!newest_seen) {
                progress_bar(row)->setEnabled(it->job_parameters.error_code == 0);
                newest_seen = true;
            }
            if (selected && can_retry(*it))
                retry = true;
        }
    }
    ui->retry_pushButton->setEnabled(retry);
}

void KQ_multithreaded_operation_progress_dialog::on_retry_pushButton_clicked()
{
    QTableWidget *table = ui->job_tableWidget;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!table->item(row, kNumberColumn)->isSelected())
            continue;
        const int position = table->item(row, kNumberColumn)->data(Qt::UserRole).toInt();
        for (int i = m_results.size() - 1; i >= 0; --i) {
            const job_list_item &failed = m_results.at(i);
            if (failed.position != position || !can_retry(failed))
                continue;
            if (failed.has_task(JOB_TASK_MEASURE_PRIMARIES) || failed.has_task(JOB_TASK_CALIBRATE))
                m_last_sensor_position = position;
            m_jobs << retry_job(failed, next_job_id());
            set_status(row, tr("Retrying..."), palette().color(QPalette::Text));
            progress_bar(row)->setEnabled(true);
            m_results.removeAt(i);
            --m_num_errors;
        }
    }
    if (m_jobs.isEmpty())
        return;
    m_error_announced = false;
    start_jobs();
    refresh_retry();
}

void KQ_multithreaded_operation_progress_dialog::on_cancel_jobs_pushButton_clicked()
{
    reject();
}

void KQ_multithreaded_operation_progress_dialog::reject()
{
    if (m_num_running == 0 && m_num_pending == 0) {
        QDialog::reject();
        return;
    }
    m_handler.stop_all_jobs(true);
    ui->instruction_label->setText(string_resource(kCancellingString));
    ui->cancel_jobs_pushButton->setEnabled(false);
}

void KQ_multithreaded_operation_progress_dialog::on_close_pushButton_clicked()
{
    accept();
}
