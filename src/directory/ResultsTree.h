#pragma once

#include "data/OrgRecord.h"

#include <QIcon>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTreeWidget>
#include <QUrl>
#include <array>
#include <functional>
#include <string>
#include <utility>

class QMenu;

// The five lines an organisation occupies in the results tree, as
// Windows-1251 bytes: name, address, telephone, e-mail, web. Each is cut to
// the prefix plus its fields' capacities, so a well-formed record is not cut.
struct SimpleRecordLines {
    static constexpr std::size_t kNameLength = 100;
    static constexpr std::size_t kStreetPartLength = 32; // street and ", "
    static constexpr std::size_t kAddressLength = 37;
    static constexpr std::size_t kPhoneLength = 26;
    static constexpr std::size_t kEmailLength = 38;
    static constexpr std::size_t kWebLength = 35;

    std::array<std::string, 5> lines;
    // Image index of each line (ResultsTreeIcons).
    static const std::array<int, 5> kImages;

    static SimpleRecordLines From(const OrgRecord& entry);
};

// The results tree: one top-level node per organisation with its address,
// telephone, e-mail and web lines below it. Read-only, no expand buttons or
// lines; selecting a node (a click, the arrows) expands it and collapses the
// branch selected before.
// A line is copied through its context menu or Ctrl+C (without its prefix);
// activating a web or e-mail line asks for it to be opened.
class ResultsTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit ResultsTree(QWidget* parent = nullptr);
    ~ResultsTree() override;

    // Appends the organisation's five nodes, collapsed.
    void AddSimpleRecord(const OrgRecord& entry);
    // Appends the directory's organisation `index`: its five nodes and below
    // them the lines of its kind and hours. Past kMaxListedOrganisations a
    // last line only counts the organisations not shown.
    void AddOrganisation(std::size_t index, const OrgRecord& entry, const QStringList& moreLines);
    // The directory index of an organisation node added by AddOrganisation, or -1.
    static int OrganisationOf(const QTreeWidgetItem* node);
    // The texts organisation by organisation: its node and its lines; the
    // line counting those not shown comes last, alone.
    QList<QStringList> OrganisationTexts() const;
    // Removes every node.
    void Clear();
    // Every node's text in tree order: an organisation, its four lines, the next one.
    QStringList NodeTexts() const;
    // The first organisation becomes the current node, not selected and so
    // not expanded: focus in the tree starts there and a screen reader reads
    // it. With `focus`, the tree takes the keyboard focus too.
    void MakeFirstCurrent(bool focus);

    // The node's line (ContactLine::Line) and what copying it gives.
    static int LineOf(const QTreeWidgetItem* node);
    static QString CopyText(const QTreeWidgetItem* node);
    // The organisation's lines that hold something, one per line.
    static QString CopyAllText(const QTreeWidgetItem* organisation);
    // The context menu, while it is open (tests).
    QMenu* ContextMenu() const { return m_menu; }
    // The directory's (street, house number) of the organisation a node
    // belongs to, Windows-1251, as its entry has them.
    static std::pair<std::string, std::string> AddressOf(const QTreeWidgetItem* node);
    // Adds the window's own entries to the context menu of a node, given
    // its organisation's node.
    std::function<void(QMenu& menu, const QTreeWidgetItem* organisation)> ExtendMenu;

signals:
    // A web or e-mail line was activated (double-click or Enter).
    void linkActivated(const QUrl& url);
    // An organisation node added with its index was selected.
    void organisationChosen(int index);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The images of the tree (ImageList); the selected picture of every node is image 0.
    const QIcon& ImageList(int index) const { return m_icons[static_cast<std::size_t>(index)]; }

private:
    void selectionMoved();
    void singleExpand(QTreeWidgetItem* selected, QTreeWidgetItem* previous);
    void activate(QTreeWidgetItem* node);
    void showNotShownCount() const;

    std::array<QIcon, 5> m_icons;
    QTreeWidgetItem* m_notShown = nullptr; // the line counting organisations past the limit
    std::size_t m_notShownCount = 0;
    QMenu* m_menu = nullptr;
    // The node selected last, for closing its branch when another is selected.
    QPersistentModelIndex m_lastSelected;
};
