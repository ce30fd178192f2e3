#include "dialogs/set_calibration_order_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "dialogs/calibration_order.h"
#include "ui_set_calibration_order_dialog.h"

#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace {

layout_manager *layout_model()
{
    return g_master ? g_master->getLayoutManager() : nullptr;
}

QList<display_layout_item> layout_items(const layout_manager &layout)
{
    QList<display_layout_item> items;
    for (int i = 0; i < layout.item_count(); ++i) {
        display_layout_item item;
        layout.get_item(i, item);
        items.append(item);
    }
    return items;
}

} // namespace

set_calibration_order_dialog::set_calibration_order_dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::set_calibration_order_dialogClass>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->grid_widget, &KQ_set_display_order_grid_widget::complete, this, &set_calibration_order_dialog::complete);
    connect(ui->grid_widget, &KQ_set_display_order_grid_widget::ensurevistible, this,
            &set_calibration_order_dialog::ensurevistible);
    connect(ui->reset_pushButton, &QPushButton::clicked, ui->grid_widget, &KQ_set_display_order_grid_widget::reset);

    QList<display_position> positions;
    if (const layout_manager *layout = layout_model()) {
        for (const display_layout_item &item : layout_items(*layout))
            positions.append({item.column, item.row});
    }
    ui->grid_widget->setInitalPositionList(positions);
    ui->ok_pushButton->setEnabled(false);
}

set_calibration_order_dialog::~set_calibration_order_dialog() = default;

bool set_calibration_order_dialog::event(QEvent *event)
{
    // The request is handled from the event loop, once the grid is filled;
    // the polish itself can come while the form is still being built.
    if (event->type() == QEvent::PolishRequest)
        update_size();
    return QDialog::event(event);
}

void set_calibration_order_dialog::complete()
{
    ui->ok_pushButton->setEnabled(true);
}

void set_calibration_order_dialog::on_reset_pushButton_clicked()
{
    ui->ok_pushButton->setEnabled(false);
}

void set_calibration_order_dialog::on_ok_pushButton_clicked()
{
    if (layout_manager *layout = layout_model()) {
        QList<display_layout_item> reordered;
        if (reorder_by_positions(layout_items(*layout), ui->grid_widget->positionList(), reordered)) {
            for (int n = 0; n < reordered.size(); ++n)
                layout->set_item(n, reordered[n], false);
        }
    }
    accept();
}

void set_calibration_order_dialog::on_cancel_pushButton_clicked()
{
    reject();
}

void set_calibration_order_dialog::ensurevistible(QWidget *childWidget)
{
    ui->scrollArea->ensureWidgetVisible(childWidget, 0, 0);
}

void set_calibration_order_dialog::update_size()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (available.width() == 0) {
        move(available.center() - rect().center());
        return;
    }
    // The grid with the margins of the widget that holds it in the scroll
    // area: the grid alone would leave the margins to the scroll bars.
    const QSize grid = ui->scrollArea->widget()->sizeHint();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int width = grid.width();
    int height = grid.height();
    if (height > available.height() / 3) {
        height = available.height() / 3;
        width += scrollBar;
    }
    if (grid.width() > available.width() / 3) {
        width = available.width() / 3;
        height += scrollBar;
    }
    ui->scrollArea->setMinimumSize(width, height);
    adjustSize();
    move(available.center() - rect().center());
}
