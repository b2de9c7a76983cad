#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

#include <string>
#include <vector>

// The items of a sorted list box: Windows-1251 texts kept as their raw bytes
// (Qt::UserRole gives them as a QByteArray) and shown decoded, in Russian
// alphabetical order without regard to letter case. Items equal under that
// order go lower case first, then by their bytes, so the order never depends
// on the order of filling.
class SortedListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit SortedListModel(QObject* parent = nullptr);

    // Adds one item (duplicates too) at its sorted place.
    void AddItem(const std::string& raw);
    // Adds many items at once: one sort of the new items and one merge.
    void AddItems(const std::vector<std::string>& raws);
    void Clear();

    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& Raw(int row) const { return m_items[static_cast<std::size_t>(row)].raw; }
    const QString& Text(int row) const { return m_items[static_cast<std::size_t>(row)].text; }
    // Row of the first item whose bytes equal `raw`, or -1.
    int FindRaw(const std::string& raw) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Item {
        QString text;
        std::string raw;
        QCollatorSortKey key;
    };
    Item makeItem(const std::string& raw) const;
    bool less(const Item& a, const Item& b) const;
    auto byOrder() const
    {
        return [this](const Item& a, const Item& b) { return less(a, b); };
    }

    QCollator m_collator;
    QCollator m_caseCollator;
    std::vector<Item> m_items;
};
