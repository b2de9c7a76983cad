#include "directory/SortedComboBox.h"

#include "base/Cp1251.h"

#include <QLineEdit>
#include <QListView>

SortedComboBox::SortedComboBox(QWidget* parent)
    : QComboBox(parent), m_model(new SortedListModel(this))
{
    setEditable(true);
    setModel(m_model);
    // Enter must not add the typed text to the list: the lists hold data only.
    setInsertPolicy(QComboBox::NoInsert);
    // Measuring 100,000 names for a size hint would stall the first show.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    // Suggestions come from SearchSuggestions, not from a completer.
    setCompleter(nullptr);

    // Qt picks the typed text from the list again when the box loses the
    // focus, and reports that as a pick: the change handler would run once
    // more, for no edit of the user's, while the click that took the focus
    // lands (the results tree would be refilled under it).
    disconnect(lineEdit(), SIGNAL(editingFinished()), this, SLOT(_q_editingFinished()));
    connect(lineEdit(), &QLineEdit::textEdited, this, &SortedComboBox::changedByUser);
    connect(this, &QComboBox::activated, this, &SortedComboBox::changedByUser);
}

// Qt makes the first item current when an empty list is filled or reset,
// which would replace the text; a list box that is only filled keeps it.
template <typename Fill> void SortedComboBox::keepText(Fill fill)
{
    const QString text = currentText();
    const bool blocked = blockSignals(true);
    fill();
    setCurrentIndex(-1);
    setEditText(text);
    blockSignals(blocked);
}

void SortedComboBox::AddItem(const std::string& raw)
{
    keepText([&] { m_model->AddItem(raw); });
}

void SortedComboBox::AddItems(const std::vector<std::string>& raws)
{
    keepText([&] { m_model->AddItems(raws); });
}

void SortedComboBox::Clear()
{
    const bool blocked = blockSignals(true);
    m_model->Clear();
    setCurrentIndex(-1);
    setEditText(QString());
    blockSignals(blocked);
}

std::optional<std::string> SortedComboBox::RawText() const
{
    std::string raw;
    if (!cp1251::encode(currentText(), raw))
        return std::nullopt;
    return raw;
}

void SortedComboBox::SetRawText(const std::string& raw)
{
    SetText(cp1251::decode(raw));
}

void SortedComboBox::EditAsUser(const std::string& raw)
{
    SetRawText(raw);
    emit changedByUser();
}

void SortedComboBox::SetText(const QString& text)
{
    setEditText(text);
}
