#pragma once

#include "map/MainScene.h"
#include "map/MapState.h"
#include "data/OrgRecord.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class AppWindows;
namespace MapCorner {
class Painter;
}
class DocumentOpener;
class LinkOpener;
class PrinterSource;
class AnchorLayout;
class QAction;
class QCheckBox;
class KindComboBox;
class OrgFacts;
class OrgFilter;
class QGroupBox;
class QLabel;
class QLayout;
class QMenu;
class MapViewInput;
class ToolActions;
class InstalledKeyState;
class QPainter;
class SceneBufferPicker;
class TGxSceneViewer;
class ViewPointer;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QToolButton;
class ResultsTree;
class RulerTool;
class RouteBar;
class RouteTool;
class MapContextMenu;
class SearchPanel;
class SearchSuggestions;
class Selection;
class SortedComboBox;
class WidgetSearchControls;

// The main window fm_main: the map view, the search panel and the results tree.
// Its creation handler loads the town and the directory before anything is shown.
class Tfm_main : public QWidget {
    Q_OBJECT
public:
    // Designed client size; control positions are client pixels at this size.
    static constexpr int kDesignedClientWidth = 862;
    static constexpr int kDesignedClientHeight = 493;

    // The caption when the town names itself in no town.ini.
    static constexpr char kDesignedTitle[] = "Электронный справочник организаций города Верескола - демонстрационная версия";

    // `programFolder` is the folder of the executable (the working directory
    // and the help are found from it); `townFolder` holds the four data files
    // and may name the town in a town.ini.
    Tfm_main(AppWindows& windows, const QString& programFolder, const QString& townFolder);
    ~Tfm_main() override;

    MapState& State() { return m_state; }
    const MapState& State() const { return m_state; }
    // What the frame loop picks through.
    const SceneBufferPicker& Picker() const { return *m_picker; }
    // The map's scene, its material library and the objects designed with the window.
    MainScene& Scene() { return *m_scene; }
    const MainScene& Scene() const { return *m_scene; }
    // The organisation directory in file order (OrgRecords), read at start-up.
    OrgRecords& Records() { return m_records; }
    const OrgRecords& Records() const { return m_records; }
    // What is chosen in the map and how the search panel chooses.
    Selection& MapSelection() { return *m_selection; }
    // What the search boxes offer while the user types.
    SearchSuggestions& Suggestions() { return *m_suggestions; }

    // The map view's input and frames; its cadencer ticks from the end of FormCreate on.
    MapViewInput& View() { return *m_view; }
    // Routes between places of the map, and the map's context menu.
    RouteTool& Routes() { return *m_routes; }
    MapContextMenu& MapMenu() { return *m_mapMenu; }

    // Handlers.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void FormResize();
    void bt_SettingsClick();
    void bt_printClick();
    void N1Click();
    void N2Click();
    void bt_infoClick();
    void bt_searchClick();
    void StreetChange();
    void OrgNameChange();
    void ClearFields();
    // "Рубрика", "Открыто сейчас" and a choice in the results tree.
    void cb_kindChange();
    void ch_opennowClick();
    void TreeViewChoose(int organisation);
    void GxCadencerProgress();
    void GxSceneViewerMouseDown(Qt::MouseButton button, int x, int y,
                                Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void GxSceneViewerMouseMove();
    void GxSceneViewerAfterRender(QPainter& painter);
    void FormMouseMove();
    void FormMouseWheel(double wheelDelta);

    // Applies ShowNonBuildings to the scene (after the settings dialog).
    void SettingsChanged();

    // The map view rendered at scale times its size, on the default printer.
    void PrintSnap(float scale);
    // The results tree's texts on the default printer.
    void PrintOrgs();

    // Where print jobs go and what opens the help (tests put their own in).
    void SetPrinterSource(std::unique_ptr<PrinterSource> printers);
    void SetDocumentOpener(std::unique_ptr<DocumentOpener> opener);
    // What opens the web and e-mail lines of the results tree.
    void SetLinkOpener(std::unique_ptr<LinkOpener> opener);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Controls, named as the window's design names them (their object names
    // too: from outside the window they are found by them).
    QTabWidget* PageControl = nullptr;
    QWidget* MapSheet = nullptr;
    TGxSceneViewer* GxSceneViewer = nullptr;
    QLabel* RulerLabel = nullptr;
    RouteBar* m_routeBar = nullptr;
    QGroupBox* sGroupBox1 = nullptr;
    QLabel* sLabel1 = nullptr;
    QLabel* sLabel2 = nullptr;
    QLabel* sLabel3 = nullptr;
    SortedComboBox* OrgName = nullptr;
    SortedComboBox* Street = nullptr;
    SortedComboBox* HouseEdit = nullptr;
    QPushButton* bt_search = nullptr;
    QLabel* sLabelKind = nullptr;
    KindComboBox* cb_kind = nullptr;
    QCheckBox* ch_opennow = nullptr;
    ResultsTree* TreeView = nullptr;
    QToolButton* bt_print = nullptr;
    QToolButton* bt_Settings = nullptr;
    QToolButton* bt_info = nullptr;
    QTextEdit* PrintEdit = nullptr;
    QMenu* PrintPopupMenu = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;

    void CreateControls();
    void CreateSearchPanel();
    void CreateSelection();
    void CreateSuggestions();
    // Where a point of the map shows in the view (OpenGL window coordinates).
    std::function<TGxVector(const TGxVector&)> ViewProjection();
    // "Рубрика" and "Открыто сейчас" below the search button.
    void CreateFilterControls();
    // orgplaces.dat beside data.tmd: places, kinds and hours of the organisations.
    void LoadPlaces();
    // Accessible descriptions and the order of Tab.
    void DescribeControls();
    // The one place that makes the map view.
    TGxSceneViewer* CreateSceneViewer(QWidget* parent);
    void CreateFrameLoop();
    // What the tool buttons, their menu and their keys do.
    void CreateActions();
    // Ctrl+P, F1, Ctrl+, and F10 reach the hidden tool buttons' actions.
    void CreateShortcuts();

    AppWindows& m_windows;
    QString m_programFolder;
    QString m_townFolder;
    MapState m_state;
    std::unique_ptr<MainScene> m_scene;
    std::unique_ptr<MapCorner::Painter> m_corner; // the north arrow and the scale bar over the map
    OrgRecords m_records;
    std::unique_ptr<WidgetSearchControls> m_searchControls;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<SearchPanel> m_searchPanel;
    std::unique_ptr<SearchSuggestions> m_suggestions;
    std::unique_ptr<OrgFacts> m_facts;
    std::unique_ptr<OrgFilter> m_filter;
    AnchorLayout* m_anchors = nullptr;
    std::unique_ptr<InstalledKeyState> m_keys;
    std::unique_ptr<ViewPointer> m_pointer;
    std::unique_ptr<SceneBufferPicker> m_picker;
    std::unique_ptr<MapViewInput> m_view;
    std::unique_ptr<ToolActions> m_actions;
    std::unique_ptr<LinkOpener> m_links;
    std::unique_ptr<RulerTool> m_ruler;
    std::unique_ptr<RouteTool> m_routes;
    std::unique_ptr<MapContextMenu> m_mapMenu;

    // The ruler, the routes and the map's menu, below and on the map view.
    void CreateMapTools(QLayout& sheetLayout);
};
