#include "directory/SortedComboBox.h"

#include "data/Cp1251.h"

#include <QCompleter>
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
    // Suggestions pop up below the box but never rewrite what is typed:
    // matching is exact and case-sensitive.
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    completer()->setCaseSensitivity(Qt::CaseSensitive);
    // Laying out rows one by one costs about 0.3 s a keystroke at 100,000 names.
    if (auto* list = qobject_cast<QListView*>(completer()->popup()))
        list->setUniformItemSizes(true);

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

void SortedComboBox::SetText(const QString& text)
{
    setEditText(text);
}
