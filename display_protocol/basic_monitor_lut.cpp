// Lookup tables: size, the three builders and both upload forms.
#include "display_protocol/basic_monitor.h"

#include "colour/CAdjustValue.h"
#include "colour/CSpline.h"
#include "colour/CTargetValue.h"
#include "display_protocol/PDCommProtocol_retry.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultEntries = 3072;
constexpr int kShortEntries = 768;
constexpr int kDefaultMax = 4080;
constexpr int kBlock = 8;
constexpr int kChannelStride = 0x400;      // C205 addresses: one 1024-entry block per channel
constexpr int kShortChannelSize = 256;     // C20B addresses: one 256-entry block per channel
constexpr int kMaxWireValue = 0xFFFF;
constexpr int kProgrammableTable = 6;
constexpr int kSecondProgrammableTable = 13;
constexpr int kThirdProgrammableTable = 14;
constexpr int kLastFixedColorMode = 13;   // a display showing a mode above it has the further tables
constexpr int kCurveScale = 65535;
constexpr uint kShortTablePauseMs = 500;

int round_down_half(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

// |count| entries of |table| from |first|, as 16-bit wire values.
QVector<quint16> wire_block(const int *first, int count)
{
    QVector<quint16> block(count);
    for (int i = 0; i < count; ++i)
        block[i] = static_cast<quint16>(qBound(0, first[i], kMaxWireValue));
    return block;
}

// One test-table value for index |i| of |n| with maximum |m|.
int test_table_value(int kind, int i, int n, int m)
{
    if (kind == 1) {
        if (i == 0)
            return m / 12;
        if (i == 1 || i == 2)
            return m;
        if (i == 3)
            return m / 8;
        return i <= 9 ? m / 12 : 0;
    }
    if (kind == 2) {
        struct distance_row { int from, to, divisor; };
        static const distance_row kRows[] = {{2, 3, 1}, {4, 4, 3}, {5, 6, 6}, {7, 8, 8}, {9, 10, 10}};
        const int d = n - i;
        for (const distance_row &row : kRows) {
            if (d >= row.from && d <= row.to)
                return m / row.divisor;
        }
        return 0;
    }
    return round_down_half(static_cast<double>(m) * i / (n - 1));
}

} // namespace

int basic_monitor::get_lut_size(int &entries, int &max)
{
    entries = raw_read_supported(control_code::kShortLookupTable) ? kShortEntries : kDefaultEntries;
    max = kDefaultMax;
    int current = 0, control_max = 0;
    quint8 result = 0, type = 0;
    // A maximum of 0 would turn every table into zeros: keep the default.
    if (get_vcp_raw(control_code::kLookupTableMaximum, current, control_max, result, type) == kOk && result == 0
        && current > 0)
        max = current;
    return kOk;
}

int basic_monitor::build_lut_from_calibration(const CAdjustValue &record, const CTargetValue &target,
                                              QVector<int> &table)
{
    int entries = 0, max = 0;
    get_lut_size(entries, max);
    const int n = entries / 3;
    QVector<int> built(entries, 0);
    const bool trimmed = record.visual_trim_flags & CAdjustValue::kTrimGains;
    std::array<int, 3> channel_max {};
    for (size_t c = 0; c < 3; ++c) {
        const double gain = record.gain[c] * (trimmed ? record.visual_trim_multiplier[c] : 1.0);
        channel_max[c] = std::min(round_down_half(max * gain), max);
    }
    const bool native = target.GetGammaType() == CTargetValue::kGammaNative;
    const CColorValue::ChannelCurves &curves = record.measurements.correction_curves;
    if (!native && std::any_of(curves.begin(), curves.end(), [](const CSpline &c) { return !c.IsValid(); }))
        return kNoCorrectionCurve;
    for (int i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / (n - 1);
        for (size_t c = 0; c < 3; ++c) {
            const double level = native ? x : curves[c].Evaluate(x);
            // A curve that leaves [0, 1] would wrap on the wire.
            built[static_cast<int>(c) * n + i] = qBound(0, round_down_half(channel_max[c] * level), max);
        }
    }
    table = built;
    return kOk;
}

int basic_monitor::build_lut_from_calibration_ex(int kind, QVector<int> &table)
{
    int entries = 0, max = 0;
    get_lut_size(entries, max);
    const int n = entries / 3;
    table = QVector<int>(entries, 0);
    for (int i = 0; i < n; ++i) {
        const int v = test_table_value(kind, i, n, max);
        table[i] = table[n + i] = table[2 * n + i] = v;
    }
    return kOk;
}

int basic_monitor::build_lut_from_curves(const CSpline &red, const CSpline &green, const CSpline &blue,
                                         QVector<int> &table)
{
    broadcast_message(2, 99);
    QVector<int> built(kShortEntries, 0);
    const CSpline *curves[] = {&red, &green, &blue};
    for (int i = 0; i < kShortChannelSize; ++i) {
        const double x = i / 255.0;
        for (int c = 0; c < 3; ++c)
            built[c * kShortChannelSize + i] = qBound(0, round_down_half(curves[c]->Evaluate(x) * kCurveScale),
                                                      kCurveScale);
    }
    table = built;
    return kOk;
}

