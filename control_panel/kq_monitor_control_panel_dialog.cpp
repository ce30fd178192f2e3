// The dialog itself: construction, the page tree, the shared display link,
// the status line and the tree's palette-dependent style.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/tree_lookup.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/control_page_rows.h"
#include "control_panel/core/control_panel_tables.h"
#include "display_protocol/basic_monitor.h"

#include <QApplication>
#include <QEvent>
#include <QLocale>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

constexpr int kNullLink = 2;

} // namespace

kq_monitor_control_panel_dialog::kq_monitor_control_panel_dialog(int layout_index, QWidget *parent)
    : QDialog(parent), slider_timer(this), spinbox_timer(this), tile_matrix_spinbox_timer(this),
      frame_comp_spinbox_timer(this)
{
    form.setupUi(this);
    connect(form.ok_pushButton, SIGNAL(clicked()), this, SLOT(accept()));
    form.stackedWidget->setCurrentIndex(0);

    int columns = 0, rows = 0;
    const int count = layout().get_size(columns, rows);
    display_index = layout_index;
    display_layout_item item;
    if (layout().get_item(layout_index, item) == 0) {
        display_row = item.row;
        display_column = item.column;
    }

    for (QTimer *timer : {&slider_timer, &spinbox_timer, &tile_matrix_spinbox_timer, &frame_comp_spinbox_timer})
        timer->setSingleShot(true);
    connect(&slider_timer, &QTimer::timeout, this, &kq_monitor_control_panel_dialog::slider_timer_timeout);
    connect(&spinbox_timer, &QTimer::timeout, this, &kq_monitor_control_panel_dialog::spinbox_timer_timeout);
    connect(&tile_matrix_spinbox_timer, &QTimer::timeout, this,
            &kq_monitor_control_panel_dialog::tile_matrix_spinbox_timer_timeout);
    connect(&frame_comp_spinbox_timer, &QTimer::timeout, this,
            &kq_monitor_control_panel_dialog::frame_comp_spinbox_timer_timeout);

    add_row_items();
    init_power_page();
    init_video_pages();
    init_tile_matrix_pages();
    init_ir_page();
    fill_own_combo_boxes();
    connect(this, &kq_monitor_control_panel_dialog::update_slider_control, this,
            &kq_monitor_control_panel_dialog::update_silder_control_value, Qt::QueuedConnection);
    connect(this, &kq_monitor_control_panel_dialog::update_spinbox_control, this,
            &kq_monitor_control_panel_dialog::update_spinbox_control_value, Qt::QueuedConnection);
    tie_sliders_to_spin_boxes();
    connect_rows();
    connect_own_pages();

    const QString time_format = QLocale::system().timeFormat(QLocale::ShortFormat);
    for (QTimeEdit *edit : {form.schedule_on_time_timeEdit, form.schedule_off_time_timeEdit,
                            form.advanced_schedule_timeEdit, form.timeEdit_time})
        edit->setDisplayFormat(time_format);
    form.dateEdit->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    if (count < 2) {
        form.apply_to_select_type_comboBox->hide();
    } else {
        const QSignalBlocker blocker(form.apply_to_select_type_comboBox);
        form.apply_to_select_type_comboBox->addItem(tr("Individual display"), 0);
        form.apply_to_select_type_comboBox->addItem(tr("Entire row"), 1);
        form.apply_to_select_type_comboBox->addItem(tr("Entire column"), 2);
        form.apply_to_select_type_comboBox->addItem(tr("All displays"), 3);
    }
    on_apply_to_select_type_comboBox_currentIndexChanged(0);

    style_six_axis_sliders();
    build_page_tree();
    form.treeWidget->setMinimumWidth(250);
}

kq_monitor_control_panel_dialog::~kq_monitor_control_panel_dialog()
{
    monitor().open_link(QString(), kNullLink);
    qDeleteAll(pending_slider_changes);
    qDeleteAll(pending_spinbox_changes);
}

basic_monitor &kq_monitor_control_panel_dialog::monitor() const
{
    return *g_master->getMonitor();
}

layout_manager &kq_monitor_control_panel_dialog::layout() const
{
    return *g_master->getLayoutManager();
}

