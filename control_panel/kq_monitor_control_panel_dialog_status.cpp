// The status page: what the display reports about itself, and its copy to
// the clipboard.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/controller/layout_manager.h"
#include "control_panel/core/status_reader.h"
#include "control_panel/core/status_texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

void kq_monitor_control_panel_dialog::read_status_page()
{
    QList<QLabel *> labels;
    for (int f = 0; f < status_reader::kFieldCount; ++f) {
        labels << findChild<QLabel *>(status_reader::value_label(static_cast<status_reader::field>(f)));
        labels.last()->clear();
    }
    // Painting between the reads shows the values as they come, without
    // running events (a timer's write) while the link is in use.
    const int status = status_reader::read(
        monitor(), [&](status_reader::field f, const QString &text) { labels.at(f)->setText(text); },
        [this] { form.page_status->repaint(); });
    setErrorMessage(status);
}

void kq_monitor_control_panel_dialog::on_copy_status_pushButton_clicked()
{
    if (!one_target())
        return;
    display_layout_item item;
    layout().get_item(target_display_indices.first(), item);
    QList<QPair<QString, QString>> rows;
    for (int f = 0; f < status_reader::kFieldCount; ++f) {
        const auto field = static_cast<status_reader::field>(f);
        rows << qMakePair(findChild<QLabel *>(status_reader::caption_label(field))->text(),
                          findChild<QLabel *>(status_reader::value_label(field))->text());
    }
    QGuiApplication::clipboard()->setText(status_texts::clipboard_text(item, rows));
}
