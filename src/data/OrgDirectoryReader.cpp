#include "data/OrgDirectoryReader.h"

#include "base/GxException.h"

#include <algorithm>
#include <unordered_set>

OrgRecord readOrgRecord(ByteReader& in)
{
    OrgRecord r;
    r.name = in.shortString(OrgRecord::kNameCapacity);
    r.phone = in.shortString(OrgRecord::kPhoneCapacity);
    r.streetName = in.shortString(OrgRecord::kStreetCapacity);
    r.email = in.shortString(OrgRecord::kEmailCapacity);
    r.houseNo = in.shortString(OrgRecord::kHouseNoCapacity);
    r.web = in.shortString(OrgRecord::kWebCapacity);
    in.skip(OrgRecord::kReservedSize);
    return r;
}

OrgDirectory readOrgDirectory(ByteReader& in)
{
    if (in.remaining() < OrgRecord::kHeaderSize)
        in.failDamaged("он короче заголовка (" + std::to_string(in.remaining()) + " байт из "
                       + std::to_string(OrgRecord::kHeaderSize) + ")");
    const std::int32_t announced = in.int32();
    in.skip(OrgRecord::kHeaderSize - 4);

    const std::size_t wanted = announced > 0 ? static_cast<std::size_t>(announced) : 0;
    const std::size_t present = std::min(wanted, in.remaining() / OrgRecord::kRecordSize);

    OrgDirectory dir;
    dir.records.reserve(present);
    dir.names.reserve(present);
    // The street list's duplicate test is a set of the raw bytes beside it:
    // the same items in the same order as comparing with every item, without
    // the quadratic cost.
    std::unordered_set<std::string> seenStreets;
    for (std::size_t i = 0; i < present; ++i) {
        OrgRecord r = readOrgRecord(in);
        dir.names.push_back(r.name);
        if (seenStreets.insert(r.streetName).second)
            dir.streets.push_back(r.streetName);
        dir.records.push_back(std::move(r));
    }
    if (present < wanted)
        dir.truncationError = in.damagedText("объявлено " + std::to_string(wanted)
                                             + " записей, а целиком в нём только " + std::to_string(present));
    return dir;
}

OrgDirectory readOrgDirectoryFile(const std::string& path)
{
    ByteReader in = ByteReader::fromFile(path);
    return readOrgDirectory(in);
}
