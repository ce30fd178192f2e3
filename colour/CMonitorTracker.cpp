#include "colour/CMonitorTracker.h"

#include "colour/stream_record.h"

#include <QMutexLocker>

namespace {

// Bounds a damaged record count long before it could exhaust memory.
constexpr qint32 kMaxRecords = 65536;
// Two empty keys and a record header; every real record is larger.
constexpr qint64 kMinRecordBytes = 4 + 4 + 8;

} // namespace

CMonitorTracker::CMonitorTracker()
{
    emit data_changed();
}

int CMonitorTracker::FindIndex(const QString &modelName, const QString &serialNumber) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].HasKey(modelName, serialNumber))
            return i;
    }
    return -1;
}

void CMonitorTracker::Store(const monitor_tracker_item &item)
{
    const int index = FindIndex(item.model_name, item.serial_number);
    if (index < 0)
        m_items.append(item);
    else
        m_items[index] = item;
}

int CMonitorTracker::GetAdjustValue(monitor_tracker_item &item) const
{
    QMutexLocker lock(&m_mutex);
    const int index = FindIndex(item.model_name, item.serial_number);
    item = index < 0 ? m_defaultItem : m_items[index];
    return index;
}

int CMonitorTracker::SetAdjustValue(const monitor_tracker_item &item)
{
    {
        QMutexLocker lock(&m_mutex);
        Store(item);
        m_modified = true;
    }
    emit data_changed();
    return 0;
}

int CMonitorTracker::Clear()
{
    {
        QMutexLocker lock(&m_mutex);
        m_items.clear();
        m_modified = false;
    }
    emit data_changed();
    return 0;
}

int CMonitorTracker::GetCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_items.size();
}

int CMonitorTracker::Read(QDataStream &stream)
{
    if (const int result = stream_record::read_header(stream, kMagic, kVersion, kVersion))
        return result;
    {
        QMutexLocker lock(&m_mutex);
        m_items.clear();
        qint32 count = 0;
        if (!stream_record::read_count(stream, &count, kMaxRecords, kMinRecordBytes))
            return stream_record::kErrRead;
        for (qint32 i = 0; i < count; ++i) {
            monitor_tracker_item item;
            stream >> item.model_name >> item.serial_number;
            if (const int result = item.Read(stream))
                return result;
            // A repeated key replaces the earlier record, so keys stay unique.
            Store(item);
        }
        m_modified = false;
    }
    emit data_changed();
    return 0;
}

int CMonitorTracker::Write(QDataStream &stream) const
{
    QMutexLocker lock(&m_mutex);
    if (const int result = stream_record::write_header(stream, kMagic, kVersion))
        return result;
    stream << qint32(m_items.size());
    for (const monitor_tracker_item &item : m_items) {
        stream << item.model_name << item.serial_number;
        if (const int result = item.Write(stream))
            return result;
    }
    // An empty store has no record to report a failed count.
    return stream_record::write_status(stream);
}
