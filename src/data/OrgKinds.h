#pragma once

#include <span>
#include <string_view>
#include <vector>

// The kinds of organisation a person looks for in a town ("Аптеки", "Банки",
// "Кафе", ...), grouped under headings, and the OpenStreetMap tags that give
// each. One table for the importer, which stores a kind's id with each
// organisation, and for the program, which lists the kinds.
//
// A kind's id is stored in files: ids are never reused or renumbered; a new
// kind takes the next free id, wherever it is shown. "Прочее" (id 0) is the
// kind of whatever no tag names.

struct OrgKind {
    int id = 0;
    int heading = 0;        // index into orgKindHeadings()
    std::string_view name;  // UTF-8, plural: "Аптеки"
};

struct OrgKindHeading {
    std::string_view name;  // UTF-8: "Здоровье"
    std::vector<int> kinds; // ids, in display order
};

// One tag of an organisation; the caller keeps the texts.
struct OrgTag {
    std::string_view key;
    std::string_view value;
};

// A tag that gives a kind; `value` "*" is any value of the key.
struct OrgKindRule {
    std::string_view key;
    std::string_view value;
    std::string_view kind; // the kind's name
};

inline constexpr int kOtherKind = 0;

// The kind the tags give; when several tags name kinds, the table's order of
// rules decides (the main use before what a place also offers: a fuel
// station with a shop is a fuel station). A value of several ("a;b") counts
// each. kOtherKind when none does.
int kindOf(std::span<const OrgTag> tags);

// The kind of an id; nullptr for an id that names none (a file may be damaged).
const OrgKind* orgKindById(int id);

// Every kind, in display order (heading by heading); "Прочее" last.
std::span<const OrgKind> orgKinds();

// The rules in their order of priority (the first that matches wins); their
// keys are the tags an importer must keep.
std::span<const OrgKindRule> orgKindRules();

// The headings in display order, each with its kinds in display order.
const std::vector<OrgKindHeading>& orgKindHeadings();
