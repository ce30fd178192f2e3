#include "jobs/calibration_history_task.h"

#include "colour/CAdjustValue.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/calibration_history_entry.h"
#include "display_protocol/link_status.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_task_inputs.h"

#include <QDate>
#include <QTime>

namespace {

constexpr int kCenturyBase = 2000;
constexpr qint32 kEmptyValue = -1;
constexpr quint8 kEmptyType = 255;
constexpr quint8 kEmptyByte = 'c';

template <std::size_t N>
QString text_of(const std::array<quint8, N> &bytes)
{
    QByteArray text;
    for (quint8 byte : bytes) {
        if (byte == 0)
            break;
        text.append(static_cast<char>(byte));
    }
    return QString::fromLatin1(text);
}

} // namespace

calibration_history_item history_item_from_entry(const calibration_history_entry &entry)
{
    calibration_history_item item;
    item.date_time = QDateTime(QDate(kCenturyBase + entry.year, entry.month, entry.day),
                               QTime(entry.hour, entry.minute));
    item.value = static_cast<qint32>(quint32(entry.hours_running_high) << 16 | entry.hours_running_low);
    item.type = entry.calibration_type;
    item.sensor_model = text_of(entry.first_text);
    item.sensor_serial = text_of(entry.second_text);
    item.further_bytes = {{entry.measurement_points_h, entry.measurement_points_v, entry.command_id}};
    return item;
}

calibration_history_item empty_history_item()
{
    calibration_history_item item;
    item.value = kEmptyValue;
    item.type = kEmptyType;
    item.further_bytes = {{kEmptyByte, kEmptyByte, kEmptyByte}};
    return item;
}

int read_calibration_history(CPDLANConnectionObject &worker)
{
    if (const int status = worker.ensure_display_identified())
        return status;
    worker.report_step(CPDLANConnectionObject::tr("Reading Calibration History..."));
    monitor_tracker_item record;
    load_display_record(worker.job(), record, true);
    if (record.engine_capability_word == 0)
        return 0;
    QList<calibration_history_item> history;
    for (int index = 1; index <= CAdjustValue::kMaxHistoryEntries; ++index) {
        calibration_history_entry entry;
        const int status = worker.link().read_calibration_history_entry(index, entry);
        if (status == link_status::kResultNotZero) {
            history << empty_history_item();
            break;
        }
        if (status != 0)
            return status;
        history << history_item_from_entry(entry);
    }
    record.SetCalibrationHistory(history);
    store_display_record(record);
    return 0;
}
