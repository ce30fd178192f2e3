#pragma once

#include "app/controller/display_job_status_info_item.h"
#include "app/controller/display_layout_item.h"

#include <QDataStream>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class CAdjustValue;
class CMonitorTracker;
class CPreferences;

// The model of the video wall: its displays in numbering order with their
// positions, links and state, the wall's size and numbering options, the
// selected display and each display's latest job status. Views read items by
// index and follow its signals; job results arrive through its slots.
// User-interface thread only.
class layout_manager : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 kMagic = 0xA0A0;
    static constexpr qint32 kVersion = 102;
    static constexpr qint32 kFirstVersionWithText = 101;
    static constexpr qint32 kFirstVersionWithOrientation = 102;

    // |records| is the store the record-joined queries look in, |preferences|
    // gives the serial port of reset displays; either may be null.
    layout_manager(CMonitorTracker *records, CPreferences *preferences, QObject *parent = nullptr);

    // 0, or -1 for an index outside the list.
    int get_item(int index, display_layout_item &item) const;
    int set_item(int index, const display_layout_item &item, bool notify);
    // The number of items.
    int get_size(int &columns, int &rows) const;
    int item_count() const { return m_items.size(); }
    int find_item_by_position(int column, int row) const;
    // The smallest monitor ID, never above 99; 1 for an empty layout.
    int get_lowest_monitor_id() const;
    bool any_address_conflict() const;
    bool any_identity_conflict() const;
    // The result of the last stream read or record lookup.
    int get_status() const { return m_status; }
    bool is_modified() const { return m_modified; }
    void set_modified(bool modified) { m_modified = modified; }
    int get_current_index() const { return m_currentIndex; }

    // Replaces the displays by a new wall numbered from |start_corner|; -1
    // and nothing changed for an invalid size or corner.
    int create_layout(int columns, int rows, int first_monitor_id, int start_corner, const QString &address,
                      int connection_type, bool step_monitor_id, bool clockwise, bool zigzag,
                      bool step_address, int orientation);
    int build_layout(int columns, int rows, int first_monitor_id, int start_corner, const QString &address,
                     bool lan, bool step_monitor_id, bool clockwise, bool zigzag, bool step_address,
                     int orientation)
    {
        return create_layout(columns, rows, first_monitor_id, start_corner, address,
                             lan ? display_layout_item::kLan : display_layout_item::kRs232, step_monitor_id,
                             clockwise, zigzag, step_address, orientation);
    }
    // Forgets what was learnt about every display (for a new project): RS-232
    // on the preferences' port, unverified; positions and IDs stay.
    void reset_items();
    // Recomputes the derived flags and emits layout_changed().
    void update_layout();

    // Indexes without an ID conflict, enabled ones only when asked; with
    // |current_only| just the selected display, when it passes.
    QList<int> get_display_indexes(bool current_only, bool enabled_only) const;
    // Verified displays, without looking at their records.
    QList<int> get_connected_display_indexes(bool current_only, bool enabled_only) const;
    // The distinct LAN addresses in item order, then "192.168.0.10" unless present.
    QStringList get_ip_address_list() const;

    // Queries joined with the display records: an index stays when its record
    // exists and passes; the status takes the last lookup's result.
    QList<int> get_calibrated_display_indexes(bool current_only, bool enabled_only);
    QList<int> get_calibrated_display_indexes_by_mode(quint8 mode, bool current_only, bool enabled_only);
    QList<int> get_uncalibrated_display_indexes(bool current_only, bool enabled_only);
    QList<int> get_unmeasured_display_indexes(bool current_only, bool enabled_only);
    // Verified displays with the internal calibration engine; narrowed to the
    // never-calibrated or calibrated ones when exactly one flag is set.
    QList<int> get_display_indexes_by_calibration_state(bool current_only, bool enabled_only,
                                                        bool uncalibrated, bool calibrated);
    // Verified displays whose record has the uniformity capability.
    QList<int> get_display_indexes_with_record_flag(bool current_only, bool enabled_only);
    int count_measured_displays(bool current_only, bool enabled_only);
    // The non-empty MAC addresses of every display that has a record.
    QStringList get_display_mac_addresses();
    // As the record queries above, but the record's MAC address text instead
    // of the index, for each display whose record has one.
    QStringList get_display_device_texts(bool current_only, bool enabled_only);

    // The layout's part of a project stream. Reading sets the status: 0,
    // -1502 (not a layout), -1501 (newer version) or -1503 (damaged or cut
    // short); on failure the item list is left empty.
    QDataStream &read(QDataStream &stream);
    QDataStream &write(QDataStream &stream) const;

signals:
    void layout_changed();
    void item_changed();
    void display_job_status_info_item_changed(int index);

public slots:
    void update_display_job_status_info_item(int index, display_job_status_info_item item);
    void update_display_model_info_status_item(int position, QString model_name, QString serial_number,
                                               int verify_status);
    void selection_changed(int position);
    void reset_all_display_job_status_info_item();

private:
    using record_test = std::function<bool(const display_layout_item &, const CAdjustValue &)>;

    bool isIndex(int index) const { return index >= 0 && index < m_items.size(); }
    QList<int> indexesWhere(bool current_only, bool enabled_only,
                            const std::function<bool(const display_layout_item &)> &test) const;
    QList<int> indexesWithRecord(bool current_only, bool enabled_only, const record_test &test);
    bool lookUpRecord(const display_layout_item &item, CAdjustValue &record);
    int readItems(QDataStream &stream, qint32 version, qint32 columns, qint32 rows,
                  QList<display_layout_item> &items) const;

    CMonitorTracker *m_records;
    CPreferences *m_preferences;
    QList<display_layout_item> m_items;
    qint32 m_columns = 0;
    qint32 m_rows = 0;
    qint32 m_startCorner = 0;
    bool m_clockwise = true;
    bool m_zigzag = false;
    bool m_modified = false;
    bool m_stepAddress = false;
    qint32 m_status = 0;
    qint32 m_currentIndex = 0;
};
