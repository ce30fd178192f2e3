#include "app/controller/layout_manager.h"

#include "app/controller/layout_builder.h"
#include "app/services/preferences.h"
#include "app/services/serial_ports.h"
#include "colour/CMonitorTracker.h"
#include "colour/stream_record.h"

#include <algorithm>

namespace {

const QString kDefaultIpAddress = QStringLiteral("192.168.0.10");
constexpr int kHighestPresetMonitorId = 99;
// Smallest item record of a stream (version 100): five numbers, a flag and
// three strings of at least their length word.
constexpr qint64 kMinItemBytes = 5 * 4 + 1 + 3 * 4;

// A wall that can be built, or the empty one a new project starts with.
bool is_readable_wall_size(qint32 columns, qint32 rows)
{
    return (columns == 0 && rows == 0) || is_valid_wall_size(columns, rows);
}

} // namespace

layout_manager::layout_manager(CMonitorTracker *records, CPreferences *preferences, QObject *parent)
    : QObject(parent), m_records(records), m_preferences(preferences)
{
}

int layout_manager::get_item(int index, display_layout_item &item) const
{
    if (!isIndex(index))
        return -1;
    item = m_items.at(index);
    return 0;
}

int layout_manager::set_item(int index, const display_layout_item &item, bool notify)
{
    if (!isIndex(index))
        return -1;
    m_items[index] = item;
    update_derived_flags(m_items);
    m_modified = true;
    if (notify)
        emit layout_changed();
    return 0;
}

int layout_manager::get_size(int &columns, int &rows) const
{
    columns = m_columns;
    rows = m_rows;
    return m_items.size();
}

int layout_manager::find_item_by_position(int column, int row) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].column == column && m_items[i].row == row)
            return i;
    }
    return -1;
}

int layout_manager::get_lowest_monitor_id() const
{
    if (m_items.isEmpty())
        return 1;
    int lowest = kHighestPresetMonitorId;
    for (const display_layout_item &item : m_items)
        lowest = std::min(lowest, int(item.monitor_id));
    return lowest;
}

bool layout_manager::any_address_conflict() const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [](const display_layout_item &item) { return item.id_conflict; });
}

bool layout_manager::any_identity_conflict() const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [](const display_layout_item &item) { return item.duplicate_display; });
}

int layout_manager::create_layout(int columns, int rows, int first_monitor_id, int start_corner,
                                  const QString &address, int connection_type, bool step_monitor_id,
                                  bool clockwise, bool zigzag, bool step_address, int orientation)
{
    if (!is_valid_wall_size(columns, rows) || start_corner < kTopLeft || start_corner > kBottomRight)
        return -1;
    layout_parameters parameters;
    parameters.columns = columns;
    parameters.rows = rows;
    parameters.first_monitor_id = first_monitor_id;
    parameters.start_corner = start_corner;
    parameters.address = address;
    parameters.connection_type = connection_type;
    parameters.monitor_id_step = step_monitor_id ? 1 : 0;
    parameters.clockwise = clockwise;
    parameters.zigzag = zigzag;
    parameters.address_step = step_address ? 1 : 0;
    parameters.orientation = orientation;

    m_columns = columns;
    m_rows = rows;
    m_startCorner = start_corner;
    m_clockwise = clockwise;
    m_zigzag = zigzag;
    m_stepAddress = step_address;
    m_items = build_layout_items(parameters);
    update_derived_flags(m_items);
    m_modified = true;
    emit layout_changed();
    return 0;
}

void layout_manager::reset_items()
{
    QString port;
    if (m_preferences) {
        port = m_preferences->GetSerialPortName();
    } else {
        QStringList ports;
        list_com_port_names(ports);
        port = ports.value(0);
    }
    for (display_layout_item &item : m_items) {
        item.enabled = true;
        item.verify_status = display_layout_item::kNotVerified;
        item.model_name.clear();
        item.serial_number.clear();
        item.display_text.clear();
        item.connection_type = display_layout_item::kRs232;
        item.connection_address = port;
        item.id_conflict = item.duplicate_display = false;
        item.job_status = display_layout_item::job_status_block();
        item.orientation = display_layout_item::kOrientationNotSet;
    }
    m_modified = true;
    emit layout_changed();
}

void layout_manager::update_layout()
{
    update_derived_flags(m_items);
    emit layout_changed();
}

