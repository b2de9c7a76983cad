#include "directory/KindComboBox.h"

#include <QFont>

KindComboBox::KindComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // A town has some 90 kinds: the list shows many at once.
    setMaxVisibleItems(25);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit choiceChanged(); });
    Fill({KindItem{kAllKinds, {}, false}});
}

void KindComboBox::Fill(const std::vector<KindItem>& items)
{
    const QSignalBlocker quiet(this);
    clear();
    m_items = items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        addItem(QString::fromStdString(items[i].text));
        if (items[i].heading) {
            QFont bold = font();
            bold.setBold(true);
            setItemData(int(i), bold, Qt::FontRole);
        }
    }
    setCurrentIndex(0);
    setEnabled(items.size() > 1);
}

KindChoice KindComboBox::Choice() const
{
    const int i = currentIndex();
    return i >= 0 && std::size_t(i) < m_items.size() ? m_items[std::size_t(i)].choice : KindChoice{};
}

bool KindComboBox::Choose(const KindChoice& choice)
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].choice == choice) {
            setCurrentIndex(int(i));
            return true;
        }
    return false;
}
