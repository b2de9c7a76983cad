// The results tree's lines act: a web line opens the browser, an e-mail line
// a new message, any line is copied; and the keyboard reaches every control.
#include "SearchWindowFixture.h"

#include "map/MainScene.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

class ContactsWindow : public SearchWindow {
protected:
    // Chooses the organisation by its name, as typed.
    void choose(const QString& name)
    {
        ui().OrgName->SetText(QString());
        focusOn(ui().OrgName);
        typeKeys(name);
        ASSERT_FALSE(organisations().empty());
    }

    QTreeWidgetItem* line(int organisation, int child)
    {
        QTreeWidgetItem* org = ui().TreeView->topLevelItem(organisation);
        return child < 0 ? org : org->child(child);
    }

    // The centre of the node in the tree's viewport, its branch opened.
    QPoint centreOf(QTreeWidgetItem* node)
    {
        if (node->parent())
            node->parent()->setExpanded(true);
        ui().TreeView->scrollToItem(node);
        return ui().TreeView->visualItemRect(node).center();
    }

    // Opens the node's context menu with the right button and clicks the entry.
    void copyThroughMenu(QTreeWidgetItem* node, const QString& entry)
    {
        // Through the window, as the display delivers it: the press opens the menu.
        const QPoint at = ui().TreeView->viewport()->mapTo(main, centreOf(node));
        QTest::mouseClick(main->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QMenu* menu = ui().TreeView->ContextMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QAction* action = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == entry)
                action = a;
        ASSERT_NE(action, nullptr) << entry.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
        EXPECT_FALSE(menu->isVisible());
    }

    static QStringList menuEntries(QMenu* menu)
    {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        return texts;
    }
};

TEST_F(ContactsWindow, TheContextMenuCopiesALineWithoutItsPrefixOrTheWholeOrganisation)
{
    choose(QStringLiteral("Аптека «Здоровье»"));
    QGuiApplication::clipboard()->clear();

    copyThroughMenu(line(0, 1), QStringLiteral("Копировать")); // the telephone
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("22-33-44"));
    ASSERT_NE(ui().TreeView->ContextMenu(), nullptr);
    // A line copies itself; the route entries follow (the town has no road network).
    EXPECT_EQ(menuEntries(ui().TreeView->ContextMenu()),
              (QStringList{QStringLiteral("Копировать"), QString(), QStringLiteral("Маршрут отсюда"),
                           QStringLiteral("Маршрут сюда")}));

    copyThroughMenu(line(0, 2), QStringLiteral("Копировать"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("apteka@zdorovie.ru"));

    copyThroughMenu(line(0, -1), QStringLiteral("Копировать всё"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Аптека «Здоровье»\nулица Ленина, 7\nтел. 22-33-44\ne-mail: apteka@zdorovie.ru\n"
                             "web: zdorovie.ru"));
    EXPECT_TRUE(opened.empty());
}

TEST_F(ContactsWindow, CtrlCCopiesTheCurrentLine)
{
    choose(QStringLiteral("Кафе «Уют»"));
    focusOn(ui().TreeView);
    ui().TreeView->setCurrentItem(line(0, 0)); // the address
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("улица Ленина, 5"));
    press(Qt::Key_Down);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2-11-03"));
}

