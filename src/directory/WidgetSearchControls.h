#pragma once

#include "directory/SearchControls.h"

class ResultsTree;
class SortedComboBox;

// The search fields and the results tree of the main window.
class WidgetSearchControls : public SearchControls {
public:
    WidgetSearchControls(SortedComboBox& orgName, SortedComboBox& street, SortedComboBox& houseEdit,
                         ResultsTree& tree);

    std::optional<std::string> OrgNameText() const override;
    std::optional<std::string> StreetText() const override;
    std::optional<std::string> HouseNoText() const override;
    void SetOrgNameText(const std::string& raw) override;
    void SetStreetText(const std::string& raw) override;
    void SetHouseNoText(const std::string& raw) override;
    void SetHouseNumbers(const std::vector<std::string>& raws) override;
    void ClearTree() override;
    void AddSimpleRecord(const OrgRecord& entry) override;
    void AddOrganisation(std::size_t index, const OrgRecord& entry, const QStringList& moreLines) override;

private:
    SortedComboBox& m_orgName;
    SortedComboBox& m_street;
    SortedComboBox& m_houseEdit;
    ResultsTree& m_tree;
};
