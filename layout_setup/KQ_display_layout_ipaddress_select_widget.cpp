#include "layout_setup/KQ_display_layout_ipaddress_select_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "layout_setup/CProjectorBrowseDlg.h"
#include "layout_setup/IP4Validator.h"

#include <QCompleter>

namespace {

constexpr int kAddressWidthInCharacters = 24;
constexpr int kLargeScreenDisplays = 2;

} // namespace

KQ_display_layout_ipaddress_select_widget::KQ_display_layout_ipaddress_select_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.ip_address_lineEdit->setValidator(new IP4Validator(this));
    if (g_master && g_master->getLayoutManager()) {
        auto *completer = new QCompleter(g_master->getLayoutManager()->get_ip_address_list(), this);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        ui.ip_address_lineEdit->setCompleter(completer);
    }
    const int width = kAddressWidthInCharacters * ui.ip_address_lineEdit->fontMetrics().averageCharWidth();
    ui.ip_address_lineEdit->setMinimumWidth(width);
    ui.ip_address_lineEdit->setMaximumWidth(width);
}

void KQ_display_layout_ipaddress_select_widget::on_monitor_lan_search_pushButton_clicked()
{
    CProjectorBrowseDlg dialog(this, kLargeScreenDisplays);
    if (dialog.exec() == QDialog::Accepted)
        ui.ip_address_lineEdit->setText(dialog.GetSelectedIPAddress());
}
