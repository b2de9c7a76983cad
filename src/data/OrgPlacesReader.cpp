#include "data/OrgPlacesReader.h"

#include "data/FileHead.h"
#include "data/OptionalFile.h"

#include <cmath>

namespace {
std::string entryText(std::size_t index, const std::string& what)
{
    return "запись " + std::to_string(index) + ": " + what;
}

OrgPlace readEntry(ByteReader& in, std::size_t index)
{
    OrgPlace entry;
    const std::uint8_t place = in.uint8();
    switch (place) {
    case std::uint8_t(OrgPlace::Place::None):
        break;
    case std::uint8_t(OrgPlace::Place::House):
        entry.house = static_cast<std::uint32_t>(in.int32());
        break;
    case std::uint8_t(OrgPlace::Place::Point):
        entry.x = in.float32();
        entry.y = in.float32();
        if (!std::isfinite(entry.x) || !std::isfinite(entry.y))
            in.failDamaged(entryText(index, "координаты точки не конечны"));
        break;
    default:
        in.failDamaged(entryText(index, "неизвестный вид места " + std::to_string(place)));
    }
    entry.place = static_cast<OrgPlace::Place>(place);
    entry.kind = static_cast<std::uint16_t>(in.int16());
    const auto length = static_cast<std::uint16_t>(in.int16());
    if (length > orgplaces::kMaxHoursBytes)
        in.failDamaged(entryText(index, "часы работы длиной " + std::to_string(length) + " байт, больше "
                                            + std::to_string(orgplaces::kMaxHoursBytes)));
    entry.hours = in.bytes(length);
    if (!orgplaces::isUtf8(entry.hours))
        in.failDamaged(entryText(index, "часы работы не в кодировке UTF-8"));
    return entry;
}
} // namespace

OrgPlaces readOrgPlaces(ByteReader& in)
{
    readFileMark(in, orgplaces::kHeaderSize, orgplaces::kMagic, orgplaces::kVersion, "файла мест организаций QVOP");
    const std::uint32_t count = readBoundedCount(in, orgplaces::kMaxEntries, "записей");
    // Fails before anything is allocated when the bytes cannot hold the count.
    in.requireRecords(count, orgplaces::kMinEntrySize);

    OrgPlaces places;
    places.entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        places.entries.push_back(readEntry(in, i));
    if (!in.atEnd())
        in.failDamaged("после последней записи ещё " + std::to_string(in.remaining()) + " байт");
    return places;
}

std::optional<OrgPlaces> readOrgPlacesFile(const std::string& path)
{
    std::optional<ByteReader> in = readOptionalFile(path);
    if (!in)
        return std::nullopt;
    return readOrgPlaces(*in);
}

void validateOrgPlaces(const OrgPlaces& places, std::size_t orgCount, std::size_t houseCount,
                       const std::string& fileName)
{
    // The same text as a damaged file's, though no byte is read here.
    const ByteReader file({}, fileName);
    if (places.entries.size() > orgCount)
        file.failDamaged("в нём " + std::to_string(places.entries.size()) + " записей, а в справочнике data.tmd "
                         + std::to_string(orgCount) + " организаций");
    for (std::size_t i = 0; i < places.entries.size(); ++i) {
        const OrgPlace& entry = places.entries[i];
        if (entry.place == OrgPlace::Place::House && entry.house >= houseCount)
            file.failDamaged(entryText(i, "дом с индексом " + std::to_string(entry.house) + ", а в data.mod "
                                              + std::to_string(houseCount) + " домов"));
    }
}
