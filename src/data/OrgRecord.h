#pragma once

#include <string>
#include <vector>

// One organisation of the directory file. Texts are the Windows-1251 bytes as
// stored (each at most its field's capacity); all matching compares them byte
// for byte. Decode with cp1251::decode for display.
struct OrgRecord {
    static constexpr std::size_t kNameCapacity = 100;
    static constexpr std::size_t kPhoneCapacity = 21;
    static constexpr std::size_t kStreetCapacity = 30;
    static constexpr std::size_t kEmailCapacity = 30;
    static constexpr std::size_t kHouseNoCapacity = 5;
    static constexpr std::size_t kWebCapacity = 30;
    static constexpr std::size_t kReservedSize = 51;
    static constexpr std::size_t kRecordSize = 273;
    static constexpr std::size_t kHeaderSize = 24;

    std::string name;
    std::string phone;
    std::string streetName;
    std::string email;
    std::string houseNo;
    std::string web;
};

// The records in file order; the index of a record is its position in the file.
using OrgRecords = std::vector<OrgRecord>;
