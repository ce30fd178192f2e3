// The IR remote page's keypad and code sequences: a key is appended to the
// sequence text and, with Send Immediately, sent at once; the sequence is
// sent in one go, to one display directly or to several through jobs.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/HexListValidator.h"
#include "control_panel/core/ir_codes.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/job_list_item.h"
#include "jobs/job_task_type.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void kq_monitor_control_panel_dialog::init_ir_page()
{
    form.ir_remote_code_lineEdit->setValidator(new HexListValidator(this));
    connect(form.ir_remote_code_lineEdit, &QLineEdit::textChanged, this,
            &kq_monitor_control_panel_dialog::update_send_ir_sequence_state);
    for (const ir_codes::key &key : ir_codes::keypad()) {
        if (auto *button = findChild<QAbstractButton *>(QLatin1String(key.button))) {
            const quint8 code = key.code;
            connect(button, &QAbstractButton::clicked, this, [this, code] { append_ir_code(code); });
        }
    }
}

void kq_monitor_control_panel_dialog::append_ir_code(quint8 code)
{
    form.ir_remote_code_lineEdit->setText(ir_codes::append(form.ir_remote_code_lineEdit->text(), code));
    if (form.ir_remote_send_immediately_checkBox->isChecked())
        send_ir_codes(QByteArray(1, static_cast<char>(code)));
}

void kq_monitor_control_panel_dialog::on_ir_remote_sendsequence_pushButton_clicked()
{
    const ir_codes::sequence sequence = ir_codes::parse(form.ir_remote_code_lineEdit->text());
    {
        const wait_cursor cursor;
        if (!sequence.codes.isEmpty())
            send_ir_codes(sequence.codes);
    }
    form.ir_remote_code_lineEdit->setText(sequence.normal);
}

void kq_monitor_control_panel_dialog::on_ir_remote_clear_pushButton_clicked()
{
    form.ir_remote_code_lineEdit->setText(QString());
}

void kq_monitor_control_panel_dialog::update_send_ir_sequence_state()
{
    form.ir_remote_sendsequence_pushButton->setEnabled(form.ir_remote_code_lineEdit->hasAcceptableInput());
}

void kq_monitor_control_panel_dialog::send_ir_codes(const QByteArray &codes)
{
    // No target display: nothing to send to, and no progress dialog.
    if (target_display_indices.isEmpty())
        return;
    if (one_target()) {
        if (!open_port_for_display(target_display_indices.first()))
            return;
        const int status = monitor().send_ir_sequence(codes);
        close_port_for_display();
        setErrorMessage(status);
        return;
    }
    job_list_item job;
    job.task_list = {JOB_TASK_IR_SEQUENCE};
    job.ir_sequence = codes;
    run_jobs(job, true);
}