void kq_monitor_control_panel_dialog::add_row_items()
{
    for (int page = 0; page < control_page::kCount; ++page)
        for (const control_row &row : control_page::rows(page))
            control_row_binder::add_items(this, row);
}

void kq_monitor_control_panel_dialog::tie_sliders_to_spin_boxes()
{
    for (const QString &stem : control_panel_tables::slider_spin_box_ties()) {
        auto *slider = findChild<QSlider *>(stem + QStringLiteral("_horizontalSlider"));
        auto *spin_box = findChild<QSpinBox *>(stem + QStringLiteral("_spinBox"));
        if (!slider || !spin_box)
            continue;
        connect(slider, &QSlider::valueChanged, spin_box, &QSpinBox::setValue);
        connect(spin_box, QOverload<int>::of(&QSpinBox::valueChanged), slider, &QSlider::setValue);
    }
}

void kq_monitor_control_panel_dialog::style_six_axis_sliders()
{
    for (const control_panel_tables::slider_colours &colours : control_panel_tables::six_axis_sliders()) {
        if (auto *slider = findChild<QSlider *>(QLatin1String(colours.slider)))
            slider->setStyleSheet(control_panel_tables::six_axis_slider_style(colours));
    }
}

void kq_monitor_control_panel_dialog::build_page_tree()
{
    form.treeWidget->header()->hide();
    form.stackedWidget->setCurrentIndex(0);
    const int current = form.stackedWidget->currentIndex();
    for (const control_panel_tables::tree_entry &entry : control_panel_tables::page_tree()) {
        const QStringList parts = tr(entry.path).split(QLatin1Char('/'));
        QTreeWidgetItem *item = form.treeWidget->invisibleRootItem();
        for (int i = 0; i < parts.size(); ++i) {
            QTreeWidgetItem *child = find_tree_child_by_text(item, parts.at(i));
            if (!child) {
                child = new QTreeWidgetItem(item, QStringList(parts.at(i)));
                const bool last = i == parts.size() - 1;
                child->setData(0, Qt::UserRole, last ? entry.page : 0);
                if (last && entry.page == current)
                    form.treeWidget->setCurrentItem(child);
            }
            item = child;
        }
    }
    form.treeWidget->expandAll();
    update_graphics();
    form.treeWidget->header()->hide();
    connect(form.stackedWidget, &QStackedWidget::currentChanged, this, &kq_monitor_control_panel_dialog::tabChanged);
    connect(form.treeWidget, &QTreeWidget::currentItemChanged, this, &kq_monitor_control_panel_dialog::changePage);
}

void kq_monitor_control_panel_dialog::changePage(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    QTreeWidgetItem *item = current ? current : previous;
    if (!item)
        return;
    const int page = item->data(0, Qt::UserRole).toInt();
    if (page >= 0)
        form.stackedWidget->setCurrentIndex(page);
}

void kq_monitor_control_panel_dialog::release_link()
{
    port_open = false;
    monitor().open_link(QString(), kNullLink);
}

bool kq_monitor_control_panel_dialog::open_port_for_display(int array_index)
{
    if (port_open)
        release_link();
    port_open = false;
    display_layout_item item;
    int status = layout().get_item(array_index, item);
    // An index without a display has no address to open: refuse it rather
    // than let the link open whatever an empty address means.
    if (status == 0)
        status = monitor().open_link(item.connection_address, item.connection_type);
    if (status == 0) {
        monitor().set_monitor_id(static_cast<quint8>(item.monitor_id + basic_monitor::kMonitorIdBase));
        port_open = true;
    }
    setErrorMessage(status);
    return port_open;
}

void kq_monitor_control_panel_dialog::close_port_for_display()
{
    if (port_open)
        release_link();
}

void kq_monitor_control_panel_dialog::setErrorMessage(int status)
{
    QString text;
    if (status != 0) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        error_code_message_id(status, text, icon);
    }
    if (!text.isEmpty())
        text.prepend(tr("<img src=\":/images/Resources/alerts_red_icon_20.png\"> ", "setErrorMessage icon"));
    form.status_label->setText(text);
}

void kq_monitor_control_panel_dialog::update_graphics()
{
    const bool dark = QApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
    form.treeWidget->setStyleSheet(control_panel_tables::tree_style(dark));
}

bool kq_monitor_control_panel_dialog::event(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update_graphics();
    return QDialog::event(event);
}
