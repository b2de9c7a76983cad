#pragma once

#include "data/OrgRecord.h"

#include <QStringList>

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
    // The directory's organisation `index` with its contact lines and the
    // lines its kind and hours add (OrgDetails).
    virtual void AddOrganisation(std::size_t index, const OrgRecord& entry, const QStringList& moreLines)
    {
        (void)index;
        (void)moreLines;
        AddSimpleRecord(entry);
    }
};

// The tree shows at most this many organisations and counts the rest: a
// town of thousands would otherwise fill it (and the map with pins) for minutes.
inline constexpr std::size_t kMaxListedOrganisations = 1000;
