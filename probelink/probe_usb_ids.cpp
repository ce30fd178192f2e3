#include "probelink/probe_usb_ids.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace {

std::string trimmed(const std::string &text)
{
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// One to four hex digits and nothing else.
bool parse_hex16(const std::string &text, std::uint16_t *value)
{
    if (text.empty() || text.size() > 4)
        return false;
    unsigned result = 0;
    for (unsigned char c : text) {
        if (!std::isxdigit(c))
            return false;
        result = result * 16 + static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    *value = static_cast<std::uint16_t>(result);
    return true;
}

bool parse_entry(const std::string &entry, usb_device_id *id)
{
    const std::string text = trimmed(entry);
    const auto colon = text.find(':');
    return colon != std::string::npos
        && parse_hex16(text.substr(0, colon), &id->vendor)
        && parse_hex16(text.substr(colon + 1), &id->product);
}

} // namespace

namespace probe_usb_ids {

std::vector<usb_device_id> with_extension(const char *extension)
{
    std::vector<usb_device_id> ids = {kDefaultId};
    if (!extension)
        return ids;
    const std::string text(extension);
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        usb_device_id id;
        if (parse_entry(text.substr(start, comma - start), &id) && !contains(ids, id))
            ids.push_back(id);
        start = comma + 1;
    }
    return ids;
}

std::vector<usb_device_id> from_environment()
{
    return with_extension(std::getenv(kEnvironmentVariable));
}

bool contains(const std::vector<usb_device_id> &ids, usb_device_id id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace probe_usb_ids
