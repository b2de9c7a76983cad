#pragma once

#include "directory/OrgFilter.h"

#include <QComboBox>

#include <vector>

// "Рубрика": "Все рубрики", then each heading (in bold, choosing all its
// kinds) with its kinds below it, "Аптеки (12)". Not editable.
class KindComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit KindComboBox(QWidget* parent = nullptr);

    // Replaces the items; "Все рубрики" becomes current. With no kinds but
    // "Все рубрики" (a town without a places file) the box is disabled.
    void Fill(const std::vector<KindItem>& items);
    KindChoice Choice() const;
    // Makes the item of that choice current, as the user would (tests, keys).
    bool Choose(const KindChoice& choice);

signals:
    // The user (or Choose) picked another item.
    void choiceChanged();

private:
    std::vector<KindItem> m_items;
};
