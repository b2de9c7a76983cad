#include "directory/OrgDirectoryLoader.h"

#include "data/OrgDirectoryReader.h"
#include "directory/SortedComboBox.h"
#include "base/GxException.h"

#include <filesystem>

void LoadOrgDirectory(OrgRecords& records, SortedComboBox& orgName, SortedComboBox& street, const std::string& path)
{
    std::error_code ec;
    std::filesystem::path fullPath = std::filesystem::absolute(path, ec);
    OrgDirectory dir = readOrgDirectoryFile(ec ? path : fullPath.lexically_normal().string());

    orgName.AddItems(dir.names);
    street.AddItems(dir.streets);
    records.insert(records.end(), std::make_move_iterator(dir.records.begin()),
                   std::make_move_iterator(dir.records.end()));
    if (dir.truncationError)
        throw EGxError(*dir.truncationError);
}
