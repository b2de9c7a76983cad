#include "directory/SearchPanel.h"

#include "map/MapState.h"
#include "directory/SearchControls.h"
#include "directory/Selection.h"
#include "map/House.h"

#include <unordered_set>

SearchPanel::SearchPanel(Selection& selection) : m_selection(selection) {}

void SearchPanel::bt_searchClick()
{
    MapState& state = m_selection.State();
    SearchControls& controls = m_selection.Controls();
    m_selection.DeSelectAll();
    controls.ClearTree();

    const std::optional<std::string> street = controls.StreetText();
    const std::optional<std::string> houseNo = controls.HouseNoText();
    const bool noNumber = houseNo && houseNo->empty();
    m_selection.ForEachHouse([&](Thouse& house) {
        if (house.params()[0] != street)
            return;
        if (noNumber) {
            state.StreetMode = true;
            state.SelectedHouse = nullptr;
            state.StreetModeName = *street;
            m_selection.SelAct();
        }
        if (house.params()[1] == houseNo)
            state.CurrentObject = &house;
    });

    if (street)
        for (const OrgRecord& entry : m_selection.Records())
            if (entry.streetName == *street && (noNumber || entry.houseNo == houseNo))
                controls.AddSimpleRecord(entry);

    // Not reset first: with no house found, the one chosen before is shown again.
    if (auto* house = dynamic_cast<Thouse*>(state.CurrentObject)) {
        house->SetSelectedColor();
        if (m_selection.Callbacks().MoveToHouse)
            m_selection.Callbacks().MoveToHouse(*house);
    }
}

void SearchPanel::StreetChange()
{
    SearchControls& controls = m_selection.Controls();
    const std::optional<std::string> street = controls.StreetText();
    std::vector<std::string> numbers;
    std::unordered_set<std::string> offered;
    if (street)
        m_selection.ForEachHouse([&](Thouse& house) {
            const std::string& number = house.params()[1];
            // "0" marks a house without a number.
            if (house.params()[0] == *street && number != "0" && offered.insert(number).second)
                numbers.push_back(number);
        });
    controls.SetHouseNumbers(numbers);
    controls.SetOrgNameText({});
}

void SearchPanel::OrgNameChange()
{
    SearchControls& controls = m_selection.Controls();
    m_selection.DeSelectAll();
    controls.ClearTree();
    controls.SetStreetText({});
    controls.SetHouseNoText({});

    const std::optional<std::string> name = controls.OrgNameText();
    if (!name)
        return;
    for (const OrgRecord& entry : m_selection.Records())
        if (entry.name == *name) {
            m_selection.SelectByAdress(entry);
            controls.SetHouseNoText(entry.houseNo);
            controls.SetStreetText(entry.streetName);
        }
}

void SearchPanel::ClearFields()
{
    m_selection.ClearFields();
}

void SearchPanel::ForgetChosenObject()
{
    m_selection.State().CurrentObject = nullptr;
}
