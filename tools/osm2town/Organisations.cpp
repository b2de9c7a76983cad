#include "Organisations.h"

#include "MapPolygons.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The first of values separated by ";" (the usual separator of several values).
std::string_view firstValue(std::string_view s, bool* several)
{
    const std::size_t cut = s.find(';');
    *several = cut != std::string_view::npos && !trim(s.substr(cut + 1)).empty();
    return trim(s.substr(0, cut));
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

std::string_view contact(const OsmTags& t, std::string_view plain, std::string_view keyed)
{
    const std::string_view v = t.get(plain);
    return v.empty() ? t.get(keyed) : v;
}

} // namespace

bool isOrganisation(const OsmTags& tags)
{
    if (tags.get("name").empty())
        return false;
    for (const char* key : {"amenity", "shop", "office", "craft", "tourism", "healthcare", "leisure"})
        if (tags.has(key))
            return true;
    return false;
}

std::string fitPhone(std::string_view utf8, TextStandIns& text, ImportReport& report)
{
    // Forms are tried quietly; the replacements of the value the field is
    // taken from are tallied once.
    TextStandIns trial;
    const std::string_view whole = trim(utf8);
    const std::string wholeBytes = trial.toCp1251(whole);
    if (wholeBytes.size() <= OrgRecord::kPhoneCapacity)
        return text.toCp1251(whole);
    bool several = false;
    std::string_view firstUtf8 = firstValue(utf8, &several);
    if (!several) // "a, b" is also seen
        firstUtf8 = trim(utf8.substr(0, utf8.find(',')));
    const std::string first = text.toCp1251(firstUtf8);
    if (first.size() < wholeBytes.size())
        ++report.phonesFirstOfSeveral;
    if (first.size() <= OrgRecord::kPhoneCapacity)
        return first;
    std::string digits;
    for (char c : first)
        if (c != ' ' && c != '-' && c != '(' && c != ')' && c != '.' && c != '\xA0')
            digits += c;
    if (digits.size() <= OrgRecord::kPhoneCapacity) {
        ++report.phonesCompacted;
        return digits;
    }
    ++report.phonesDropped;
    return {};
}

std::string fitEmail(std::string_view utf8, TextStandIns& text, ImportReport& report)
{
    bool several = false;
    const std::string_view first = firstValue(utf8, &several);
    if (several)
        ++report.emailsFirstOfSeveral;
    std::string bytes = text.toCp1251(first);
    if (bytes.size() <= OrgRecord::kEmailCapacity)
        return bytes;
    ++report.emailsDropped;
    return {};
}

std::string fitWeb(std::string_view utf8, TextStandIns& text, ImportReport& report)
{
    bool several = false;
    std::string_view web = firstValue(utf8, &several);
    std::string bytes = text.toCp1251(web);
    if (bytes.size() <= OrgRecord::kWebCapacity)
        return bytes;
    // The program opens an address without a scheme as "http://": only that
    // scheme may go, "https://" stays.
    std::string_view secure;
    if (startsWithNoCase(web, "https://")) {
        secure = web.substr(0, 8);
        web.remove_prefix(8);
    } else if (startsWithNoCase(web, "http://")) {
        web.remove_prefix(7);
    }
    if (startsWithNoCase(web, "www."))
        web.remove_prefix(4);
    if (web.ends_with('/'))
        web.remove_suffix(1);
    TextStandIns quiet;
    bytes = quiet.toCp1251(std::string(secure) + std::string(web));
    if (bytes.size() <= OrgRecord::kWebCapacity) {
        ++report.websShortened;
        return bytes;
    }
    ++report.websDropped;
    return {};
}

std::string fitName(std::string_view utf8, TextStandIns& text, ImportReport& report)
{
    std::string bytes = text.toCp1251(trim(utf8));
    if (bytes.size() <= OrgRecord::kNameCapacity)
        return bytes;
    ++report.namesCut;
    std::size_t cut = bytes.rfind(' ', OrgRecord::kNameCapacity);
    if (cut == std::string::npos || cut == 0)
        cut = OrgRecord::kNameCapacity;
    bytes.resize(cut);
    while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == ',' || bytes.back() == '-'))
        bytes.pop_back();
    return bytes;
}

