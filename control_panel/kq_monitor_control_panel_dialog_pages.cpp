// The pages that are more than rows of controls: which reader a page
// refresh runs for them, their combo boxes and connections, and what their
// operations share (jobs to the targets, questions).
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/services/string_resource.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/analog_levels.h"
#include "control_panel/core/control_page_rows.h"
#include "control_panel/core/schedule_page_items.h"
#include "app/services/ui/wait_cursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QSlider>

namespace {

constexpr int kApplicationName = 1;

} // namespace

void kq_monitor_control_panel_dialog::read_page_of_its_own(int page)
{
    switch (page) {
    case control_page::kGroupId:
        update_group_ID_ui();
        break;
    case control_page::kStatus:
        read_status_page();
        break;
    case control_page::kAnalog:
        read_analog_page();
        break;
    case control_page::kAnalogAdvanced:
        read_analog_advanced_page();
        break;
    case control_page::kClock:
        read_clock();
        break;
    case control_page::kSchedule:
        read_basic_schedule(false);
        break;
    case control_page::kAdvancedSchedule:
        read_advanced_schedule(false);
        break;
    case control_page::kHoliday:
        read_holiday(false);
        break;
    case control_page::kWeekend:
        read_weekend();
        break;
    default:
        break;
    }
}

void kq_monitor_control_panel_dialog::fill_own_combo_boxes()
{
    for (const schedule_page_items::combo_items &combo : schedule_page_items::all())
        control_row_binder::add_items(findChild<QComboBox *>(combo.combo), combo.items);
}

void kq_monitor_control_panel_dialog::connect_own_pages()
{
    for (QCheckBox *box : check_box_row("group_ID")) {
        connect(box, &QCheckBox::stateChanged, this,
                &kq_monitor_control_panel_dialog::update_monitor_group_ID_from_ui);
    }
    // The offsets write the codes that the last refresh found the display
    // answering on.
    for (int channel = 0; channel < analog_levels::kChannelCount; ++channel) {
        auto *slider = findChild<QSlider *>(analog_levels::row(channel, false).widget);
        connect(slider, &QSlider::valueChanged, this, [this, slider, channel] {
            queue_slider_change(slider, static_cast<uint>(analog_levels::code(channel, analog_offset_alternate_codes)));
        });
    }
    for (QComboBox *combo : {form.holiday_year_comboBox, form.holiday_month_comboBox, form.holiday_day_comboBox,
                             form.holiday_week_nth_comboBox, form.holiday_week_weekday_comboBox,
                             form.holiday_end_day_month_comboBox, form.holiday_end_day_day_comboBox}) {
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &kq_monitor_control_panel_dialog::update_holiday_description);
    }
}

QList<QCheckBox *> kq_monitor_control_panel_dialog::check_box_row(const char *prefix) const
{
    // The groups A to J, or the days Monday to Sunday, of a page.
    static const char *const groups[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    static const char *const days[] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
    const bool group = qstrcmp(prefix, "group_ID") == 0;
    QList<QCheckBox *> boxes;
    for (const char *name : group ? QList<const char *>(std::begin(groups), std::end(groups))
                                  : QList<const char *>(std::begin(days), std::end(days)))
        boxes << findChild<QCheckBox *>(QStringLiteral("%1_%2_checkBox").arg(QLatin1String(prefix), QLatin1String(name)));
    return boxes;
}

int kq_monitor_control_panel_dialog::read_one_target(bool open_link, const std::function<int()> &read)
{
    if (!one_target()) {
        setErrorMessage(0);
        return 0;
    }
    if (open_link && !open_port_for_display(target_display_indices.first()))
        return -1;
    int status = 0;
    {
        const wait_cursor cursor;
        status = read();
    }
    if (open_link)
        close_port_for_display();
    setErrorMessage(status);
    return status;
}

bool kq_monitor_control_panel_dialog::confirm(int text_id)
{
    return QMessageBox::question(this, string_resource(kApplicationName), string_resource(text_id),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Ok;
}

bool kq_monitor_control_panel_dialog::confirm_clearing(int text_id)
{
    return QMessageBox::warning(this, string_resource(kApplicationName), string_resource(text_id),
                                QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::NoButton)
           == QMessageBox::Yes;
}
