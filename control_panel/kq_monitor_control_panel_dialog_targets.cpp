// "Apply to:": which displays the operations reach, and how the pages adapt
// to one or several targets.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/controller/layout_manager.h"
#include "control_panel/core/control_panel_tables.h"
#include "control_panel/core/control_targets.h"
#include "display_protocol/basic_monitor.h"

#include <QApplication>
#include <QLabel>

#include <functional>

namespace {

QList<display_layout_item> layout_items(const layout_manager &layout)
{
    QList<display_layout_item> items;
    display_layout_item item;
    for (int i = 0; layout.get_item(i, item) == 0; ++i)
        items << item;
    return items;
}

template <typename Widget>
void for_each_named(QWidget *parent, const QStringList &names, const std::function<void(Widget *)> &act)
{
    for (const QString &name : names) {
        if (auto *widget = parent->findChild<Widget *>(name))
            act(widget);
    }
}

} // namespace

int kq_monitor_control_panel_dialog::apply_to_kind() const
{
    const QVariant data = form.apply_to_select_type_comboBox->currentData();
    return data.isValid() ? data.toInt() : control_targets::kIndividual;
}

void kq_monitor_control_panel_dialog::on_apply_to_select_type_comboBox_currentIndexChanged(int index)
{
    int columns = 0, rows = 0;
    layout().get_size(columns, rows);
    QComboBox *list = form.apply_to_display_list_comboBox;
    list->show();
    {
        const QSignalBlocker blocker(list);
        list->clear();
        switch (index) {
        case control_targets::kIndividual: {
            const QList<display_layout_item> items = layout_items(layout());
            for (int i = 0; i < items.size(); ++i) {
                list->addItem(control_targets::display_entry_text(i, items.at(i), rows, columns), i);
                list->setItemData(i, control_targets::display_entry_tooltip(items.at(i)), Qt::ToolTipRole);
            }
            list->setCurrentIndex(display_index);
            break;
        }
        case control_targets::kEntireRow:
            list->addItems(control_targets::row_entry_texts(rows));
            list->setCurrentIndex(display_row);
            break;
        case control_targets::kEntireColumn:
            list->addItems(control_targets::column_entry_texts(columns));
            list->setCurrentIndex(display_column);
            break;
        default:
            list->hide();
            break;
        }
    }
    rebuild_target_display_indices();
    update_controls_for_target_count();
    refresh_after_target_change();
}

void kq_monitor_control_panel_dialog::on_apply_to_display_list_comboBox_currentIndexChanged(int index)
{
    switch (apply_to_kind()) {
    case control_targets::kIndividual: {
        display_index = index;
        display_layout_item item;
        if (layout().get_item(index, item) == 0) {
            display_row = item.row;
            display_column = item.column;
        }
        break;
    }
    case control_targets::kEntireRow:
        display_row = index;
        break;
    case control_targets::kEntireColumn:
        display_column = index;
        break;
    default:
        break;
    }
    rebuild_target_display_indices();
    update_controls_for_target_count();
    refresh_after_target_change();
}

void kq_monitor_control_panel_dialog::rebuild_target_display_indices()
{
    target_display_indices = control_targets::target_indices(
        apply_to_kind(), form.apply_to_display_list_comboBox->currentIndex(), layout_items(layout()));
}

void kq_monitor_control_panel_dialog::update_controls_for_target_count()
{
    namespace tables = control_panel_tables;
    const bool several = control_targets::several(target_display_indices.size());
    for_each_named<QWidget>(this, tables::several_display_buttons(), [several](QWidget *w) { w->setVisible(several); });
    if (several)
        form.power_state_label->clear();
    for_each_named<QWidget>(this, tables::single_display_widgets(), [several](QWidget *w) { w->setEnabled(!several); });
    form.display_array_size_diagram_widget->showCurrentlySelectedDisplay(!several);
    form.display_array_size_diagram_widget->showHover(!several);
    if (!several)
        return;
    for_each_named<QLabel>(this, tables::several_cleared_labels(), [](QLabel *label) { label->clear(); });
    for_each_named<QWidget>(this, tables::several_enabled_widgets(), [](QWidget *w) { w->setEnabled(true); });
    for_each_named<QWidget>(this, tables::several_disabled_widgets(), [](QWidget *w) { w->setEnabled(false); });
}

void kq_monitor_control_panel_dialog::refresh_after_target_change()
{
    if (target_display_indices.isEmpty())
        return;
    port_open = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = open_port_for_display(target_display_indices.first());
    form.stackedWidget->setEnabled(opened);
    if (opened)
        release_link();
    QApplication::restoreOverrideCursor();
    tabChanged(form.stackedWidget->currentIndex());
}
