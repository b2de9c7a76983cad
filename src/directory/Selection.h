#pragma once

#include "data/OrgRecord.h"
#include "directory/OrgDetails.h"
#include "directory/OrgFacts.h"
#include "directory/OrgFilter.h"
#include "directory/OrgLocations.h"

#include <QDateTime>
#include <Qt>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class SearchControls;
class TGxBaseSceneObject;
class TGxScene;
class Thouse;
struct MapState;

// Every house (a Thouse directly under the object root) back to its normal
// colours: green, no selection, no glow.
void DeSelectAll(TGxScene& scene);

// Which houses of the map are chosen and painted red, and what the search
// fields, the results tree and the address label show for them. Entered by a
// press in the map view and by the search panel. Houses are the Thouse
// objects directly under the object root; every match is AddressKey's.
class Selection {
public:
    // What selection needs from the map view and the navigation.
    struct Services {
        // The nearest object under the view pixel (top-left origin), or none.
        std::function<TGxBaseSceneObject*(int x, int y)> ObjectAtPixel;
        // Writes the house's address into Street and HouseEdit and starts the fly-to.
        std::function<void(Thouse&)> MoveToHouse;
        // Replaces the floating address label by one for the house.
        std::function<void(Thouse&)> ViewHint;
        // Takes the floating address label out of the scene, if there is one.
        std::function<void()> RemoveHint;
        // Flies to a point of the map (an organisation placed at no house).
        std::function<void(float x, float y)> MoveToPoint;
        // The program's clock, for the hours' state shown in the tree.
        std::function<QDateTime()> Now;
    };

    Selection(MapState& state, TGxScene& scene, const OrgRecords& records, SearchControls& controls,
              Services services);

    // A press in the map view at view pixel (x, y). A left press outside pan
    // mode chooses what it hits (not a plain TGxSprite; nothing keeps the
    // choice); every press then re-applies the choice of a house.
    void GxSceneViewerMouseDown(Qt::MouseButton button, int x, int y);

    void DeSelectAll();
    // Re-applies the current selection from MapState: the street in street
    // mode, else the address of SelectedHouse.
    void SelAct();
    // Paints the house(s) at the entry's StreetName and HouseNo (the last of
    // them becomes CurrentObject), then flies to, labels and lists
    // CurrentObject if it is a house. Empties Street, HouseEdit and the tree first.
    void SelectByAdress(const OrgRecord& entry);
    // Paints and labels every house whose address equals the house's cut one.
    void SelByAdrEx(Thouse& house);
    // Paints every house of the street.
    void SelectByStreet(const std::string& street);
    // Empties Street, HouseEdit and the tree; OrgName and the colours stay.
    void ClearFields();
    // Lists the directory entries at the house's address, in file order.
    void ListOrganisations(const Thouse& house);

    // The houses of the map, in child order.
    void ForEachHouse(const std::function<void(Thouse&)>& visit);

    // The organisations' places, kinds and hours, and what "Рубрика" and
    // "Открыто сейчас" keep; both outlive the selection. Call once the
    // town's houses are in the scene. Without it: no places, nothing kept out.
    void AttachPlaces(const OrgFacts& facts, const OrgFilter& filter);
    const OrgFacts& Facts() const { return *m_facts; }
    const OrgFilter& Filter() const { return *m_filter; }
    const OrgLocations& Locations();

    // Empties the tree and takes the pins away.
    void ClearTree();
    // Lists the organisation (with its kind and hours) if the filter keeps
    // it or `always`; one placed at a point gets a pin.
    void ListOrganisation(std::size_t org, bool always = false);
    // The organisations in the tree, in tree order.
    const std::vector<std::size_t>& Listed() const { return m_listed; }
    // The points of the listed organisations placed at one (at most as many
    // as the tree shows).
    const std::vector<OrgLocations::Point>& Pins() const { return m_pins; }

    // An organisation found by name: its house red, flown to and listed
    // with the organisations in it; one at a point listed alone with its pin
    // and flown to; one whose address names no house listed alone. It is
    // listed whatever the filter keeps.
    void SelectOrganisation(std::size_t org);
    // An organisation chosen in the tree: its house painted red (or its
    // point) and flown to, as an address match; the tree stays.
    void ShowOrganisation(std::size_t org);
    // "Рубрика" or "Открыто сейчас" without a search: every organisation the
    // filter keeps is listed and, when a kind is chosen, its house turns red.
    void ShowFiltered();

    MapState& State() { return m_state; }
    const OrgRecords& Records() const { return m_records; }
    SearchControls& Controls() { return m_controls; }
    Services& Callbacks() { return m_services; }

private:
    void chooseHouse(Thouse& house);
    // Only this house: painted, flown to, labelled and listed.
    void selectHouseAlone(Thouse& house);
    // Houses with an organisation open now take their own colour while
    // "Открыто сейчас" is on.
    void paintOpenHouses();
    // Paints once each house of an organisation the filter keeps.
    void PaintHouses(const std::function<void(Thouse&)>& paint);
    QDateTime now() const;

    MapState& m_state;
    TGxScene& m_scene;
    const OrgRecords& m_records;
    SearchControls& m_controls;
    Services m_services;

    OrgFacts m_noFacts;
    OrgFilter m_noFilter{m_noFacts, 0};
    const OrgFacts* m_facts = &m_noFacts;
    const OrgFilter* m_filter = &m_noFilter;
    std::optional<OrgLocations> m_locations;
    std::vector<std::size_t> m_listed;
    std::vector<OrgLocations::Point> m_pins;
    std::optional<OrgDetails> m_details; // the lines of the tree's organisations at one moment
};
