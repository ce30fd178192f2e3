#include "views/docks/KQ_communications_interface_configure_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/ui/message_boxes.h"
#include "layout_setup/IP4Validator.h"
#include "layout_setup/com_port_combo.h"
#include "views/docks/network_search_opener.h"

#include "ui_KQ_communications_interface_configure_widget.h"

#include <QApplication>
#include <QCompleter>
#include <QIcon>

namespace {

constexpr int kMonitorIdCount = 100;
constexpr int kStatusMessageMs = 10000;
const char kLinkGoodIcon[] = ":/images/Resources/green circle icon.png";
const char kLinkFailedIcon[] = ":/images/Resources/alerts_red_icon_20.png";

layout_manager *wall()
{
    return g_master ? g_master->getLayoutManager() : nullptr;
}

} // namespace

KQ_communications_interface_configure_widget::KQ_communications_interface_configure_widget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::KQ_communications_interface_configure_widgetClass>())
{
    ui->setupUi(this);
    ui->ip_address_lineEdit->setValidator(new IP4Validator(this));
    fill_com_port_combo(ui->com_port_comboBox, m_portWatcher.ports());
    fill_monitor_id_combo();

    connect(ui->update_pushButton, &QPushButton::clicked, this,
            &KQ_communications_interface_configure_widget::update_record);
    connect(ui->verify_pushButton, &QPushButton::clicked, this,
            &KQ_communications_interface_configure_widget::verify_clicked);
    connect(ui->rs232_radioButton, &QRadioButton::toggled, this,
            &KQ_communications_interface_configure_widget::update_ui_state);
    connect(ui->lan_radioButton, &QRadioButton::toggled, this,
            &KQ_communications_interface_configure_widget::update_ui_state);
    connect(ui->com_port_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_communications_interface_configure_widget::update_ui_state);
    connect(ui->display_ID_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_communications_interface_configure_widget::update_ui_state);
    connect(ui->ip_address_lineEdit, &QLineEdit::textChanged, this,
            &KQ_communications_interface_configure_widget::update_ui_state);
    connect(&m_portWatcher, &serial_port_watcher::deviceRemoved, this,
            &KQ_communications_interface_configure_widget::onDeviceRemoved);
    connect(&m_portWatcher, &serial_port_watcher::deviceDiscovered, this,
            &KQ_communications_interface_configure_widget::onDeviceDiscovered);
}

KQ_communications_interface_configure_widget::~KQ_communications_interface_configure_widget() = default;

void KQ_communications_interface_configure_widget::fill_monitor_id_combo()
{
    for (int id = 1; id <= kMonitorIdCount; ++id)
        ui->display_ID_comboBox->addItem(QStringLiteral("%1").arg(id), id);
}

bool KQ_communications_interface_configure_widget::current_record(display_layout_item &item) const
{
    return m_currentIndex >= 0 && wall() && wall()->get_item(m_currentIndex, item) == 0;
}

connection_entry KQ_communications_interface_configure_widget::entry() const
{
    connection_entry entered;
    entered.rs232 = ui->rs232_radioButton->isChecked();
    entered.com_index = ui->com_port_comboBox->currentIndex();
    entered.com_name = ui->com_port_comboBox->currentText();
    entered.address = ui->ip_address_lineEdit->text();
    entered.address_acceptable = ui->ip_address_lineEdit->hasAcceptableInput();
    const QVariant id = ui->display_ID_comboBox->currentData();
    entered.monitor_id = id.isValid() ? id.toInt() : 0;
    return entered;
}

void KQ_communications_interface_configure_widget::selection_changed(int index)
{
    m_currentIndex = index;
    UpdateDataDisplay();
}

