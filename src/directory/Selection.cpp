#include "directory/Selection.h"

#include "map/MapState.h"
#include "directory/AddressKey.h"
#include "directory/OrgDetails.h"
#include "directory/SearchControls.h"
#include "engine/scene/GxSceneUpdate.h"
#include "map/House.h"

#include <algorithm>
#include <unordered_map>

namespace {

Thouse* asHouse(TGxBaseSceneObject* object)
{
    return dynamic_cast<Thouse*>(object);
}

Thouse* parentHouse(TGxBaseSceneObject* object)
{
    return object ? asHouse(object->Parent()) : nullptr;
}

} // namespace

void DeSelectAll(TGxScene& scene)
{
    const TGxSceneUpdate update(scene);
    TGxBaseSceneObject* root = scene.ObjectRoot();
    // Houses reset alike share the first one's material: a town of many
    // thousands then holds a few materials instead of one per house.
    Thouse* model = nullptr;
    // A house drawn with one material shared with a house reset before comes
    // out of the reset like that one: it takes its look (houses painted alike
    // by a kind or "open now" go back at the cost of one).
    std::unordered_map<const TGxMaterial*, Thouse*> resetLooks;
    for (int i = 0; i < root->Count(); ++i)
        if (auto* house = asHouse(root->Children(i))) {
            // One already like the model would come out of the reset unchanged.
            if (model && house->LooksLike(*model)) {
                house->ShareLookOf(*model);
                continue;
            }
            const TGxMaterial* look = house->SharedMaterial();
            if (const auto like = look ? resetLooks.find(look) : resetLooks.end();
                like != resetLooks.end() && house->TakeLookOf(*like->second))
                continue;
            house->SetNormalColors();
            house->ClearGlow();
            if (model)
                house->ShareLookOf(*model);
            else
                model = house;
            if (look)
                resetLooks.emplace(look, house);
        }
}

Selection::Selection(MapState& state, TGxScene& scene, const OrgRecords& records, SearchControls& controls,
                     Services services)
    : m_state(state), m_scene(scene), m_records(records), m_controls(controls), m_services(std::move(services))
{
}

void Selection::ForEachHouse(const std::function<void(Thouse&)>& visit)
{
    TGxBaseSceneObject* root = m_scene.ObjectRoot();
    // By index: a label made on the way joins the root as its last child.
    for (int i = 0; i < root->Count(); ++i)
        if (auto* house = asHouse(root->Children(i)))
            visit(*house);
}

void Selection::DeSelectAll()
{
    const TGxSceneUpdate update(m_scene);
    ::DeSelectAll(m_scene);
    paintOpenHouses();
}

void Selection::paintOpenHouses()
{
    if (!m_filter->OpenNow())
        return;
    PaintHouses([](Thouse& house) { house.SetOpenColor(); });
}

void Selection::PaintHouses(const std::function<void(Thouse&)>& paint)
{
    const OrgLocations& locations = Locations();
    std::vector<char> painted(locations.Houses().size(), 0);
    // A house drawn with the very material another had before it was painted
    // takes that one's new look: one material for thousands of houses, and
    // a change of thousands that costs little.
    std::unordered_map<const TGxMaterial*, Thouse*> paintedLooks;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (!m_filter->Passes(i))
            continue;
        for (const std::uint32_t h : locations.HousesOf(i)) {
            if (painted[h])
                continue;
            painted[h] = 1;
            Thouse& house = *locations.Houses()[h];
            const TGxMaterial* look = house.SharedMaterial();
            if (const auto like = look ? paintedLooks.find(look) : paintedLooks.end();
                like != paintedLooks.end() && house.TakeLookOf(*like->second))
                continue;
            paint(house);
            if (look)
                paintedLooks.emplace(look, &house);
        }
    }
}

void Selection::ClearFields()
{
    m_controls.SetStreetText({});
    m_controls.SetHouseNoText({});
    ClearTree();
}

void Selection::AttachPlaces(const OrgFacts& facts, const OrgFilter& filter)
{
    m_facts = &facts;
    m_filter = &filter;
    m_locations.reset();
}

const OrgLocations& Selection::Locations()
{
    if (!m_locations) {
        std::vector<Thouse*> houses;
        ForEachHouse([&](Thouse& house) { houses.push_back(&house); });
        m_locations.emplace(std::move(houses), m_records, *m_facts);
    }
    return *m_locations;
}

