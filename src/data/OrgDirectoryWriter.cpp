#include "data/OrgDirectoryWriter.h"

void writeOrgRecord(ByteWriter& out, const OrgRecord& r)
{
    out.shortString(r.name, OrgRecord::kNameCapacity);
    out.shortString(r.phone, OrgRecord::kPhoneCapacity);
    out.shortString(r.streetName, OrgRecord::kStreetCapacity);
    out.shortString(r.email, OrgRecord::kEmailCapacity);
    out.shortString(r.houseNo, OrgRecord::kHouseNoCapacity);
    out.shortString(r.web, OrgRecord::kWebCapacity);
    out.zeros(OrgRecord::kReservedSize);
}

ByteWriter writeOrgDirectory(const OrgRecords& records, std::optional<std::int32_t> announcedCount)
{
    ByteWriter out;
    out.int32(announcedCount.value_or(static_cast<std::int32_t>(records.size())));
    out.zeros(OrgRecord::kHeaderSize - 4);
    for (const OrgRecord& r : records)
        writeOrgRecord(out, r);
    return out;
}