QList<int> layout_manager::indexesWhere(bool current_only, bool enabled_only,
                                        const std::function<bool(const display_layout_item &)> &test) const
{
    auto passes = [&](int index) {
        const display_layout_item &item = m_items.at(index);
        return !item.id_conflict && (item.enabled || !enabled_only) && test(item);
    };
    QList<int> indexes;
    if (current_only) {
        // The selection is kept across rebuilds, so it may point past the list.
        if (isIndex(m_currentIndex) && passes(m_currentIndex))
            indexes.append(m_currentIndex);
        return indexes;
    }
    for (int i = 0; i < m_items.size(); ++i) {
        if (passes(i))
            indexes.append(i);
    }
    return indexes;
}

QList<int> layout_manager::get_display_indexes(bool current_only, bool enabled_only) const
{
    return indexesWhere(current_only, enabled_only, [](const display_layout_item &) { return true; });
}

QList<int> layout_manager::get_connected_display_indexes(bool current_only, bool enabled_only) const
{
    return indexesWhere(current_only, enabled_only, [](const display_layout_item &item) {
        return item.verify_status == display_layout_item::kVerified;
    });
}

QStringList layout_manager::get_ip_address_list() const
{
    QStringList addresses;
    for (const display_layout_item &item : m_items) {
        if (item.connection_type == display_layout_item::kLan && !item.connection_address.isEmpty()
            && !addresses.contains(item.connection_address))
            addresses.append(item.connection_address);
    }
    if (!addresses.contains(kDefaultIpAddress))
        addresses.append(kDefaultIpAddress);
    return addresses;
}

bool layout_manager::lookUpRecord(const display_layout_item &item, CAdjustValue &record)
{
    const bool found = m_records && look_up_display_record(*m_records, item, record);
    m_status = found ? 0 : -1;
    return found;
}

QList<int> layout_manager::indexesWithRecord(bool current_only, bool enabled_only, const record_test &test)
{
    QList<int> indexes;
    for (int index : get_display_indexes(current_only, enabled_only)) {
        CAdjustValue record;
        if (lookUpRecord(m_items.at(index), record) && test(m_items.at(index), record))
            indexes.append(index);
    }
    return indexes;
}

namespace {

bool calibrated(const CAdjustValue &record)
{
    return !record.GetCalibrationDateTime().isNull();
}

bool measured(const CAdjustValue &record)
{
    return !record.measurements.measurement_date_time.isNull();
}

bool verified(const display_layout_item &item)
{
    return item.verify_status == display_layout_item::kVerified;
}

} // namespace

QList<int> layout_manager::get_calibrated_display_indexes(bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only,
                             [](const display_layout_item &, const CAdjustValue &record) { return calibrated(record); });
}

QList<int> layout_manager::get_calibrated_display_indexes_by_mode(quint8 mode, bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only, [mode](const display_layout_item &, const CAdjustValue &record) {
        return calibrated(record) && record.calibration_mode == mode;
    });
}

QList<int> layout_manager::get_uncalibrated_display_indexes(bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only,
                             [](const display_layout_item &, const CAdjustValue &record) { return !calibrated(record); });
}

QList<int> layout_manager::get_unmeasured_display_indexes(bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only,
                             [](const display_layout_item &, const CAdjustValue &record) { return !measured(record); });
}

QList<int> layout_manager::get_display_indexes_by_calibration_state(bool current_only, bool enabled_only,
                                                                    bool uncalibrated, bool calibrated_only)
{
    return indexesWithRecord(current_only, enabled_only,
                             [uncalibrated, calibrated_only](const display_layout_item &item, const CAdjustValue &record) {
                                 if (!verified(item) || record.engine_capability_word == 0)
                                     return false;
                                 if (uncalibrated != calibrated_only)
                                     return uncalibrated ? !calibrated(record) : calibrated(record);
                                 return true;
                             });
}

QList<int> layout_manager::get_display_indexes_with_record_flag(bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only, [](const display_layout_item &item, const CAdjustValue &record) {
        return verified(item) && record.capability_flags != 0;
    });
}

int layout_manager::count_measured_displays(bool current_only, bool enabled_only)
{
    return indexesWithRecord(current_only, enabled_only,
                             [](const display_layout_item &, const CAdjustValue &record) { return measured(record); })
        .size();
}

