#pragma once

#include "base/ByteReader.h"
#include "data/OrgRecord.h"

#include <optional>
#include <string>
#include <vector>

// What a data.tmd directory holds: the records in file order, every name in
// file order (duplicates kept) and each distinct street once, in the order of
// its first record. All texts are the stored Windows-1251 bytes.
struct OrgDirectory {
    OrgRecords records;
    std::vector<std::string> names;
    std::vector<std::string> streets;

    // Set when the file ends before the records its header announces: the
    // whole records before that point are kept, the message names the file.
    std::optional<std::string> truncationError;
};

// One 273-byte record; a length byte above its field's capacity is clipped.
OrgRecord readOrgRecord(ByteReader& in);

// Reads the header and the announced records. A file shorter than the header
// raises EGxError; a count of zero or less means no records. Memory grows
// only with the records actually present, whatever the count claims.
OrgDirectory readOrgDirectory(ByteReader& in);

// Opens the file read-only: "Cannot open file "<path>". <reason>" when it is
// missing or unreadable.
OrgDirectory readOrgDirectoryFile(const std::string& path);