OrgRecords extractOrganisations(const OsmExtract& osm, const MapProjection& projection, ImportedBuildings& buildings,
                                TextStandIns& text, HouseNumberBook& numbers, ImportReport& report,
                                float attachMetres, OrgPlaces* places)
{
    // Where each organisation is: a point, or the houses it is mapped as.
    std::vector<OrgSource> orgs;
    auto add = [&](const OsmTags& t, std::optional<Vec2> at, const std::vector<std::size_t>* ownHouses) {
        if (at && !MapProjection::insideSquare(*at)) {
            ++report.orgsOutside;
            return;
        }
        orgs.push_back({&t, at, ownHouses});
    };

    for (const OsmTaggedNode& n : osm.taggedNodes)
        if (isOrganisation(n.tags))
            add(n.tags, projection.toMap(n.node.lat, n.node.lon), nullptr);

    // An area: the building it is mapped as, else the building its middle
    // stands in. One whose outline could not be made stands where its known
    // nodes are; with none known it has no place and is left out.
    for (const OsmArea& area : osm.areas) {
        if (!isOrganisation(area.tags))
            continue;
        auto own = buildings.bySource.find({area.type, area.id});
        if (own != buildings.bySource.end()) {
            add(area.tags, std::nullopt, &own->second);
            continue;
        }
        if (!area.polygons.empty()) {
            const Polygon outline = projectRing(projection, area.polygons.front().outer);
            Vec2 at = centroidOfNodes(outline);
            if (!pointInPolygon(outline, at))
                at = outline[0];
            add(area.tags, at, nullptr);
        } else if (!area.known.empty()) {
            Polygon known;
            for (const OsmPoint& p : area.known)
                known.push_back(projection.toMap(p.lat, p.lon));
            add(area.tags, centroidOfNodes(known), nullptr);
        } else {
            ++report.orgsWithoutPlace;
        }
    }

    // Beyond the bound every organisation would search the whole map.
    attachMetres = std::min(attachMetres, kMostAttachDistance);
    report.attachMetres = attachMetres;
    // Places first: a house without an address may take one of its
    // organisations' before the others take the house's.
    std::vector<OrgSite> sites;
    sites.reserve(orgs.size());
    for (const OrgSource& org : orgs)
        sites.push_back(placeOrganisation(org, buildings.grid, attachMetres * mapscale::kUnitsPerMetre, report));
    lendOrganisationAddresses(orgs, sites, buildings, text, numbers, report);

    std::set<std::pair<std::string, std::string>> houseAddresses;
    for (const ImportedHouse& h : buildings.houses)
        if (h.addressed)
            houseAddresses.insert({h.street, h.number});

    OrgRecords out;
    out.reserve(orgs.size());
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        const OsmTags& t = *orgs[i].tags;
        const OrgSite& site = sites[i];
        OrgRecord r;
        r.name = fitName(t.get("name"), text, report);
        const std::string_view number = t.get("addr:housenumber");
        const std::string_view street = addressStreet(t);
        if (!number.empty() && !street.empty()) {
            bool cut = false;
            r.streetName = fitStreetName(street, text, &cut);
            r.houseNo = numbers.number(r.streetName, number);
            ++report.orgAddressOwn;
            if (site.inHouse() && buildings.houses[site.house].addressed
                && (buildings.houses[site.house].street != r.streetName
                    || buildings.houses[site.house].number != r.houseNo))
                ++report.orgsAddressElsewhere;
        } else if (site.inHouse() && buildings.houses[site.house].addressed) {
            r.streetName = buildings.houses[site.house].street;
            r.houseNo = buildings.houses[site.house].number;
            ++report.orgAddressFromBuilding;
        } else {
            ++report.orgsWithoutAddress;
        }
        const std::string_view phone = contact(t, "phone", "contact:phone");
        if (!phone.empty())
            r.phone = fitPhone(phone, text, report);
        const std::string_view email = contact(t, "email", "contact:email");
        if (!email.empty())
            r.email = fitEmail(email, text, report);
        std::string_view web = contact(t, "website", "contact:website");
        if (web.empty())
            web = t.get("url");
        if (!web.empty())
            r.web = fitWeb(web, text, report);
        if (!r.streetName.empty() && houseAddresses.count({r.streetName, r.houseNo}))
            ++report.orgsWithHouse;
        else
            ++report.orgsWithoutHouse;
        out.push_back(std::move(r));
        if (places)
            places->entries.push_back(describeOrganisation(t, site, report));
    }
    report.organisations = out.size();
    return out;
}
