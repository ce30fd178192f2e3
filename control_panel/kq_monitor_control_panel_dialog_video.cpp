// The video pages' own behaviour: the input source (read back from the
// display; a job of its own for several displays), the picture and size
// resets, the uniformity level's text and applying the calibration to other
// inputs.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/core/control_page_rows.h"
#include "control_panel/core/video_inputs.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_list_item.h"
#include "jobs/job_task_type.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace {

constexpr int kPictureDefaults = 2;
constexpr int kSizeDefaults = 3;

} // namespace

void kq_monitor_control_panel_dialog::init_video_pages()
{
    for (int code : video_inputs::codes()) {
        auto *item = new QListWidgetItem(video_inputs::name(code), form.input_listWidget);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, code);
    }
    connect(form.input_listWidget, &QListWidget::itemChanged, this,
            &kq_monitor_control_panel_dialog::onInputComboBoxChanged);
    connect(form.video_input_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &kq_monitor_control_panel_dialog::onVideoInputChanged);
    connect(form.kqe_uniformity_horizontalSlider, &QSlider::valueChanged, this,
            &kq_monitor_control_panel_dialog::update_kqe_uniformity_label);
}

void kq_monitor_control_panel_dialog::onVideoInputChanged(int index)
{
    QComboBox *combo = form.video_input_comboBox;
    if (!one_target() || index < 0 || !open_port_for_display(target_display_indices.first()))
        return;
    {
        // The combo box then shows the input the display reports.
        const QSignalBlocker blocker(combo);
        const wait_cursor cursor;
        uint input = static_cast<uint>(combo->itemData(index).toInt());
        setErrorMessage(monitor().set_input_source(input));
        uint shown = 0;
        if (monitor().get_input_source(shown) == 0)
            combo->setCurrentIndex(combo->findData(static_cast<int>(shown)));
    }
    close_port_for_display();
    tabChanged(form.stackedWidget->currentIndex());
}

void kq_monitor_control_panel_dialog::on_video_input_update_pushButton_clicked()
{
    const QVariant input = form.video_input_comboBox->currentData();
    if (target_display_indices.isEmpty() || !input.isValid())
        return;
    job_list_item job;
    job.task_list = {JOB_TASK_SELECT_INPUT};
    job.input_list = {input.toInt()};
    run_jobs(job);
}

void kq_monitor_control_panel_dialog::on_color_reset_pushButton_clicked()
{
    reset_to_defaults(kPictureDefaults);
}

void kq_monitor_control_panel_dialog::on_size_reset_pushButton_clicked()
{
    reset_to_defaults(kSizeDefaults);
}

void kq_monitor_control_panel_dialog::reset_to_defaults(int value)
{
    if (!one_target()) {
        update_vcp_all_displays(control_code::kDefaults, static_cast<uint>(value));
        return;
    }
    if (!open_port_for_display(target_display_indices.first()))
        return;
    {
        // No save: the page shows at once what the display went back to.
        const wait_cursor cursor;
        uint written = static_cast<uint>(value);
        setErrorMessage(monitor().set_vcp(control_code::kDefaults, written));
        const int page = form.stackedWidget->currentIndex();
        read_page_extras(page, read_row_page(page));
    }
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::update_kqe_uniformity_label()
{
    const int level = form.kqe_uniformity_horizontalSlider->value();
    form.kqe_uniformity_horizontalSlider_label->setText(level == 0 ? tr("Off") : QStringLiteral("%1").arg(level));
}

void kq_monitor_control_panel_dialog::onInputComboBoxChanged()
{
    bool checked = false;
    for (int i = 0; i < form.input_listWidget->count() && !checked; ++i)
        checked = form.input_listWidget->item(i)->checkState() == Qt::Checked;
    form.calibration_apply_pushButton->setEnabled(checked && !target_display_indices.isEmpty());
}

void kq_monitor_control_panel_dialog::on_calibration_apply_pushButton_clicked()
{
    QList<qint32> inputs;
    for (int i = 0; i < form.input_listWidget->count(); ++i) {
        const QListWidgetItem *item = form.input_listWidget->item(i);
        if (item->checkState() == Qt::Checked)
            inputs << item->data(Qt::UserRole).toInt();
    }
    if (inputs.isEmpty())
        return;
    job_list_item job;
    job.task_list = {JOB_TASK_INPUT_PICTURE_SETTINGS};
    job.input_list = inputs;
    run_jobs(job);
}
