#pragma once

class Selection;

// The search panel "Поиск по карте": find an organisation by name, the houses
// of a street, or a house by street and number. The change handlers run for
// the user's edits and picks only, never for texts set from code.
class SearchPanel {
public:
    explicit SearchPanel(Selection& selection);

    // Street alone: street mode, every house of the street red, the tree
    // lists the whole street. Street and number: that house red, flown to
    // and listed. CurrentObject, if a house, is painted and flown to as well.
    void bt_searchClick();
    // Offers the numbers of the street's houses in HouseEdit (each once,
    // never "0") and empties OrgName.
    void StreetChange();
    // Selects the house of every organisation of exactly that name; the last
    // one's address stays in the fields.
    void OrgNameChange();
    // Empties Street, HouseEdit and the tree.
    void ClearFields();
    // Forgets the object chosen last (CurrentObject), so that the next search
    // neither paints a house chosen before nor writes its address back into
    // the boxes: for a street chosen as a whole from its suggestions.
    void ForgetChosenObject();

    // "Рубрика" or "Открыто сейчас" changed: the street searched last again,
    // else every organisation kept, over the whole town.
    void FilterChanged();
    // Something was chosen in the map: no search is the last one any more.
    void MapChosen();

private:
    enum class LastSearch { None, Street, Name };
    // OrgName holds the name of an organisation whose address the fields
    // show (or they show none): what a name search leaves.
    bool namesOrganisationShown() const;

    Selection& m_selection;
    LastSearch m_lastSearch = LastSearch::None;
};
