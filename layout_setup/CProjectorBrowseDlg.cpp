#include "layout_setup/CProjectorBrowseDlg.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/ui/message_boxes.h"
#include "display_protocol/NetworkInterfaceCard.h"
#include "display_protocol/PJSearchUdp.h"
#include "display_protocol/wait_service.h"
#include "layout_setup/program_network_interfaces.h"
#include "layout_setup/projector_browse_rules.h"
#include "layout_setup/projector_identify.h"
#include "ui_CProjectorBrowseDlg.h"

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QProgressDialog>
#include <QTableWidgetItem>

namespace {

constexpr int kRepeatSearch = 2;
constexpr int kProgressMinimumMs = 10;
const char *const kWarningIcon = ":/images/Resources/alerts_yellow_icon_20.png";

int &search_ticks()
{
    static int ticks = 0;
    return ticks;
}

QTableWidgetItem *table_item(const QString &text, bool marked, const QString &tooltip)
{
    auto *item = new QTableWidgetItem(text);
    if (marked) {
        item->setIcon(QIcon(QString::fromLatin1(kWarningIcon)));
        item->setToolTip(tooltip);
    }
    return item;
}

} // namespace

CProjectorBrowseDlg::CProjectorBrowseDlg(QWidget *parent, int mode)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint), ui(std::make_unique<Ui::CProjectorBrowseDlg>()),
      m_mode(mode)
{
    ui->setupUi(this);
    const bool projectors = mode == kProjectors;
    setWindowTitle(projectors ? tr("Browse for Varkel projector") : tr("Search for Varkel large-screen display"));
    ui->tableWidget->setHorizontalHeaderLabels(
        {tr("IP Address"), projectors ? tr("Projector Name") : tr("Monitor Name")});
    ui->tableWidget->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->tableWidget->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(ui->tableWidget, &QTableWidget::cellDoubleClicked, this, &CProjectorBrowseDlg::tableItemClicked);

    NetworkInterfaceCard &cards = program_network_interfaces();
    cards.enumerate();
    for (int i = 0; i < cards.count(); ++i) {
        QString name;
        if (cards.name_at(i, name))
            ui->comboBoxNic->addItem(name);
    }

    m_pollTimer.setInterval(wait_service::timer_interval_ms(kPollMs));
    connect(&m_pollTimer, &QTimer::timeout, this, &CProjectorBrowseDlg::OnPJSearchTimerTimeout);
    ui->ok_pushButton->setEnabled(false);
    connect(ui->tableWidget, &QTableWidget::itemSelectionChanged, this, &CProjectorBrowseDlg::tableSelectionChanged);
    ui->tableWidget->sortByColumn(0, Qt::AscendingOrder);

    if (cards.count() == 1)
        QTimer::singleShot(wait_service::timer_interval_ms(kAutoStartMs), this,
                           &CProjectorBrowseDlg::on_networkPJEnumBtn_clicked);
}

CProjectorBrowseDlg::~CProjectorBrowseDlg() = default;

void CProjectorBrowseDlg::SetUsedIPAddresses(const QStringList &addresses)
{
    m_usedAddresses = addresses;
}

void CProjectorBrowseDlg::SetExistingDisplays(const QStringList &mac_addresses)
{
    m_existingDisplays = mac_addresses;
}

QString CProjectorBrowseDlg::GetSelectedIPAddress() const
{
    QString address;
    for (const QTableWidgetItem *item : ui->tableWidget->selectedItems()) {
        if (item->column() == 0)
            address = item->text();
    }
    return address;
}

void CProjectorBrowseDlg::reset_search_ticks_for_tests()
{
    search_ticks() = 0;
}

void CProjectorBrowseDlg::on_networkPJEnumBtn_clicked()
{
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    m_rowCount = 0;
    const QList<QHostAddress> targets = search_targets(program_network_interfaces(), ui->comboBoxNic->currentIndex());
    if (!m_search)
        m_search = new PJSearchUdp(this, m_mode, targets);
    else
        m_search->set_addresses(targets);
    const bool started = m_search->is_searching() || m_search->search(kRepeatSearch) != 0;
    if (started) {
        ui->networkPJEnumBtn->setEnabled(false);
        open_progress();
    }
    // Also after a failed start: the next tick puts the buttons back.
    m_pollTimer.start();
}

void CProjectorBrowseDlg::open_progress()
{
    const QString label =
        m_mode == kProjectors ? tr("Searching for projectors...") : tr("Searching for large-screen displays...");
    m_progress = new QProgressDialog(label, QString(), 0, 0, this,
                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_progress->setWindowTitle(tr("Network Enumeration"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(kProgressMinimumMs);
    m_progress->setAutoReset(true);
    m_progress->setCancelButton(nullptr);
    m_progress->show();
}

void CProjectorBrowseDlg::OnPJSearchTimerTimeout()
{
    if (m_progress)
        m_progress->setValue(m_progress->value() + 1);
    const bool searching = m_search && m_search->is_searching();
    const search_poll poll = poll_search(searching, search_ticks());
    if (poll.stop)
        m_search->stop();
    if (poll.show_results)
        show_results();
    update_buttons();
}

void CProjectorBrowseDlg::show_results()
{
    if (!ui->networkPJEnumBtn->isEnabled())
        ui->networkPJEnumBtn->setEnabled(true);
    m_pollTimer.stop();
    ui->tableWidget->setSortingEnabled(false);
    QList<PJSearchResult> results;
    PJSearchResult result;
    for (int i = 0; m_search && i < m_search->result_count(); ++i) {
        if (m_search->result_at(i, result))
            results.append(result);
    }
    for (const browse_row &row : browse_rows(results, m_usedAddresses, m_existingDisplays)) {
        ui->tableWidget->insertRow(m_rowCount);
        ui->tableWidget->setItem(m_rowCount, 1,
                                 table_item(row.name, row.display_exists, tr("Display already exists in current layout")));
        ui->tableWidget->setItem(m_rowCount, 0,
                                 table_item(row.address, row.address_used, tr("IP address already used in current layout")));
        ++m_rowCount;
    }
    ui->tableWidget->setSortingEnabled(true);
    delete m_progress;
    m_progress = nullptr;
}

void CProjectorBrowseDlg::update_buttons()
{
    ui->ok_pushButton->setEnabled(m_rowCount != 0);
    if (m_rowCount != 0)
        ui->tableWidget->selectRow(0);
    ui->identify_selected_pushButton->setEnabled(m_rowCount > 0);
}

void CProjectorBrowseDlg::tableSelectionChanged()
{
    ui->ok_pushButton->setEnabled(!ui->tableWidget->selectedItems().isEmpty());
}

void CProjectorBrowseDlg::on_ok_pushButton_clicked()
{
    accept();
}

void CProjectorBrowseDlg::tableItemClicked(int, int)
{
    accept();
}

void CProjectorBrowseDlg::on_identify_selected_pushButton_clicked()
{
    basic_monitor *monitor = g_master ? g_master->getMonitor() : nullptr;
    if (!monitor)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int status = identify_projector(*monitor, GetSelectedIPAddress());
    QApplication::restoreOverrideCursor();
    if (status != 0)
        show_error_message(this, status, false, false, false);
}
