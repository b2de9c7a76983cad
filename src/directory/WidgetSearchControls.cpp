#include "directory/WidgetSearchControls.h"

#include "directory/ResultsTree.h"
#include "directory/SortedComboBox.h"

WidgetSearchControls::WidgetSearchControls(SortedComboBox& orgName, SortedComboBox& street,
                                           SortedComboBox& houseEdit, ResultsTree& tree)
    : m_orgName(orgName), m_street(street), m_houseEdit(houseEdit), m_tree(tree)
{
}

std::optional<std::string> WidgetSearchControls::OrgNameText() const { return m_orgName.RawText(); }
std::optional<std::string> WidgetSearchControls::StreetText() const { return m_street.RawText(); }
std::optional<std::string> WidgetSearchControls::HouseNoText() const { return m_houseEdit.RawText(); }

void WidgetSearchControls::SetOrgNameText(const std::string& raw) { m_orgName.SetRawText(raw); }
void WidgetSearchControls::SetStreetText(const std::string& raw) { m_street.SetRawText(raw); }
void WidgetSearchControls::SetHouseNoText(const std::string& raw) { m_houseEdit.SetRawText(raw); }

void WidgetSearchControls::SetHouseNumbers(const std::vector<std::string>& raws)
{
    m_houseEdit.Clear();
    m_houseEdit.AddItems(raws);
}

void WidgetSearchControls::ClearTree() { m_tree.Clear(); }
void WidgetSearchControls::AddSimpleRecord(const OrgRecord& entry) { m_tree.AddSimpleRecord(entry); }
void WidgetSearchControls::AddOrganisation(std::size_t index, const OrgRecord& entry, const QStringList& moreLines)
{
    m_tree.AddOrganisation(index, entry, moreLines);
}
