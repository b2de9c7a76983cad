#include "directory/ResultsTree.h"

#include "base/Cp1251.h"
#include "directory/ContactLine.h"
#include "directory/ResultsTreeIcons.h"
#include "directory/SearchControls.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

namespace {

// Where an organisation's node keeps its index in the directory and its
// entry's address.
constexpr int kIndexRole = Qt::UserRole + 1;
constexpr int kStreetRole = Qt::UserRole + 2;
constexpr int kHouseNoRole = Qt::UserRole + 3;

std::string cut(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}

bool isSelfOrAncestorOf(const QTreeWidgetItem* node, const QTreeWidgetItem* item)
{
    for (; item; item = item->parent())
        if (item == node)
            return true;
    return false;
}

} // namespace

const std::array<int, 5> SimpleRecordLines::kImages = {
    ResultsTreeIcons::Organisation, ResultsTreeIcons::Address, ResultsTreeIcons::Phone,
    ResultsTreeIcons::Email, ResultsTreeIcons::Web,
};

SimpleRecordLines SimpleRecordLines::From(const OrgRecord& e)
{
    SimpleRecordLines r;
    r.lines[0] = cut(e.name, kNameLength);
    r.lines[1] = cut(cut(e.streetName + ", ", kStreetPartLength) + e.houseNo, kAddressLength);
    r.lines[2] = cut(cp1251::fromUtf8("тел. ") + e.phone, kPhoneLength);
    r.lines[3] = cut("e-mail: " + e.email, kEmailLength);
    r.lines[4] = cut("web: " + e.web, kWebLength);
    return r;
}

ResultsTree::ResultsTree(QWidget* parent)
    : QTreeWidget(parent)
{
    const QPixmap selected = QPixmap::fromImage(ResultsTreeIcons::Image(ResultsTreeIcons::Organisation));
    for (int i = 0; i < ResultsTreeIcons::kCount; ++i) {
        QIcon& icon = m_icons[static_cast<std::size_t>(i)];
        icon.addPixmap(QPixmap::fromImage(ResultsTreeIcons::Image(i)), QIcon::Normal);
        icon.addPixmap(selected, QIcon::Selected);
    }

    setColumnCount(1);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(false);
    setIndentation(19);
    setIconSize(QSize(ResultsTreeIcons::kSize, ResultsTreeIcons::kSize));
    setUniformRowHeights(true);

    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, colours.color(QPalette::WindowText));
    setPalette(colours);

    connect(this, &QTreeWidget::itemSelectionChanged, this, &ResultsTree::selectionMoved);
    connect(this, &QTreeWidget::itemActivated, this, &ResultsTree::activate);
}

ResultsTree::~ResultsTree() = default;

void ResultsTree::AddSimpleRecord(const OrgRecord& entry)
{
    const SimpleRecordLines lines = SimpleRecordLines::From(entry);
    auto* org = new QTreeWidgetItem(QStringList(cp1251::decode(lines.lines[0])));
    org->setIcon(0, m_icons[ResultsTreeIcons::Organisation]);
    org->setData(0, Qt::UserRole, int(ContactLine::Name));
    org->setData(0, kStreetRole, QByteArray::fromStdString(entry.streetName));
    org->setData(0, kHouseNoRole, QByteArray::fromStdString(entry.houseNo));
    for (std::size_t i = 1; i < lines.lines.size(); ++i) {
        auto* line = new QTreeWidgetItem(org, QStringList(cp1251::decode(lines.lines[i])));
        line->setIcon(0, m_icons[static_cast<std::size_t>(SimpleRecordLines::kImages[i])]);
        line->setData(0, Qt::UserRole, int(i));
    }
    addTopLevelItem(org);
}

void ResultsTree::AddOrganisation(std::size_t index, const OrgRecord& entry, const QStringList& moreLines)
{
    if (std::size_t(topLevelItemCount()) - (m_notShown ? 1 : 0) >= kMaxListedOrganisations) {
        if (!m_notShown) {
            m_notShown = new QTreeWidgetItem;
            m_notShown->setData(0, Qt::UserRole, -1);
            addTopLevelItem(m_notShown);
            // Counted on, written once the listing is done: tens of thousands
            // of changes of one line would each reach the view.
            QMetaObject::invokeMethod(this, [this] { showNotShownCount(); }, Qt::QueuedConnection);
        }
        ++m_notShownCount;
        return;
    }
    AddSimpleRecord(entry);
    QTreeWidgetItem* org = topLevelItem(topLevelItemCount() - 1);
    org->setData(0, kIndexRole, qlonglong(index));
    for (const QString& text : moreLines) {
        auto* line = new QTreeWidgetItem(org, QStringList(text));
        line->setData(0, Qt::UserRole, int(ContactLine::Web) + 1);
    }
}