QDateTime Selection::now() const
{
    return m_services.Now ? m_services.Now() : QDateTime::currentDateTime();
}

void Selection::ClearTree()
{
    m_controls.ClearTree();
    m_listed.clear();
    m_pins.clear();
    m_details.reset();
}

void Selection::ListOrganisation(std::size_t org, bool always)
{
    if (org >= m_records.size() || (!always && !m_filter->Passes(org)))
        return;
    // Past the tree's limit an organisation is only counted: no pin, no lines.
    const bool shown = m_listed.size() < kMaxListedOrganisations;
    if (shown && m_facts->Loaded())
        if (const std::optional<OrgLocations::Point> point = Locations().PointOf(org))
            m_pins.push_back(*point);
    m_listed.push_back(org);
    if (shown && !m_details)
        m_details.emplace(*m_facts, m_facts->Loaded() ? now() : QDateTime());
    m_controls.AddOrganisation(org, m_records[org], shown ? m_details->LinesOf(org) : QStringList());
}

void Selection::ListOrganisations(const Thouse& house)
{
    // A house without an address is named by no entry: only what is placed in it.
    const bool unaddressed = IsUnaddressed(house);
    std::span<const std::uint32_t> placed;
    if (m_facts->Loaded())
        if (const std::optional<std::size_t> index = Locations().IndexOf(&house))
            placed = m_facts->PlacedIn(*index);
    const AddressKey key = AddressKey::Of(house);
    std::size_t next = 0;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const bool inHouse = next < placed.size() && placed[next] == i;
        if (inHouse)
            ++next;
        if (inHouse || (!unaddressed && key.Matches(m_records[i])))
            ListOrganisation(i);
    }
}

void Selection::selectHouseAlone(Thouse& house)
{
    ClearFields();
    house.SetSelectedColor();
    m_state.CurrentObject = &house;
    if (m_services.MoveToHouse)
        m_services.MoveToHouse(house);
    if (m_services.ViewHint)
        m_services.ViewHint(house);
    ListOrganisations(house);
}

void Selection::SelectOrganisation(std::size_t org)
{
    if (org >= m_records.size())
        return;
    const TGxSceneUpdate update(m_scene);
    const OrgRecord& entry = m_records[org];
    const OrgPlace& place = m_facts->PlaceOf(org);
    const OrgLocations& locations = Locations();
    if (place.place == OrgPlace::Place::House && place.house < locations.Houses().size()) {
        Thouse& house = *locations.Houses()[place.house];
        selectHouseAlone(house);
    } else if (const std::optional<OrgLocations::Point> point = locations.PointOf(org)) {
        ClearFields();
        if (m_services.RemoveHint)
            m_services.RemoveHint();
        // Nothing of the map is chosen: a later press re-applies no house.
        m_state.CurrentObject = nullptr;
        if (m_services.MoveToPoint)
            m_services.MoveToPoint(point->x, point->y);
    } else if (!IsUnaddressed(entry)) {
        SelectByAdress(entry);
    } else {
        ClearFields();
    }
    if (std::find(m_listed.begin(), m_listed.end(), org) == m_listed.end())
        ListOrganisation(org, true);
}

void Selection::ShowOrganisation(std::size_t org)
{
    if (org >= m_records.size())
        return;
    const TGxSceneUpdate update(m_scene);
    const OrgLocations& locations = Locations();
    if (const std::optional<OrgLocations::Point> point = locations.PointOf(org)) {
        if (m_services.MoveToPoint)
            m_services.MoveToPoint(point->x, point->y);
        return;
    }
    const std::span<const std::uint32_t> houses = locations.HousesOf(org);
    if (houses.empty())
        return;
    for (const std::uint32_t h : houses)
        locations.Houses()[h]->SetSelectedColor();
    Thouse& last = *locations.Houses()[houses.back()];
    m_state.CurrentObject = &last;
    if (m_services.MoveToHouse)
        m_services.MoveToHouse(last);
    if (m_services.ViewHint)
        m_services.ViewHint(last);
}

void Selection::ShowFiltered()
{
    const TGxSceneUpdate update(m_scene);
    DeSelectAll();
    if (m_services.RemoveHint)
        m_services.RemoveHint();
    m_controls.SetOrgNameText({});
    ClearFields();
    m_state.StreetMode = false;
    m_state.CurrentObject = nullptr;
    if (!m_filter->Active())
        return;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        ListOrganisation(i);
    // "Открыто сейчас" alone lights the houses in their own colour; a kind reddens its houses.
    if (m_filter->Kind().scope != KindChoice::Scope::All)
        PaintHouses([](Thouse& house) { house.SetSelectedColor(); });
}

