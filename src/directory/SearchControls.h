#pragma once

#include "data/OrgRecord.h"

#include <optional>
#include <string>
#include <vector>

// The controls that selection and the search panel read and write: the three
// search fields OrgName, Street and HouseEdit and the results tree. Texts are
// Windows-1251 bytes. A text the code page cannot hold reads as no value,
// which equals no stored text. Writing from here never runs a change handler.
class SearchControls {
public:
    virtual ~SearchControls() = default;

    virtual std::optional<std::string> OrgNameText() const = 0;
    virtual std::optional<std::string> StreetText() const = 0;
    virtual std::optional<std::string> HouseNoText() const = 0;

    virtual void SetOrgNameText(const std::string& raw) = 0;
    virtual void SetStreetText(const std::string& raw) = 0;
    virtual void SetHouseNoText(const std::string& raw) = 0;

    // Empties HouseEdit's text and list, then offers these numbers.
    virtual void SetHouseNumbers(const std::vector<std::string>& raws) = 0;

    virtual void ClearTree() = 0;
    virtual void AddSimpleRecord(const OrgRecord& entry) = 0;
};
