// Lookup-table blocks and colour-cube points.
#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

#include <algorithm>

namespace {

constexpr int kWait = 6000;
constexpr int kPointWait = 2000;
constexpr int kBlockPauseMs = 50;
constexpr int kHexPerValue = 4;
constexpr int kHexPerPoint = 12;
constexpr int kCubeChunk = 8;

int block_size_status(int count)
{
    if (count > PDCommProtocol::kMaxLutValues)
        return link_status::kTooManyValues;
    if (count <= 0)
        return link_status::kNoValues;
    return link_status::kOk;
}

} // namespace

int PDCommProtocol::lut_write(quint16 code, int offset, const quint16 *values, int count)
{
    if (const int status = block_size_status(count))
        return status;
    begin_request('A');
    append_hex_word(code);
    append_hex_word(static_cast<quint16>(offset));
    for (int i = 0; i < count; ++i)
        append_hex_word(values[i]);
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(8))
        return status;
    if (const int status = expect_word(command_code::reply(code)))
        return status;
    if (const int status = expect_word(static_cast<quint16>(offset)))
        return status;
    if (remaining() != count * kHexPerValue)
        return link_status::kBadLength;
    for (int i = 0; i < count; ++i) {
        if (const int status = expect_word(values[i]))
            return status;
    }
    pause(kBlockPauseMs);
    return link_status::kOk;
}

int PDCommProtocol::lut_read(quint16 code, int offset, quint16 *values, int count)
{
    if (const int status = block_size_status(count))
        return status;
    begin_request('A');
    append_hex_word(code);
    append_hex_word(static_cast<quint16>(offset));
    append_hex_byte(static_cast<quint8>(count));
    if (const int status = exchange(kWait))
        return status;
    if (const int status = expect_type('B'))
        return status;
    if (const int status = expect_min_length(4))
        return status;
    if (const int status = expect_word(command_code::reply(code)))
        return status;
    if (remaining() != count * kHexPerValue)
        return link_status::kBadLength;
    for (int i = 0; i < count; ++i)
        values[i] = take_hex_word();
    pause(kBlockPauseMs);
    return link_status::kOk;
}

int PDCommProtocol::write_lut_block(int offset, const quint16 *values, int count)
{
    return lut_write(command_code::kWriteTable, offset, values, count);
}

int PDCommProtocol::write_lut_block_c20b(int offset, const quint16 *values, int count)
{
    return lut_write(command_code::kWriteShortTable, offset, values, count);
}

int PDCommProtocol::read_lut_block(int offset, quint16 *values, int count)
{
    return lut_read(command_code::kReadTable, offset, values, count);
}

int PDCommProtocol::read_lut_block_c20a(int offset, quint16 *values, int count)
{
    return lut_read(command_code::kReadShortTable, offset, values, count);
}

int PDCommProtocol::write_lut_block_verified(int offset, const quint16 *values, int count)
{
    if (const int status = block_size_status(count))
        return status;
    int status = link_status::kOk;
    const quint32 tries = m_attempt_count + 1;
    for (quint32 attempt = 0; attempt < tries; ++attempt) {
        quint16 read_back[kMaxLutValues] = {};
        status = write_lut_block(offset, values, count);
        if (status == link_status::kOk)
            status = read_lut_block(offset, read_back, count);
        if (status == link_status::kOk && std::equal(values, values + count, read_back))
            return link_status::kOk;
        if (status == link_status::kOk)
            status = link_status::kBadFrame; // the display keeps other values than were written
    }
    return status;
}

int PDCommProtocol::read_c22e_points(quint8 first, quint8 second, quint8 third, quint8 count, quint16 *points,
                                     int capacity, int *received)
{
    *received = 0;
    begin_request('A');
    append_hex_word(command_code::kColourCube);
    append_hex_byte(first);
    append_hex_byte(second);
    append_hex_byte(third);
    append_hex_byte(count);
    if (const int status = exchange(kPointWait))
        return status;
    if (const int status = expect_min_length(6))
        return status;
    const quint8 result = take_hex_byte();
    if (const int status = expect_word(command_code::reply(command_code::kColourCube)))
        return status;
    if (result)
        return link_status::kResultNotZero;
    const int limit = qMin<int>(count, capacity);
    while (remaining() >= kHexPerPoint && *received < limit) {
        quint16 *point = points + 3 * *received;
        point[0] = take_hex_word();
        point[1] = take_hex_word();
        point[2] = take_hex_word();
        ++*received;
    }
    return link_status::kOk;
}

int PDCommProtocol::read_c22e_cube(int side, quint16 *points, int capacity)
{
    if (side <= 0)
        return link_status::kNoValues;
    if (side > 0xFF)
        return link_status::kTooManyValues;
    const int total = side * side * side;
    if (total > capacity)
        return link_status::kTooManyValues;
    for (int d = 0; d < total; d += kCubeChunk) {
        const int chunk = qMin(kCubeChunk, total - d);
        int received = 0;
        const int status = read_c22e_points(static_cast<quint8>(d % side), static_cast<quint8>(d / side % side),
                                            static_cast<quint8>(d / (side * side) % side),
                                            static_cast<quint8>(chunk), points + 3 * d, chunk, &received);
        if (status)
            return status;
        // A chunk with fewer points would leave part of the cube unread.
        if (received != chunk)
            return link_status::kBadLength;
    }
    return link_status::kOk;
}
