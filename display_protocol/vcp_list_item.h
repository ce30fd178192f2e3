#pragma once

#include <QMetaType>
#include <QtGlobal>

// One step of an ordered list of display control operations, run by
// basic_monitor::apply_vcp_list. The step keeps what happened to it: the
// value read or written, the control's maximum (when the step read) and its
// own result code.
struct vcp_list_item
{
    enum action_kind : qint32 {
        kRead = 0,          // read the control's value and maximum
        kWrite = 1,         // write |value|
        kWriteMax = 2,      // write the control's maximum
        kWriteZero = 3,     // write 0 (without read_first the stored value is written)
        kWriteHalfMax = 4,  // write half the maximum, rounded down
    };

    qint32 action = kRead;
    qint32 read_first = 0;
    qint32 code = 0;        // page * 256 + opcode
    qint32 value = 0;       // in and out
    qint32 max = 0;         // out
    qint32 result = 0;      // out

    static vcp_list_item read(qint32 code) { return make(kRead, code, 0, false); }
    static vcp_list_item write(qint32 code, qint32 value, bool read_first = false)
    {
        return make(kWrite, code, value, read_first);
    }
    static vcp_list_item make(qint32 action, qint32 code, qint32 value = 0, bool read_first = false)
    {
        vcp_list_item item;
        item.action = action;
        item.read_first = read_first ? 1 : 0;
        item.code = code;
        item.value = value;
        return item;
    }
};

Q_DECLARE_METATYPE(vcp_list_item)
