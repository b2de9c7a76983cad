#pragma once

#include "directory/SortedListModel.h"

#include <QComboBox>
#include <optional>
#include <string>
#include <vector>

// An editable combo box whose list stays in Russian alphabetical order
// (letter case ignored) whatever the order of filling. Items are Windows-1251
// bytes; the typed text is offered as such bytes for byte-exact comparisons.
// Filling the list or setting the text from code never changes the text or
// emits changedByUser().
class SortedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SortedComboBox(QWidget* parent = nullptr);

    void AddItem(const std::string& raw);
    void AddItems(const std::vector<std::string>& raws);
    // Empties the list and the text.
    void Clear();

    int Count() const { return m_model->Count(); }
    const std::string& ItemRaw(int row) const { return m_model->Raw(row); }
    const SortedListModel& Items() const { return *m_model; }

    // The text as Windows-1251 bytes; empty (no value) when it holds a
    // character the code page lacks, so it equals no stored text. Compare
    // directly: `box.RawText() == record.streetName`.
    std::optional<std::string> RawText() const;
    void SetRawText(const std::string& raw);
    void SetText(const QString& text);
    // Sets the text as if the user had typed it: changedByUser() follows.
    void EditAsUser(const std::string& raw);

signals:
    // The user typed in the box or picked an item from its list.
    void changedByUser();

private:
    template <typename Fill> void keepText(Fill fill);

    SortedListModel* m_model;
};
