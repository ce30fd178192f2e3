#include "app/services/error_code_table.h"

#include "app/services/string_resource.h"

#include <algorithm>
#include <iterator>

namespace {

struct error_text_row {
    int code;
    int stringId;
};

// Sorted by code.
constexpr error_text_row kErrorTexts[] = {
    {-9001, 133}, {-9000, 132},
    {-8512, 117}, {-8511, 3002}, {-8509, 3000}, {-8508, 3002}, {-8507, 3002}, {-8506, 3001},
    {-8505, 3002},
    {-5008, 202}, {-5007, 198}, {-5002, 185}, {-5001, 197}, {-5000, 185},
    {-3011, 175}, {-3010, 183}, {-3009, 184}, {-3008, 183}, {-3007, 182}, {-3006, 181},
    {-3005, 180}, {-3004, 179}, {-3003, 178}, {-3002, 177}, {-3001, 176},
    {-1506, 201}, {-1505, 104}, {-1502, 102}, {-1501, 103}, {-1500, 101},
    {-1041, 135}, {-1040, 204}, {-1039, 3003}, {-1038, 319}, {-1036, 317}, {-1035, 134},
    {-1033, 149}, {-1032, 147}, {-1031, 146}, {-1030, 148}, {-1029, 150}, {-1028, 315},
    {-1027, 188}, {-1026, 151}, {-1022, 200}, {-1021, 194}, {-1020, 196}, {-1015, 127},
    {-1014, 125}, {-1013, 127}, {-1011, 119}, {-1008, 117}, {-1005, 115}, {-1004, 113},
    {-1003, 111}, {-1000, 105},
};

constexpr bool codes_ascend()
{
    for (size_t i = 1; i < std::size(kErrorTexts); ++i)
        if (kErrorTexts[i].code <= kErrorTexts[i - 1].code)
            return false;
    return true;
}
static_assert(codes_ascend(), "error rows must be sorted by code, without duplicates");

} // namespace

int error_code_string_id(int code)
{
    const error_text_row *end = std::end(kErrorTexts);
    const error_text_row *row = std::lower_bound(
        std::begin(kErrorTexts), end, code,
        [](const error_text_row &r, int wanted) { return r.code < wanted; });
    return row != end && row->code == code ? row->stringId : string_id::kUnknownError;
}

QString error_code_text(int code)
{
    const int id = error_code_string_id(code);
    const QString text = string_resource(id);
    return id == string_id::kUnknownError ? text.arg(code) : text;
}