void Selection::chooseHouse(Thouse& house)
{
    ListOrganisations(house);
    if (m_services.MoveToHouse)
        m_services.MoveToHouse(house);
    if (m_services.ViewHint)
        m_services.ViewHint(house);
}

void Selection::GxSceneViewerMouseDown(Qt::MouseButton button, int x, int y)
{
    // Everything a press recolours reaches the view as one change.
    const TGxSceneUpdate update(m_scene);
    if (!m_state.PanMode && button == Qt::LeftButton) {
        DeSelectAll();
        if (m_services.RemoveHint)
            m_services.RemoveHint();
        m_controls.SetOrgNameText({});
        m_controls.SetStreetText({});
        m_controls.SetHouseNoText({});
        ClearTree();

        TGxBaseSceneObject* hit = m_services.ObjectAtPixel ? m_services.ObjectAtPixel(x, y) : nullptr;
        // Only the exact class: a class derived from the sprite has another name.
        if (hit && hit != m_state.CurrentObject && hit->ClassName() != "TGxSprite")
            m_state.CurrentObject = hit;

        if (Thouse* house = asHouse(m_state.CurrentObject))
            chooseHouse(*house);
        if (Thouse* house = parentHouse(m_state.CurrentObject)) // a wall
            chooseHouse(*house);
    }

    // Every press, also the starts of an orbit or a pan, re-applies the choice.
    if (Thouse* house = asHouse(m_state.CurrentObject)) {
        m_state.StreetMode = false;
        m_state.SelectedHouse = house;
        SelAct();
    }
    if (Thouse* house = parentHouse(m_state.CurrentObject)) {
        m_state.StreetMode = false;
        m_state.SelectedHouse = house;
        SelAct();
    }
}

void Selection::SelAct()
{
    const TGxSceneUpdate update(m_scene);
    DeSelectAll();
    if (m_state.StreetMode) {
        SelectByStreet(m_state.StreetModeName);
        return;
    }
    if (!m_state.SelectedHouse)
        return;
    if (IsUnaddressed(*m_state.SelectedHouse)) {
        selectHouseAlone(*m_state.SelectedHouse);
        return;
    }
    const AddressKey key = AddressKey::CutOf(*m_state.SelectedHouse);
    OrgRecord entry;
    entry.streetName = key.street;
    entry.houseNo = key.houseNo;
    SelectByAdress(entry);
    if (Thouse* house = parentHouse(m_state.CurrentObject))
        SelByAdrEx(*house);
    if (Thouse* house = asHouse(m_state.CurrentObject))
        SelByAdrEx(*house);
}

void Selection::SelectByAdress(const OrgRecord& entry)
{
    const TGxSceneUpdate update(m_scene);
    ClearFields();
    const AddressKey key = AddressKey::Of(entry);
    // An entry without an address names no house, not every house without one.
    const bool unaddressed = IsUnaddressed(entry);
    ForEachHouse([&](Thouse& house) {
        if (!unaddressed && key.Matches(house)) {
            house.SetSelectedColor();
            m_state.CurrentObject = &house;
        }
    });
    // With no house at that address, the house chosen before is shown again.
    if (Thouse* house = asHouse(m_state.CurrentObject)) {
        house->SetSelectedColor();
        if (m_services.MoveToHouse)
            m_services.MoveToHouse(*house);
        if (m_services.ViewHint)
            m_services.ViewHint(*house);
        ListOrganisations(*house);
    }
}

void Selection::SelByAdrEx(Thouse& house)
{
    const TGxSceneUpdate update(m_scene);
    if (IsUnaddressed(house)) {
        house.SetSelectedColor();
        if (m_services.ViewHint)
            m_services.ViewHint(house);
        return;
    }
    const AddressKey key = AddressKey::CutOf(house);
    ForEachHouse([&](Thouse& other) {
        if (key.Matches(other)) {
            other.SetSelectedColor();
            if (m_services.ViewHint)
                m_services.ViewHint(other);
        }
    });
}

void Selection::SelectByStreet(const std::string& street)
{
    const TGxSceneUpdate update(m_scene);
    ForEachHouse([&](Thouse& house) {
        if (house.params()[0] == street)
            house.SetSelectedColor();
    });
}
