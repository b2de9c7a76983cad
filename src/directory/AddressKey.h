#pragma once

#include "data/OrgRecord.h"

#include <string>

class Thouse;

// The pair (street, house number) by which houses and directory entries are
// matched: whole Windows-1251 byte strings, case-sensitive, untrimmed, never
// read as numbers ("5" and "05" differ). "0" is a house without a number.
struct AddressKey {
    std::string street;
    std::string houseNo;

    // The house's address as it is, whatever its length.
    static AddressKey Of(const Thouse& house);
    // The house's address cut to the directory's field widths (30 and 5
    // bytes): a longer street or number no longer matches its own house.
    static AddressKey CutOf(const Thouse& house);
    static AddressKey Of(const OrgRecord& entry) { return {entry.streetName, entry.houseNo}; }

    bool Matches(const Thouse& house) const;
    bool Matches(const OrgRecord& entry) const { return entry.streetName == street && entry.houseNo == houseNo; }
};
