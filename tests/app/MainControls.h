#pragma once

// The main window's controls, found as anything outside the window finds
// them: by their designed object names.
#include "app/MainWindow.h"
#include "app/MapViewInput.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include "directory/ResultsTree.h"
#include "directory/SortedComboBox.h"
#include "engine/objects/GxCylinder.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxSceneViewer.h"
#include "map/MainScene.h"

#include <gtest/gtest.h>


// The object of that name and type in the window; a failure (and null) when
// there is none.
template <class T>
T* controlOf(const QWidget& window, const char* name)
{
    T* found = dynamic_cast<T*>(window.findChild<QObject*>(QString::fromLatin1(name)));
    if (found == nullptr)
        ADD_FAILURE() << "no control " << name << " of that type in " << window.objectName().toStdString();
    return found;
}

// The map of a shown window stands still: the frame loop ticks only when a
// test ticks it, the climb is over, and the pointer's marker rod, left where
// no tick put it, does not cross the view.
inline void holdMapStill(Tfm_main& main)
{
    main.View().Cadencer()->SetEnabled(false);
    main.State().IntroClimb = false;
    main.Scene().Wand->SetVisible(false);
}

struct MainControls {
    explicit MainControls(const Tfm_main& main)
        : PageControl(controlOf<QTabWidget>(main, "PageControl")), MapSheet(controlOf<QWidget>(main, "MapSheet")),
          GxSceneViewer(controlOf<TGxSceneViewer>(main, "GxSceneViewer")),
          sGroupBox1(controlOf<QGroupBox>(main, "sGroupBox1")), sLabel1(controlOf<QLabel>(main, "sLabel1")),
          sLabel2(controlOf<QLabel>(main, "sLabel2")), sLabel3(controlOf<QLabel>(main, "sLabel3")),
          OrgName(controlOf<SortedComboBox>(main, "OrgName")), Street(controlOf<SortedComboBox>(main, "Street")),
          HouseEdit(controlOf<SortedComboBox>(main, "HouseEdit")),
          bt_search(controlOf<QPushButton>(main, "bt_search")), TreeView(controlOf<ResultsTree>(main, "TreeView")),
          bt_print(controlOf<QToolButton>(main, "bt_print")),
          bt_Settings(controlOf<QToolButton>(main, "bt_Settings")), bt_info(controlOf<QToolButton>(main, "bt_info")),
          PrintEdit(controlOf<QTextEdit>(main, "PrintEdit")),
          PrintPopupMenu(controlOf<QMenu>(main, "PrintPopupMenu")), N1(controlOf<QAction>(main, "N1")),
          N2(controlOf<QAction>(main, "N2"))
    {
    }

    QTabWidget* PageControl;
    QWidget* MapSheet;
    TGxSceneViewer* GxSceneViewer;
    QGroupBox* sGroupBox1;
    QLabel* sLabel1;
    QLabel* sLabel2;
    QLabel* sLabel3;
    SortedComboBox* OrgName;
    SortedComboBox* Street;
    SortedComboBox* HouseEdit;
    QPushButton* bt_search;
    ResultsTree* TreeView;
    QToolButton* bt_print;
    QToolButton* bt_Settings;
    QToolButton* bt_info;
    QTextEdit* PrintEdit;
    QMenu* PrintPopupMenu;
    QAction* N1;
    QAction* N2;
};

inline MainControls controlsOf(const Tfm_main& main)
{
    return MainControls(main);
}
