#include "directory/Selection.h"

#include "map/MapState.h"
#include "directory/AddressKey.h"
#include "directory/SearchControls.h"
#include "engine/scene/GxSceneUpdate.h"
#include "map/House.h"

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
    for (int i = 0; i < root->Count(); ++i)
        if (auto* house = asHouse(root->Children(i))) {
            // One already like the model would come out of the reset unchanged.
            if (!model || !house->LooksLike(*model)) {
                house->SetNormalColors();
                house->ClearGlow();
            }
            if (model)
                house->ShareLookOf(*model);
            else
                model = house;
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
    ::DeSelectAll(m_scene);
}

void Selection::ClearFields()
{
    m_controls.SetStreetText({});
    m_controls.SetHouseNoText({});
    m_controls.ClearTree();
}

void Selection::ListOrganisations(const Thouse& house)
{
    const AddressKey key = AddressKey::Of(house);
    for (const OrgRecord& entry : m_records)
        if (key.Matches(entry))
            m_controls.AddSimpleRecord(entry);
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
        m_controls.ClearTree();

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
    ForEachHouse([&](Thouse& house) {
        if (key.Matches(house)) {
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