QStringList layout_manager::get_display_device_texts(bool current_only, bool enabled_only)
{
    QStringList texts;
    for (int index : get_display_indexes(current_only, enabled_only)) {
        CAdjustValue record;
        if (lookUpRecord(m_items.at(index), record) && !record.GetMacAddress().isEmpty())
            texts.append(record.GetMacAddress());
    }
    return texts;
}

QStringList layout_manager::get_display_mac_addresses()
{
    QStringList addresses;
    for (const display_layout_item &item : m_items) {
        CAdjustValue record;
        if (lookUpRecord(item, record) && !record.GetMacAddress().isEmpty())
            addresses.append(record.GetMacAddress());
    }
    return addresses;
}

int layout_manager::readItems(QDataStream &stream, qint32 version, qint32 columns, qint32 rows,
                              QList<display_layout_item> &items) const
{
    qint32 count = 0;
    if (!stream_record::read_count(stream, &count, kMaxWallDisplays, kMinItemBytes))
        return stream_record::kErrRead;
    // The views lay out a grid of this size, with or without displays in it.
    if (!is_readable_wall_size(columns, rows))
        return stream_record::kErrRead;
    for (qint32 i = 0; i < count; ++i) {
        display_layout_item item;
        quint8 enabled = 0;
        stream >> item.column >> item.row >> enabled >> item.monitor_id >> item.verify_status
            >> item.serial_number >> item.model_name >> item.connection_type >> item.connection_address;
        if (version >= kFirstVersionWithText)
            stream >> item.display_text;
        if (version >= kFirstVersionWithOrientation)
            stream >> item.orientation;
        // Views place displays by position: one outside the wall is damage.
        if (stream.status() != QDataStream::Ok || item.column < 0 || item.column >= columns || item.row < 0
            || item.row >= rows)
            return stream_record::kErrRead;
        item.enabled = enabled != 0;
        items.append(item);
    }
    return stream_record::kOk;
}

QDataStream &layout_manager::read(QDataStream &stream)
{
    m_items.clear();
    qint32 version = 0;
    m_status = stream_record::read_header(stream, quint32(kMagic), 0, kVersion, &version);
    if (m_status != stream_record::kOk)
        return stream;
    qint32 columns = 0;
    qint32 rows = 0;
    qint32 startCorner = 0;
    stream >> columns >> rows >> startCorner;
    QList<display_layout_item> items;
    m_status = stream.status() == QDataStream::Ok ? readItems(stream, version, columns, rows, items) : stream_record::kErrRead;
    if (m_status != stream_record::kOk)
        return stream;
    m_columns = columns;
    m_rows = rows;
    m_startCorner = startCorner;
    m_items = items;
    update_derived_flags(m_items);
    return stream;
}

QDataStream &layout_manager::write(QDataStream &stream) const
{
    stream << kMagic << kVersion << m_columns << m_rows << m_startCorner << qint32(m_items.size());
    for (const display_layout_item &item : m_items) {
        stream << item.column << item.row << quint8(item.enabled ? 1 : 0) << item.monitor_id << item.verify_status
               << item.serial_number << item.model_name << item.connection_type << item.connection_address
               << item.display_text << item.orientation;
    }
    return stream;
}

void layout_manager::update_display_job_status_info_item(int index, display_job_status_info_item item)
{
    if (!isIndex(index))
        return;
    m_items[index].job_status = display_layout_item::job_status_block::from(item);
    emit display_job_status_info_item_changed(index);
}

void layout_manager::update_display_model_info_status_item(int position, QString model_name,
                                                           QString serial_number, int verify_status)
{
    if (!isIndex(position))
        return;
    display_layout_item &item = m_items[position];
    item.model_name = model_name;
    item.serial_number = serial_number;
    if (verify_status >= 0)
        item.verify_status = verify_status;
    // A display that now reports the identity of another is a duplicate.
    update_derived_flags(m_items);
    emit layout_changed();
}

void layout_manager::selection_changed(int position)
{
    m_currentIndex = position;
}

void layout_manager::reset_all_display_job_status_info_item()
{
    for (int i = 0; i < m_items.size(); ++i) {
        m_items[i].job_status = display_layout_item::job_status_block();
        emit display_job_status_info_item_changed(i);
    }
}
