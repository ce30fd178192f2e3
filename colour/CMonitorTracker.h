#pragma once

#include "colour/monitor_tracker_item.h"

#include <QDataStream>
#include <QList>
#include <QMutex>
#include <QObject>

#include <atomic>

// The one store of the wall's per-display records, keyed by model name and
// serial number (exact, case-sensitive). Display jobs on worker threads and
// the user interface copy records out and write them back; every access holds
// the store's mutex for the whole lookup and copy, and data_changed is emitted
// after the mutex is released, from the thread that made the change.
class CMonitorTracker : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 kMagic = 43962; // 0xABBA
    static constexpr qint32 kVersion = 100;

    CMonitorTracker();

    // Copies the record with the item's keys into |item| and returns its index;
    // -1 and a default record with empty keys when there is none.
    int GetAdjustValue(monitor_tracker_item &item) const;
    // Overwrites the record with the item's keys or appends a copy; marks the
    // store modified. Returns 0.
    int SetAdjustValue(const monitor_tracker_item &item);
    int Clear();
    int GetCount() const;

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // A wrong magic or version leaves the store unchanged. Otherwise the store
    // is emptied and refilled; at the first damaged record its code is
    // returned and the records read before it stay.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

signals:
    void data_changed();

private:
    int FindIndex(const QString &modelName, const QString &serialNumber) const;
    void Store(const monitor_tracker_item &item);

    const monitor_tracker_item m_defaultItem;
    QList<monitor_tracker_item> m_items;
    std::atomic<bool> m_modified{false};
    mutable QMutex m_mutex;
};
