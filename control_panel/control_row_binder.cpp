#include "control_panel/control_row_binder.h"

#include "control_panel/core/power_state_text.h"
#include "control_panel/core/tile_matrix_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace control_row_binder {
namespace {

template <typename Widget>
Widget *find(QWidget *form, const QString &name)
{
    return name.isEmpty() ? nullptr : form->findChild<Widget *>(name);
}

// A label only shows; whether it is enabled follows the number of targets.
void set_enabled(QWidget *form, const control_row &row, bool enabled)
{
    if (row.kind == control_kind::label || (row.always_enabled && !enabled))
        return;
    if (QWidget *group = find<QWidget>(form, row.group)) {
        group->setEnabled(enabled);
        return;
    }
    for (const QString &name : {row.widget, row.partner}) {
        if (QWidget *widget = find<QWidget>(form, name))
            widget->setEnabled(enabled);
    }
}

template <typename Ranged>
void show_ranged(Ranged *widget, const row_reading &reading, int step)
{
    if (!widget)
        return;
    const QSignalBlocker blocker(widget);
    widget->setMinimum(reading.minimum);
    widget->setMaximum(reading.maximum);
    widget->setSingleStep(step);
    widget->setValue(reading.value);
}

// A check box or a checkable group box.
void set_checked(QWidget *widget, bool checked)
{
    const QSignalBlocker blocker(widget);
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setChecked(checked);
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        group->setChecked(checked);
}

bool is_checked(QWidget *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->isChecked();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return group->isChecked();
    return false;
}

// The display's hundredths as a fraction.
void show_hundredths(QDoubleSpinBox *box, const row_reading &reading)
{
    if (!box)
        return;
    const QSignalBlocker blocker(box);
    box->setMaximum(reading.maximum / 100.0);
    box->setValue(reading.value / 100.0);
}

void set_items(QComboBox *combo, const QList<control_item> &items)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    add_items(combo, items);
}

void show_value(QWidget *form, const control_row &row, const row_reading &reading)
{
    switch (row.kind) {
    case control_kind::slider_pair:
        show_ranged(find<QSlider>(form, row.widget), reading, row.step);
        show_ranged(find<QSpinBox>(form, row.partner), reading, row.step);
        break;
    case control_kind::slider:
        show_ranged(find<QSlider>(form, row.widget), reading, row.step);
        break;
    case control_kind::spin_box:
        show_ranged(find<QSpinBox>(form, row.widget), reading, row.step);
        break;
    case control_kind::combo_box:
        if (auto *combo = row.items_from_maximum ? find<QComboBox>(form, row.widget) : nullptr)
            set_items(combo, row.items_from_maximum(reading.maximum));
        select_item(form, row, reading.value);
        break;
    case control_kind::check_box:
        if (QWidget *box = find<QWidget>(form, row.widget))
            set_checked(box, row.radio_on(reading.value));
        break;
    case control_kind::double_spin_box:
        show_hundredths(find<QDoubleSpinBox>(form, row.widget), reading);
        break;
    case control_kind::radio_pair: {
        auto *on = find<QRadioButton>(form, row.widget);
        auto *off = find<QRadioButton>(form, row.partner);
        if (!on || !off)
            break;
        const QSignalBlocker block_on(on);
        const QSignalBlocker block_off(off);
        (row.radio_on(reading.value) ? on : off)->setChecked(true);
        break;
    }
    case control_kind::label:
        if (auto *label = find<QLabel>(form, row.widget))
            label->setText(power_state_text(reading.value));
        break;
    }
}

} // namespace

void add_items(QComboBox *combo, const QList<control_item> &items)
{
    if (!combo || items.isEmpty())
        return;
    const QSignalBlocker blocker(combo);
    for (const control_item &item : items) {
        if (item.icon.isEmpty())
            combo->addItem(item.text, item.data);
        else
            combo->addItem(QIcon(item.icon), item.text, item.data);
    }
}

void add_items(QWidget *form, const control_row &row)
{
    add_items(find<QComboBox>(form, row.widget), row.items);
}

void show_reading(QWidget *form, const control_row &row, const row_reading &reading)
{
    if (!reading.usable()) {
        set_enabled(form, row, false);
        if (auto *label = row.kind == control_kind::label ? find<QLabel>(form, row.widget) : nullptr)
            label->clear();
        return;
    }
    set_enabled(form, row, true);
    if (!reading.range_unknown)
        show_value(form, row, reading);
}

void select_item(QWidget *form, const control_row &row, int value)
{
    auto *combo = find<QComboBox>(form, row.widget);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    select_data(combo, value);
}

void select_data(QComboBox *combo, int value)
{
    combo->setCurrentIndex(combo->findData(value, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

int shown_value(QWidget *form, const control_row &row)
{
    switch (row.kind) {
    case control_kind::slider_pair:
    case control_kind::slider:
        if (auto *slider = find<QSlider>(form, row.widget))
            return slider->value();
        break;
    case control_kind::spin_box:
        if (auto *spin_box = find<QSpinBox>(form, row.widget))
            return spin_box->value();
        break;
    case control_kind::combo_box:
        if (auto *combo = find<QComboBox>(form, row.widget))
            return combo->currentData().toInt();
        break;
    case control_kind::check_box:
        if (QWidget *box = find<QWidget>(form, row.widget))
            return is_checked(box) ? row.on_value : row.off_value;
        break;
    case control_kind::double_spin_box:
        if (auto *box = find<QDoubleSpinBox>(form, row.widget))
            return tile_matrix_rules::hundredths(box->value());
        break;
    case control_kind::radio_pair:
        if (auto *on = find<QRadioButton>(form, row.widget))
            return on->isChecked() ? row.on_value : row.off_value;
        break;
    case control_kind::label:
        break;
    }
    return 0;
}

} // namespace control_row_binder
