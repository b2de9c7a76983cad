#include "directory/SearchPanel.h"

#include "map/MapState.h"
#include "directory/OrgLocations.h"
#include "directory/SearchControls.h"
#include "directory/Selection.h"
#include "map/House.h"

#include <unordered_set>

SearchPanel::SearchPanel(Selection& selection) : m_selection(selection) {}

bool SearchPanel::namesOrganisationShown() const
{
    SearchControls& controls = m_selection.Controls();
    const std::optional<std::string> name = controls.OrgNameText();
    if (!name || name->empty())
        return false;
    const std::optional<std::string> street = controls.StreetText();
    for (const OrgRecord& entry : m_selection.Records())
        if (entry.name == *name && (!street || street->empty() || *street == entry.streetName))
            return true;
    return false;
}

void SearchPanel::bt_searchClick()
{
    // After a name search the fields hold the organisation's address, which
    // may be none: "Поиск" shows that organisation again, not every house
    // without an address.
    if (namesOrganisationShown()) {
        OrgNameChange();
        return;
    }
    m_lastSearch = LastSearch::Street;
    MapState& state = m_selection.State();
    SearchControls& controls = m_selection.Controls();
    m_selection.DeSelectAll();
    m_selection.ClearTree();

    const std::optional<std::string> street = controls.StreetText();
    const std::optional<std::string> houseNo = controls.HouseNoText();
    const bool noNumber = houseNo && houseNo->empty();
    // No street names no house: not every house without an address at once.
    const bool named = street && !street->empty();
    m_selection.ForEachHouse([&](Thouse& house) {
        if (!named || house.params()[0] != street)
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

    if (named) {
        const OrgRecords& records = m_selection.Records();
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].streetName == *street && (noNumber || records[i].houseNo == houseNo))
                m_selection.ListOrganisation(i);
    }

    // Not reset first: with no house found, the one chosen before is shown again.
    if (auto* house = dynamic_cast<Thouse*>(state.CurrentObject)) {
        house->SetSelectedColor();
        if (m_selection.Callbacks().MoveToHouse)
            m_selection.Callbacks().MoveToHouse(*house);
        // The fields of a house without an address name none: it lists what is in it.
        if (IsUnaddressed(*house))
            m_selection.ListOrganisations(*house);
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
    m_lastSearch = LastSearch::Name;
    SearchControls& controls = m_selection.Controls();
    m_selection.DeSelectAll();
    m_selection.ClearTree();
    controls.SetStreetText({});
    controls.SetHouseNoText({});

    const std::optional<std::string> name = controls.OrgNameText();
    if (!name)
        return;
    const OrgRecords& records = m_selection.Records();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].name == *name) {
            m_selection.SelectOrganisation(i);
            controls.SetHouseNoText(records[i].houseNo);
            controls.SetStreetText(records[i].streetName);
        }
}

void SearchPanel::FilterChanged()
{
    // A street searched last is searched again among what the filter keeps;
    // otherwise the filter lists the whole town.
    const std::optional<std::string> street = m_selection.Controls().StreetText();
    if (m_lastSearch == LastSearch::Street && street && !street->empty()) {
        bt_searchClick();
        return;
    }
    m_lastSearch = LastSearch::None;
    m_selection.ShowFiltered();
}

void SearchPanel::MapChosen()
{
    m_lastSearch = LastSearch::None;
}

void SearchPanel::ClearFields()
{
    m_selection.ClearFields();
}

void SearchPanel::ForgetChosenObject()
{
    m_selection.State().CurrentObject = nullptr;
}