void KQ_communications_interface_configure_widget::UpdateDataDisplay()
{
    display_layout_item item;
    if (current_record(item)) {
        const bool lan = item.connection_type == display_layout_item::kLan;
        int com_index = -1;
        if (lan) {
            ui->lan_radioButton->setChecked(true);
            ui->ip_address_lineEdit->setText(item.connection_address);
        } else {
            ui->rs232_radioButton->setChecked(true);
            ui->ip_address_lineEdit->clear();
            com_index = ui->com_port_comboBox->findText(item.connection_address, Qt::MatchExactly | Qt::MatchCaseSensitive);
            ui->com_port_comboBox->setCurrentIndex(com_index);
        }
        m_applied = applied_connection_of(item, com_index);
        // An ID without a row (outside 1 to 100) leaves no ID chosen.
        ui->display_ID_comboBox->setCurrentIndex(ui->display_ID_comboBox->findData(item.monitor_id));
        update_ui_state();
    }
    replace_completer();
}

void KQ_communications_interface_configure_widget::replace_completer()
{
    QCompleter *previous = m_completer;
    m_completer = new QCompleter(wall() ? wall()->get_ip_address_list() : QStringList(), this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    ui->ip_address_lineEdit->setCompleter(m_completer);
    delete previous;
}

void KQ_communications_interface_configure_widget::update_ui_state()
{
    const connection_edit_state state = connection_edit_state_for(m_applied, entry());
    ui->com_port_comboBox->setEnabled(state.com_enabled);
    ui->ip_address_lineEdit->setEnabled(state.address_enabled);
    ui->lan_search_pushButton->setEnabled(state.address_enabled);
    ui->update_pushButton->setEnabled(state.pending);
    ui->verify_pushButton->setEnabled(state.valid);
    ui->verify_pushButton->setIcon(QIcon());
    ui->update_pushButton->setIcon(state.update_icon.isEmpty() ? QIcon() : QIcon(state.update_icon));
    ui->update_pushButton->setToolTip(state.update_tooltip);
}

void KQ_communications_interface_configure_widget::update_record()
{
    display_layout_item item;
    if (!current_record(item))
        return;
    // Storing with notification refreshes the views, and through them this dock.
    wall()->set_item(m_currentIndex, updated_layout_item(item, entry()), true);
}

link_check_result KQ_communications_interface_configure_widget::check_link(link_check_kind kind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    emit status_message(QString(), 0);
    link_check_result result;
    display_layout_item item;
    basic_monitor *monitor = g_master ? g_master->getMonitor() : nullptr;
    if (monitor && current_record(item))
        result = run_link_check(*monitor, kind, entry());
    QApplication::restoreOverrideCursor();
    return result;
}

void KQ_communications_interface_configure_widget::show_check_result(int status)
{
    if (status == 0) {
        ui->verify_pushButton->setIcon(QIcon(QString::fromLatin1(kLinkGoodIcon)));
        emit status_message(tr("Communications with display successful"), kStatusMessageMs);
        return;
    }
    ui->verify_pushButton->setIcon(QIcon(QString::fromLatin1(kLinkFailedIcon)));
    show_error_message(this, status, false, false, false);
}

void KQ_communications_interface_configure_widget::verify_clicked()
{
    show_check_result(check_link(link_check_kind::test).status);
}

void KQ_communications_interface_configure_widget::on_auto_detect_pushButton_clicked()
{
    const link_check_result result = check_link(link_check_kind::auto_detect);
    if (result.status == 0) {
        // An ID without a row leaves the choice as it was.
        const int row = ui->display_ID_comboBox->findData(result.detected_monitor_id);
        if (row >= 0)
            ui->display_ID_comboBox->setCurrentIndex(row);
    }
    show_check_result(result.status);
}

void KQ_communications_interface_configure_widget::on_verify_pushButton_clicked()
{
}

void KQ_communications_interface_configure_widget::on_lan_search_pushButton_clicked()
{
    network_search_request request;
    if (layout_manager *layout = wall()) {
        request.used_addresses = layout->get_ip_address_list();
        request.existing_displays = layout->get_display_mac_addresses();
    }
    QString chosen;
    if (open_network_search(this, request, chosen))
        ui->ip_address_lineEdit->setText(chosen);
}

void KQ_communications_interface_configure_widget::onDeviceRemoved(const serial_port_record &)
{
    fill_com_port_combo(ui->com_port_comboBox, m_portWatcher.ports());
}

void KQ_communications_interface_configure_widget::onDeviceDiscovered(const serial_port_record &)
{
    fill_com_port_combo(ui->com_port_comboBox, m_portWatcher.ports());
}
