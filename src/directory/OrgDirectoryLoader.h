#pragma once

#include "data/OrgRecord.h"

#include <string>

class SortedComboBox;

// The directory file, relative to the working directory (the executable's folder).
inline constexpr const char* kOrgDirectoryPath = "data/data.tmd";

// LoadOrgDirectory: reads the directory file (read-only) into `records` in
// file order and adds every name to `orgName` and each distinct street to
// `street`. A missing or unreadable file raises "Cannot open file "<full
// path>". <reason>" and changes nothing. A file shorter than the records it
// announces keeps its whole records, fills the lists with them and then
// raises an error naming the file.
void LoadOrgDirectory(OrgRecords& records, SortedComboBox& orgName, SortedComboBox& street,
                      const std::string& path = kOrgDirectoryPath);
