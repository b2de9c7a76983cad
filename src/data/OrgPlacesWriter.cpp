#include "data/OrgPlacesWriter.h"

#include <cmath>
#include <stdexcept>

bool orgplaces::isUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        std::size_t length;
        // The second byte's range rules out overlong forms, surrogates and
        // code points past U+10FFFF.
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else
            return false;
        if (std::size_t(end - p) < length || p[1] < low || p[1] > high)
            return false;
        for (std::size_t i = 2; i < length; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += length;
    }
    return true;
}

void writeOrgPlacesHeader(ByteWriter& out, std::uint32_t count, std::uint16_t version)
{
    out.bytes(std::string_view(orgplaces::kMagic, sizeof orgplaces::kMagic));
    out.int16(static_cast<std::int16_t>(version));
    out.int32(static_cast<std::int32_t>(count));
}

void writeOrgPlace(ByteWriter& out, const OrgPlace& entry)
{
    out.uint8(static_cast<std::uint8_t>(entry.place));
    if (entry.place == OrgPlace::Place::House)
        out.int32(static_cast<std::int32_t>(entry.house));
    else if (entry.place == OrgPlace::Place::Point) {
        out.float32(entry.x);
        out.float32(entry.y);
    }
    out.int16(static_cast<std::int16_t>(entry.kind));
    out.int16(static_cast<std::int16_t>(entry.hours.size()));
    out.bytes(entry.hours);
}

namespace {
void check(const OrgPlace& entry, std::size_t index)
{
    const auto refuse = [&](const std::string& what) {
        throw std::invalid_argument("orgplaces.dat entry " + std::to_string(index) + ": " + what);
    };
    switch (entry.place) {
    case OrgPlace::Place::None:
    case OrgPlace::Place::House:
        break;
    case OrgPlace::Place::Point:
        if (!std::isfinite(entry.x) || !std::isfinite(entry.y))
            refuse("point not finite");
        break;
    default:
        refuse("place kind " + std::to_string(int(entry.place)) + " out of range");
    }
    if (entry.hours.size() > orgplaces::kMaxHoursBytes)
        refuse("hours of " + std::to_string(entry.hours.size()) + " bytes");
    if (!orgplaces::isUtf8(entry.hours))
        refuse("hours not UTF-8");
}
} // namespace

ByteWriter writeOrgPlaces(const OrgPlaces& places)
{
    if (places.entries.size() > orgplaces::kMaxEntries)
        throw std::invalid_argument("orgplaces.dat: " + std::to_string(places.entries.size()) + " entries");
    ByteWriter out;
    writeOrgPlacesHeader(out, static_cast<std::uint32_t>(places.entries.size()));
    for (std::size_t i = 0; i < places.entries.size(); ++i) {
        check(places.entries[i], i);
        writeOrgPlace(out, places.entries[i]);
    }
    return out;
}