void ResultsTree::showNotShownCount() const
{
    if (m_notShown)
        m_notShown->setText(0, QStringLiteral("… и ещё %1: уточните поиск").arg(m_notShownCount));
}

int ResultsTree::OrganisationOf(const QTreeWidgetItem* node)
{
    if (!node || node->parent())
        return -1;
    const QVariant index = node->data(0, kIndexRole);
    return index.isValid() ? int(index.toLongLong()) : -1;
}

QList<QStringList> ResultsTree::OrganisationTexts() const
{
    showNotShownCount();
    QList<QStringList> organisations;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* org = topLevelItem(i);
        QStringList texts{org->text(0)};
        for (int j = 0; j < org->childCount(); ++j)
            texts << org->child(j)->text(0);
        organisations << texts;
    }
    return organisations;
}

void ResultsTree::Clear()
{
    clear();
    m_notShown = nullptr;
    m_notShownCount = 0;
}

QStringList ResultsTree::NodeTexts() const
{
    showNotShownCount();
    QStringList texts;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* org = topLevelItem(i);
        texts << org->text(0);
        for (int j = 0; j < org->childCount(); ++j)
            texts << org->child(j)->text(0);
    }
    return texts;
}

void ResultsTree::MakeFirstCurrent(bool focus)
{
    if (topLevelItemCount() == 0)
        return;
    selectionModel()->setCurrentIndex(indexFromItem(topLevelItem(0)), QItemSelectionModel::NoUpdate);
    if (focus)
        setFocus(Qt::OtherFocusReason);
}

int ResultsTree::LineOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, Qt::UserRole).toInt() : -1;
}

std::pair<std::string, std::string> ResultsTree::AddressOf(const QTreeWidgetItem* node)
{
    while (node && node->parent())
        node = node->parent();
    if (!node)
        return {};
    return {node->data(0, kStreetRole).toByteArray().toStdString(), node->data(0, kHouseNoRole).toByteArray().toStdString()};
}

QString ResultsTree::CopyText(const QTreeWidgetItem* node)
{
    return node ? ContactLine::CopyText(LineOf(node), node->text(0)) : QString();
}

QString ResultsTree::CopyAllText(const QTreeWidgetItem* organisation)
{
    QStringList lines{organisation->text(0)};
    for (int i = 0; i < organisation->childCount(); ++i)
        lines << organisation->child(i)->text(0);
    return ContactLine::AllText(lines);
}

void ResultsTree::activate(QTreeWidgetItem* node)
{
    if (!node)
        return;
    // Anything not plausibly an address is only there to be copied.
    if (const std::optional<QUrl> link = ContactLine::LinkOf(LineOf(node), node->text(0)))
        emit linkActivated(*link);
}

void ResultsTree::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* node = event->reason() == QContextMenuEvent::Mouse ? itemAt(event->pos()) : currentItem();
    if (!node)
        return;
    setCurrentItem(node);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                   : viewport()->mapToGlobal(visualItemRect(node).center());
    delete m_menu;
    m_menu = new QMenu(this);
    m_menu->setObjectName("TreeViewMenu");
    const QString text = CopyText(node);
    m_menu->addAction(QStringLiteral("Копировать"), this, [text] { QGuiApplication::clipboard()->setText(text); });
    if (!node->parent()) {
        const QString all = CopyAllText(node);
        m_menu->addAction(QStringLiteral("Копировать всё"), this, [all] { QGuiApplication::clipboard()->setText(all); });
    }
    if (ExtendMenu) {
        const QTreeWidgetItem* organisation = node;
        while (organisation->parent())
            organisation = organisation->parent();
        m_menu->addSeparator();
        ExtendMenu(*m_menu, organisation);
    }
    m_menu->popup(at);
    event->accept();
}

void ResultsTree::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        if (QTreeWidgetItem* node = currentItem())
            QGuiApplication::clipboard()->setText(CopyText(node));
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void ResultsTree::selectionMoved()
{
    QTreeWidgetItem* selected = selectedItems().value(0);
    QTreeWidgetItem* previous = m_lastSelected.isValid() ? itemFromIndex(m_lastSelected) : nullptr;
    m_lastSelected = selected ? QPersistentModelIndex(indexFromItem(selected)) : QPersistentModelIndex();
    singleExpand(selected, previous);
    if (const int index = OrganisationOf(selected); index >= 0 && selected != previous)
        emit organisationChosen(index);
}

// Single-expand: the new node opens; the branch selected before closes up to
// the first node that also holds the new one.
void ResultsTree::singleExpand(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    for (QTreeWidgetItem* node = previous; node; node = node->parent())
        if (!isSelfOrAncestorOf(node, current))
            node->setExpanded(false);
    if (current)
        current->setExpanded(true);
}