TEST_F(ContactsWindow, ActivatingAWebOrEmailLineAsksTheDesktopToOpenIt)
{
    choose(QStringLiteral("Аптека «Здоровье»"));
    const QPoint web = ui().TreeView->viewport()->mapTo(main, centreOf(line(0, 3)));
    QTest::mouseDClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, web);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://zdorovie.ru")));

    focusOn(ui().TreeView);
    ui().TreeView->setCurrentItem(line(0, 2));
    press(Qt::Key_Return);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("mailto:apteka@zdorovie.ru")));

    // Lines that are no address, and the other lines, open nothing.
    choose(QStringLiteral("Кафе «Уют»"));
    for (int child : {0, 1, 2, 3}) {
        ui().TreeView->setCurrentItem(line(0, child));
        focusOn(ui().TreeView);
        press(Qt::Key_Return);
    }
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(ContactsWindow, TabReachesEveryControlInTheDesignedOrderAndEachIsDescribed)
{
    focusOn(ui().GxSceneViewer);
    std::vector<QWidget*> visited;
    for (int i = 0; i < 12; ++i) {
        press(Qt::Key_Tab);
        visited.push_back(focused());
    }
    const std::vector<QWidget*> designed = {ui().OrgName, ui().HouseEdit, ui().bt_search, ui().Street, ui().TreeView};
    const auto at = std::search(visited.begin(), visited.end(), designed.begin(), designed.end());
    ASSERT_NE(at, visited.end()) << "the search panel's controls are not reached in their order";
    EXPECT_EQ(at, visited.begin()); // straight from the map
    EXPECT_NE(std::find(visited.begin(), visited.end(), ui().GxSceneViewer), visited.end()); // and round again

    for (QWidget* control : {static_cast<QWidget*>(ui().GxSceneViewer), static_cast<QWidget*>(ui().OrgName),
                             static_cast<QWidget*>(ui().Street), static_cast<QWidget*>(ui().HouseEdit),
                             static_cast<QWidget*>(ui().bt_search), static_cast<QWidget*>(ui().TreeView)}) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_FALSE(control->accessibleName().isEmpty() && !qobject_cast<QPushButton*>(control));
        EXPECT_FALSE(control->accessibleDescription().isEmpty());
    }
    EXPECT_EQ(ui().OrgName->accessibleName(), ui().sLabel1->text());
    EXPECT_EQ(ui().Street->accessibleName(), ui().sLabel2->text());
}

TEST_F(ContactsWindow, ResultsTakeTheFocusFromTheMapButNotFromABoxBeingTypedIn)
{
    // Typing a whole name chooses it; the keys stay in the box, and the
    // tree is ready at its first organisation for Tab.
    choose(QStringLiteral("Аптека «Здоровье»"));
    EXPECT_EQ(focused(), ui().OrgName);
    EXPECT_EQ(ui().TreeView->currentItem(), line(0, -1));
    EXPECT_FALSE(line(0, -1)->isExpanded());

    // A search from the button keeps the focus on it.
    ui().Street->SetText(QStringLiteral("Садовая"));
    focusOn(ui().bt_search);
    press(Qt::Key_Space);
    EXPECT_EQ(focused(), ui().bt_search);
    EXPECT_EQ(ui().TreeView->currentItem(), line(0, -1));

    // A house chosen in the map: the focus goes to the tree, where a screen
    // reader reads the first organisation.
    MainScene& scene = main->Scene();
    scene.DCTarget->Position().AssignPoint(2, 1.5f, 0.1f); // above Ленина 5
    scene.GxFreeCamera->Position().AssignPoint(0, -12, 12);
    scene.Wand->SetVisible(false);
    ui().GxSceneViewer->grabFramebuffer();
    const TGxVector roof = ui().GxSceneViewer->Buffer().ProjectToWindow(PointMake(2, 1.5f, 0.7f));
    const QPoint at(int(roof.X), ui().GxSceneViewer->height() - int(roof.Y));
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, ui().GxSceneViewer->mapTo(main, at));
    EXPECT_EQ(organisations(), std::vector<std::string>{"Кафе «Уют»"});
    EXPECT_EQ(focused(), ui().TreeView);
    EXPECT_EQ(ui().TreeView->currentItem(), line(0, -1));
    EXPECT_FALSE(line(0, -1)->isExpanded());

    // Clicking that organisation selects it, and selecting opens it.
    const QPoint first = ui().TreeView->viewport()->mapTo(main, centreOf(line(0, -1)));
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, first);
    EXPECT_TRUE(line(0, -1)->isExpanded());
}
