#pragma once

#include "data/OrgRecord.h"

#include <Qt>

#include <functional>
#include <string>

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

    MapState& State() { return m_state; }
    const OrgRecords& Records() const { return m_records; }
    SearchControls& Controls() { return m_controls; }
    Services& Callbacks() { return m_services; }

private:
    void chooseHouse(Thouse& house);

    MapState& m_state;
    TGxScene& m_scene;
    const OrgRecords& m_records;
    SearchControls& m_controls;
    Services m_services;
};