void basic_monitor::progress(int &step, int total)
{
    emit set_get_vcp_progess(step, total);
    ++step;
}

int basic_monitor::write_lut_channels(const QVector<int> &table, int &step, int total)
{
    struct block { int first_entry, count, offset; };
    QVector<block> blocks;
    if (table.size() == kShortEntries) {
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < kShortChannelSize; j += kBlock)
                blocks.append({c * kShortChannelSize + j, kBlock, c * kChannelStride + j});
        }
    } else {
        for (int offset = 0; offset < table.size(); offset += kBlock)
            blocks.append({offset, std::min(kBlock, table.size() - offset), offset});
    }
    progress(step, total);
    for (const block &b : blocks) {
        const QVector<quint16> values = wire_block(table.constData() + b.first_entry, b.count);
        if (const int status = link_command(
                [&] { return m_link->write_lut_block(b.offset, values.constData(), b.count); }))
            return status;
        broadcast_message(1, 0);
        progress(step, total);
        if (m_stop.load())
            return kStopped;
    }
    return kOk;
}

int basic_monitor::color_mode_for_gamma_table(int number)
{
    switch (number) {
    case 2: return kSecondProgrammableTable;
    case 3: return kThirdProgrammableTable;
    default: return kProgrammableTable;
    }
}

int basic_monitor::upload_lut(const QVector<int> &table, int gamma_table_number)
{
    // The long form addresses three 1024-entry channel blocks.
    if (table.isEmpty())
        return link_status::kNoValues;
    if (table.size() > 3 * kChannelStride)
        return link_status::kTooManyValues;
    const int total = table.size() / kBlock + 6;
    int step = 1;
    emit set_get_vcp_progess(0, total);
    int current = 0, max = 0;
    if (const int status = get_vcp_268(current, max))
        return status;
    const int wanted = current > kLastFixedColorMode ? color_mode_for_gamma_table(gamma_table_number)
                                                     : kProgrammableTable;
    if (const int status = set_vcp_268(wanted))
        return status;
    broadcast_message(1, 0);
    progress(step, total);
    if (table.size() == kShortEntries) {
        set_value(control_code::kShortLookupTable, 1);
        pause(kShortTablePauseMs);
    }
    if (const int status = write_lut_channels(table, step, total))
        return status;
    progress(step, total);
    if (const int status = send_c206())
        return status;
    broadcast_message(1, 0);
    if (m_stop.load())
        return kStopped;
    progress(step, total);
    if (const int status = send_c207())
        return status;
    broadcast_message(1, 0);
    progress(step, total);
    return kOk;
}

int basic_monitor::upload_lut_c20b(const std::vector<int> &table)
{
    // Channels sit 256 entries apart in this form: a longer channel would
    // overwrite the next one, so such a table is refused before any write.
    const int size = static_cast<int>(table.size());
    if (size == 0 || size % 3 != 0)
        return link_status::kNoValues;
    const int n = size / 3;
    if (n > kShortChannelSize)
        return link_status::kTooManyValues;
    const int total = size / kBlock + 6;
    emit set_get_vcp_progess(0, total);
    int current = 0, max = 0;
    get_vcp_268(current, max);
    if (current != kProgrammableTable) {
        if (const int status = set_vcp_268(kProgrammableTable))
            return status;
    }
    broadcast_message(1, 0);
    emit set_get_vcp_progess(1, total);
    if (const int status = set_value(control_code::kShortLookupTable, 1))
        return status;
    int step = 2;
    for (int c = 0; c < 3; ++c) {
        for (int j = 0; j < n; j += kBlock) {
            const int count = std::min(kBlock, n - j);
            const QVector<quint16> values = wire_block(table.data() + c * n + j, count);
            const int offset = c * kShortChannelSize + j;
            if (const int status = link_command(
                    [&] { return m_link->write_lut_block_c20b(offset, values.constData(), count); }))
                return status;
            broadcast_message(1, 0);
            progress(step, total);
        }
    }
    if (const int status = send_c207())
        return status;
    broadcast_message(1, 0);
    progress(step, total);
    if (const int status = send_c206())
        return status;
    broadcast_message(1, 0);
    progress(step, total);
    return kOk;
}

int basic_monitor::read_lut_block(int start, int count, QVector<int> &values)
{
    values.clear();
    if (count <= 0)
        return link_status::kNoValues;
    QVector<int> read;
    for (int done = 0; done < count; done += PDCommProtocol::kMaxLutValues) {
        const int chunk = std::min<int>(PDCommProtocol::kMaxLutValues, count - done);
        quint16 block[PDCommProtocol::kMaxLutValues] = {};
        if (const int status = link_command([&] { return m_link->read_lut_block(start + done, block, chunk); }))
            return status;
        for (int i = 0; i < chunk; ++i)
            read.append(block[i]);
    }
    values = read;
    return kOk;
}
