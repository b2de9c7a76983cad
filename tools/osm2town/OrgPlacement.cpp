#include "OrgPlacement.h"

#include "data/OpeningHours.h"
#include "data/OrgKinds.h"

OrgSite placeOrganisation(const OrgSource& org, const HouseGrid& grid, float attachUnits, ImportReport& report)
{
    OrgSite site;
    if (org.ownHouses && !org.ownHouses->empty()) {
        site.how = OrgSite::How::Mapped;
        site.house = org.ownHouses->front();
        ++report.orgsMappedAsHouse;
        return site;
    }
    const Vec2 at = org.at.value_or(Vec2{});
    if (const std::optional<std::size_t> holder = grid.find(at)) {
        site.how = OrgSite::How::Inside;
        site.house = *holder;
        ++report.orgsInsideHouse;
    } else if (const std::optional<std::size_t> near = grid.nearest(at, attachUnits)) {
        site.how = OrgSite::How::Near;
        site.house = *near;
        ++report.orgsNearHouse;
    } else {
        site.point = at;
        ++report.orgsAtPoint;
    }
    return site;
}

void lendOrganisationAddresses(const std::vector<OrgSource>& orgs, const std::vector<OrgSite>& sites,
                               ImportedBuildings& buildings, TextStandIns& text, HouseNumberBook& numbers,
                               ImportReport& report)
{
    // The lender of each house: the first organisation in it with an address,
    // one standing in it winning over one near it.
    std::vector<std::size_t> lender(buildings.houses.size(), orgs.size());
    std::vector<bool> lenderNear(buildings.houses.size(), false);
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        const OrgSite& s = sites[i];
        if (!s.inHouse() || buildings.houses[s.house].addressed)
            continue;
        const OsmTags& t = *orgs[i].tags;
        if (t.get("addr:housenumber").empty() || addressStreet(t).empty())
            continue;
        const bool near = s.how == OrgSite::How::Near;
        if (lender[s.house] == orgs.size() || (lenderNear[s.house] && !near)) {
            lender[s.house] = i;
            lenderNear[s.house] = near;
        }
    }
    for (std::size_t h = 0; h < buildings.houses.size(); ++h) {
        if (lender[h] == orgs.size())
            continue;
        const OsmTags& t = *orgs[lender[h]].tags;
        ImportedHouse& house = buildings.houses[h];
        bool cut = false;
        house.street = fitStreetName(addressStreet(t), text, &cut);
        report.streetsCut += cut;
        house.number = numbers.number(house.street, t.get("addr:housenumber"));
        house.addressed = true;
        ++report.addressFromOrganisation;
        ++report.housesWithAddress;
    }
}

OrgPlace describeOrganisation(const OsmTags& tags, const OrgSite& site, ImportReport& report)
{
    OrgPlace out;
    if (site.inHouse()) {
        out.place = OrgPlace::Place::House;
        out.house = std::uint32_t(site.house);
    } else {
        out.place = OrgPlace::Place::Point;
        out.x = site.point.x;
        out.y = site.point.y;
    }
    std::vector<OrgTag> kindTags;
    kindTags.reserve(tags.items().size());
    for (const auto& [key, value] : tags.items())
        kindTags.push_back({key, value});
    out.kind = std::uint16_t(kindOf(kindTags));
    report.orgsWithKind += out.kind != kOtherKind;

    const std::string_view hours = tags.get("opening_hours");
    if (hours.empty())
        return out;
    if (hours.size() > orgplaces::kMaxHoursBytes || !orgplaces::isUtf8(hours)) {
        ++report.hoursDropped;
        return out;
    }
    out.hours = std::string(hours);
    ++report.orgsWithHours;
    report.hoursReadable += OpeningHours::parse(hours).readable;
    return out;
}
