#include "directory/SortedListModel.h"

#include "base/Cp1251.h"

#include <QLocale>
#include <algorithm>
#include <iterator>

SortedListModel::SortedListModel(QObject* parent)
    : QAbstractListModel(parent), m_collator(QLocale(QLocale::Russian, QLocale::Russia)), m_caseCollator(m_collator)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_caseCollator.setCaseSensitivity(Qt::CaseSensitive);
}

SortedListModel::Item SortedListModel::makeItem(const std::string& raw) const
{
    QString text = cp1251::decode(raw);
    QCollatorSortKey key = m_collator.sortKey(text);
    return Item{std::move(text), raw, std::move(key)};
}

bool SortedListModel::less(const Item& a, const Item& b) const
{
    if (const int c = a.key.compare(b.key))
        return c < 0;
    // Ties are rare (case variants, duplicates): no second key for every item.
    if (const int c = m_caseCollator.compare(a.text, b.text))
        return c < 0;
    return a.raw < b.raw;
}

void SortedListModel::AddItem(const std::string& raw)
{
    Item item = makeItem(raw);
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), item, byOrder());
    const int row = static_cast<int>(at - m_items.begin());
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(at, std::move(item));
    endInsertRows();
}

void SortedListModel::AddItems(const std::vector<std::string>& raws)
{
    if (raws.empty())
        return;
    std::vector<Item> added;
    added.reserve(raws.size());
    for (const std::string& raw : raws)
        added.push_back(makeItem(raw));
    std::stable_sort(added.begin(), added.end(), byOrder());

    if (m_items.empty()) {
        beginInsertRows(QModelIndex(), 0, static_cast<int>(added.size()) - 1);
        m_items = std::move(added);
        endInsertRows();
        return;
    }
    std::vector<Item> merged;
    merged.reserve(m_items.size() + added.size());
    std::merge(std::make_move_iterator(m_items.begin()), std::make_move_iterator(m_items.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), byOrder());
    beginResetModel();
    m_items = std::move(merged);
    endResetModel();
}

void SortedListModel::Clear()
{
    if (m_items.empty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

int SortedListModel::FindRaw(const std::string& raw) const
{
    const Item probe = makeItem(raw);
    const auto at = std::lower_bound(m_items.begin(), m_items.end(), probe, byOrder());
    return at != m_items.end() && at->raw == raw ? static_cast<int>(at - m_items.begin()) : -1;
}

int SortedListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant SortedListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count())
        return {};
    const Item& item = m_items[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item.text;
    case Qt::UserRole:
        return QByteArray(item.raw.data(), static_cast<qsizetype>(item.raw.size()));
    default:
        return {};
    }
}
