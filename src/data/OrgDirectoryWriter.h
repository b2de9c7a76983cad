#pragma once

#include "base/ByteWriter.h"
#include "data/OrgRecord.h"

#include <optional>

// Writes a data.tmd directory: the 24-byte header (record count, 20 reserved
// bytes) and one 273-byte record per organisation. `announcedCount` overrides
// the header's count (fixtures for short or lying files).
ByteWriter writeOrgDirectory(const OrgRecords& records, std::optional<std::int32_t> announcedCount = std::nullopt);
void writeOrgRecord(ByteWriter& out, const OrgRecord& record);
