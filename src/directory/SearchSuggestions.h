#pragma once

#include "search/AddressIndex.h"
#include "search/NameIndex.h"

#include <QObject>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class SortedComboBox;
class SuggestionPopup;

// Suggestions for the three search boxes while the user types: names in
// OrgName, streets and "street number" lines in Street, numbers as people
// write them in HouseEdit. Choosing a line (a click, Enter; the arrows move
// to it) puts the stored text into the box as the user's own edit, so the
// box's change handler runs as if it had been typed. Enter in Street or
// HouseEdit runs the search; Escape closes a list and does nothing else.
// A street's own line chosen with Enter shows that street alone:
// `streetChosen` runs first and lets go of whatever was chosen before.
class SearchSuggestions : public QObject {
    Q_OBJECT

public:
    using Houses = std::vector<std::pair<std::string, std::string>>;

    SearchSuggestions(SortedComboBox& orgName, SortedComboBox& street, SortedComboBox& houseEdit,
                      std::function<void()> search, std::function<Houses()> houses,
                      std::function<void()> streetChosen = {});
    ~SearchSuggestions() override;

    // Reads the names, the streets and the houses' addresses again (after loading).
    void Prepare();

    SuggestionPopup& PopupOf(const SortedComboBox& box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Box;
    Box* boxOf(QObject* watched) const;
    void typed(Box& box);
    void choose(Box& box, int row, bool byEnter);
    void hideAll();

    std::vector<std::unique_ptr<Box>> m_boxes;
    std::function<void()> m_search;
    std::function<Houses()> m_houses;
    std::function<void()> m_streetChosen;
    NameIndex m_names;
    NameIndex m_streets;
    AddressIndex m_addresses;
    bool m_prepared = false;
};
