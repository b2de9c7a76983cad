#include "app/MainWindow.h"

#include "app/AppWindows.h"
#include "app/FinishWindow.h"
#include "app/MapViewInput.h"
#include "app/MapContextMenu.h"
#include "app/RouteBar.h"
#include "app/RouteTool.h"
#include "app/RulerTool.h"
#include "directory/AddressKey.h"
#include "app/SettingsDialog.h"
#include "app/SplashWindow.h"
#include "app/StartUp.h"
#include "app/StoredSettings.h"
#include "app/ToolActions.h"
#include "directory/MapCorner.h"
#include "directory/MapOverlays.h"
#include "directory/HelpFile.h"
#include "directory/KindComboBox.h"
#include "directory/MapPins.h"
#include "directory/OrgFacts.h"
#include "directory/OrgFilter.h"
#include "directory/OrgLocations.h"
#include "directory/OrgDirectoryLoader.h"
#include "directory/PrinterSource.h"
#include "directory/Printing.h"
#include "directory/ResultsTree.h"
#include "directory/SearchPanel.h"
#include "directory/SearchSuggestions.h"
#include "directory/Selection.h"
#include "directory/WidgetSearchControls.h"
#include "engine/scene/GxSceneViewer.h"
#include "navigation/FlyTo.h"
#include "navigation/MapInput.h"
#include "directory/SortedComboBox.h"
#include "data/TownIniReader.h"
#include "platform/Anchors.h"
#include "platform/Clock.h"
#include "platform/DocumentOpener.h"
#include "platform/ErrorBox.h"
#include "platform/LinkOpener.h"
#include "platform/Fonts.h"
#include "platform/ScreenCentre.h"
#include "platform/WidgetColours.h"
#include "map/House.h"
#include "map/MapLabels.h"
#include "map/StreetLines.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
const QString kSansSerif = QStringLiteral("MS Sans Serif");

QToolButton* toolButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->hide();
    return button;
}
} // namespace

Tfm_main::Tfm_main(AppWindows& windows, const QString& programFolder, const QString& townFolder)
    : QWidget(nullptr), m_windows(windows), m_programFolder(programFolder), m_townFolder(townFolder),
      m_scene(std::make_unique<MainScene>()), m_corner(std::make_unique<MapCorner::Painter>()),
      m_links(std::make_unique<DesktopLinkOpener>())
{
    m_windows.fm_main = this;
    setObjectName("fm_main");
    const std::optional<std::string> townTitle = readTownTitle(m_townFolder.toStdString());
    setWindowTitle(townTitle ? QString::fromStdString(*townTitle) : QString::fromUtf8(kDesignedTitle));
    setFont(pixelFont(kSansSerif, 11));
    setWidgetColour(this, QPalette::Window, palette().color(QPalette::Button));
    move(330, 183);
    resize(kDesignedClientWidth, kDesignedClientHeight);
    // Before the first frame: what is drawn over the map is kept between runs.
    StoredSettings::Load(m_state, *StoredSettings::UserSettings());
    CreateControls();
    CreateFrameLoop();
    CreateActions();
    CreateShortcuts();
    CreateSelection();
    DescribeControls();
    FormCreate();
    CreateSuggestions();
}

Tfm_main::~Tfm_main()
{
    // Destroying the controls takes the focus from a search box, which then
    // reports its text once more; the handlers it would reach go first.
    m_suggestions.reset();
    for (QWidget* box : {static_cast<QWidget*>(OrgName), static_cast<QWidget*>(Street), static_cast<QWidget*>(HouseEdit)})
        if (box)
            box->disconnect(this);
}

void Tfm_main::CreateControls()
{
    m_anchors = new AnchorLayout(this, {kDesignedClientWidth, kDesignedClientHeight});
    const Anchors all = Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom;
    const Anchors topRight = Anchor::Top | Anchor::Right;

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    MapSheet = new QWidget;
    MapSheet->setObjectName("MapSheet");
    auto* sheetLayout = new QVBoxLayout(MapSheet);
    // The sheet's inner border: the view gets its designed 593 x 440 in the 601 x 468 page control.
    sheetLayout->setContentsMargins(2, 1, 2, 1);
    GxSceneViewer = CreateSceneViewer(MapSheet);
    GxSceneViewer->setObjectName("GxSceneViewer");
    GxSceneViewer->setAccessibleName(QStringLiteral("Схема города"));
    GxSceneViewer->setFocusPolicy(Qt::StrongFocus);
    sheetLayout->addWidget(GxSceneViewer);
    GxSceneViewer->OnMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
        reportErrors([&] { GxSceneViewerMouseDown(button, x, y, modifiers); });
    };
    GxSceneViewer->OnMouseMove = [this](Qt::KeyboardModifiers, int, int) {
        reportErrors([this] { GxSceneViewerMouseMove(); });
    };
    // A change of the scene made outside a tick may start something moving.
    GxSceneViewer->OnSceneChange = [this] {
        if (m_view)
            m_view->SceneChanged();
    };
    GxSceneViewer->AfterRender = [this](TGxSceneViewer&, QPainter& painter) {
        reportErrors([&] { GxSceneViewerAfterRender(painter); });
    };
    // The window's own background reports the pointer too (FormMouseMove).
    setMouseTracking(true);
    PageControl->addTab(MapSheet, QStringLiteral("Схема города"));
    m_anchors->add(PageControl, {8, 16, 601, 468}, all);

    sGroupBox1 = new QGroupBox(QStringLiteral("Поиск по карте"), this);
    sGroupBox1->setObjectName("sGroupBox1");
    m_anchors->add(sGroupBox1, {616, 14, 241, 209}, topRight);
    CreateSearchPanel();
    CreateFilterControls();

    TreeView = new ResultsTree(this);
    TreeView->setObjectName("TreeView");
    TreeView->setAccessibleName(QStringLiteral("Организации"));
    TreeView->setFont(pixelFont(kSansSerif, 13));
    setWidgetColour(TreeView, QPalette::Base, Qt::white);
    m_anchors->add(TreeView, {616, 232, 241, 252}, topRight | Anchor::Bottom);
    connect(TreeView, &ResultsTree::linkActivated, this,
            [this](const QUrl& url) { reportErrors([&] { m_links->Open(url); }); });
    connect(TreeView, &ResultsTree::organisationChosen, this,
            [this](int organisation) { reportErrors([&] { TreeViewChoose(organisation); }); });

    PrintPopupMenu = new QMenu(this);
    PrintPopupMenu->setObjectName("PrintPopupMenu");
    N1 = PrintPopupMenu->addAction(QString::fromUtf8(ToolActions::kPrintPicture));
    N1->setObjectName("N1");
    N2 = PrintPopupMenu->addAction(QString::fromUtf8(ToolActions::kPrintList));
    N2->setObjectName("N2");

    // The tool buttons are part of the design but hidden; nothing shows them.
    bt_print = toolButton(this, "bt_print", QStringLiteral("Печать"), QStyle::SP_DialogSaveButton);
    m_anchors->add(bt_print, {616, 5, 22, 25}, topRight);
    connect(bt_print, &QToolButton::clicked, this, [this] { reportErrors([this] { bt_printClick(); }); });
    bt_print->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bt_print, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PrintPopupMenu->popup(bt_print->mapToGlobal(at)); });
    connect(N1, &QAction::triggered, this, [this] { reportErrors([this] { N1Click(); }); });
    connect(N2, &QAction::triggered, this, [this] { reportErrors([this] { N2Click(); }); });
    bt_Settings = toolButton(this, "bt_Settings", QStringLiteral("Настройки"), QStyle::SP_FileDialogDetailedView);
    m_anchors->add(bt_Settings, {645, 5, 25, 25}, topRight);
    connect(bt_Settings, &QToolButton::clicked, this, [this] { reportErrors([this] { bt_SettingsClick(); }); });
    bt_info = toolButton(this, "bt_info", QStringLiteral("Справка"), QStyle::SP_MessageBoxQuestion);
    m_anchors->add(bt_info, {679, 5, 25, 25}, topRight);
    connect(bt_info, &QToolButton::clicked, this, [this] { reportErrors([this] { bt_infoClick(); }); });

    PrintEdit = new QTextEdit(this);
    PrintEdit->setObjectName("PrintEdit");
    PrintEdit->hide();
    m_anchors->add(PrintEdit, {208, 448, 25, 25});

    CreateMapTools(*sheetLayout);
}

void Tfm_main::CreateMapTools(QLayout& sheetLayout)
{
    // Below the map, each shown while it is in use.
    m_routeBar = new RouteBar(MapSheet);
    sheetLayout.addWidget(m_routeBar);
    RulerLabel = new QLabel(MapSheet);
    RulerLabel->setObjectName("RulerLabel");
    RulerLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    sheetLayout.addWidget(RulerLabel);
    m_ruler = std::make_unique<RulerTool>(m_scene->GxScene, *RulerLabel);
    auto* clearRuler = new QShortcut(QKeySequence(Qt::Key_Escape), GxSceneViewer);
    clearRuler->setContext(Qt::WidgetShortcut);
    connect(clearRuler, &QShortcut::activated, this, [this] { m_ruler->Clear(); });

    m_routes = std::make_unique<RouteTool>(m_state, *m_scene, *m_routeBar, [this] {
        // The route's line has just been shown or hidden below the map: the
        // view's size is the one it gets from that.
        MapSheet->layout()->activate();
        return GxSceneViewer->size();
    });
    MapContextMenu::Services menu;
    menu.HouseAt = [this](int x, int y) -> Thouse* {
        TGxBaseSceneObject* hit = GxSceneViewer->Buffer().ObjectAtPixel(x, y);
        if (auto* house = dynamic_cast<Thouse*>(hit))
            return house;
        return hit ? dynamic_cast<Thouse*>(hit->Parent()) : nullptr; // a wall
    };
    menu.GroundAt = [this](int x, int y) { return m_view->GroundAt(x, y); };
    menu.ChosenHouse = [this] { return m_state.SelectedHouse; };
    menu.PixelOf = [this](const Thouse& house) {
        const TGxVector p = GxSceneViewer->Buffer().ProjectToWindow(PointMake(house.CenterX(), house.CenterY(), 0));
        return QPoint(int(p.X), GxSceneViewer->height() - int(p.Y));
    };
    m_mapMenu = std::make_unique<MapContextMenu>(*GxSceneViewer, *m_routes, std::move(menu));
    GxSceneViewer->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        reportErrors([&] { m_mapMenu->Released(button, x, y); });
    };
    GxSceneViewer->OnMenuKey = [this] { reportErrors([this] { m_mapMenu->MenuKey(); }); };

    TreeView->ExtendMenu = [this](QMenu& menu, const QTreeWidgetItem* organisation) {
        std::optional<RouteEnd> end;
        // Where the map shows the organisation: its place, else its address.
        if (const int org = ResultsTree::OrganisationOf(organisation); org >= 0 && m_facts) {
            const OrgLocations& locations = m_selection->Locations();
            if (const auto point = locations.PointOf(std::size_t(org))) {
                end = RouteEnd::OfPoint({point->x, point->y});
                end->name = organisation->text(0);
            } else if (const auto houses = locations.HousesOf(std::size_t(org)); !houses.empty()) {
                end = RouteEnd::OfHouse(*locations.Houses()[houses.back()]);
            }
        } else {
            const auto [street, number] = ResultsTree::AddressOf(organisation);
            const AddressKey key{street, number};
            m_selection->ForEachHouse([&](Thouse& house) {
                if (key.Matches(house))
                    end = RouteEnd::OfHouse(house);
            });
        }
        m_routes->AddMenuEntries(menu, end, QStringLiteral("Дома этой организации нет на карте"));
    };
}

void Tfm_main::CreateActions()
{
    ToolActions::Services services;
    services.PopUpPrintMenu = [this] {
        PrintPopupMenu->popup(bt_print->mapToGlobal(QPoint(bt_print->width(), bt_print->height())));
    };
    services.PrintPicture = [this](Printer& printer, float scale) {
        // The corner is painted over the window's frames, not rendered with
        // the scene: the picture gets it the same way, at its resolution.
        QImage picture = Printing::SnapImage(*GxSceneViewer, scale);
        MapPins::DrawOnSnapshot(picture, scale, m_selection->Pins(), ViewProjection(), GxSceneViewer->Buffer().Height());
        MapCorner::DrawOnPicture(picture, scale, GxSceneViewer->size(), m_state, *m_scene->GxFreeCamera);
        Printing::PrintImage(printer, picture, 100);
    };
    services.PrintList = [this](Printer& printer) {
        Printing::PrintOrgs(printer, TreeView->OrganisationTexts(), *PrintEdit);
    };
    services.ShowSettings = [this] {
        if (m_windows.fm_sett)
            m_windows.fm_sett->exec();
    };
    m_actions = std::make_unique<ToolActions>(std::make_unique<DesktopPrinterSource>(this),
                                              std::make_unique<DesktopDocumentOpener>(), m_programFolder,
                                              &HelpFile::SpareFolder, std::move(services));
}

void Tfm_main::CreateShortcuts()
{
    const auto shortcut = [this](const QKeySequence& keys, void (Tfm_main::*handler)()) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, handler] { reportErrors([&] { (this->*handler)(); }); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), &Tfm_main::bt_printClick);
    shortcut(QKeySequence(Qt::Key_F1), &Tfm_main::bt_infoClick);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), &Tfm_main::bt_SettingsClick);
    shortcut(QKeySequence(Qt::Key_F10), &Tfm_main::bt_SettingsClick);
}

void Tfm_main::CreateSearchPanel()
{
    // A skinned group box: its white caption stands on a grey band to stay legible.
    sGroupBox1->setFont(pixelFont("Myriad Web Pro", 11));
    sGroupBox1->setStyleSheet(QStringLiteral(
        "QGroupBox#sGroupBox1 { border: 1px solid #a0a0a0; border-radius: 3px; margin-top: 6px; }"
        "QGroupBox#sGroupBox1::title { subcontrol-origin: border; subcontrol-position: top left; left: 8px;"
        " top: -6px; padding: 0px 4px; color: white; background-color: #808080; }"));

    const auto label = [this](const char* name, const QString& text, QRect at, const QFont& font) {
        auto* l = new QLabel(text, sGroupBox1);
        l->setObjectName(name);
        l->setFont(font);
        setWidgetColour(l, QPalette::WindowText, kDesignGrey);
        l->setGeometry(at);
        return l;
    };
    const auto combo = [this](const char* name, QRect at) {
        auto* c = new SortedComboBox(sGroupBox1);
        c->setObjectName(name);
        c->setFont(pixelFont(kSansSerif, 11));
        setWidgetColour(c, QPalette::Text, Qt::black);
        c->setGeometry(at);
        return c;
    };

    sLabel1 = label("sLabel1", QStringLiteral("Название организации"), {10, 24, 135, 13}, pixelFont("Verdana", 11));
    OrgName = combo("OrgName", {8, 40, 225, 21});
    sLabel2 = label("sLabel2", QStringLiteral("Улица"), {8, 64, 37, 13}, pixelFont("Verdana", 11));
    sLabel3 = label("sLabel3", QStringLiteral("№ "), {187, 64, 14, 13}, pixelFont(kSansSerif, 11));
    Street = combo("Street", {8, 80, 169, 21});
    HouseEdit = combo("HouseEdit", {184, 80, 49, 21});
    sLabel1->setBuddy(OrgName);
    sLabel2->setBuddy(Street);
    sLabel3->setBuddy(HouseEdit);
    OrgName->setAccessibleName(sLabel1->text());
    Street->setAccessibleName(sLabel2->text());
    HouseEdit->setAccessibleName(QStringLiteral("№"));

    bt_search = new QPushButton(QStringLiteral("Поиск"), sGroupBox1);
    bt_search->setObjectName("bt_search");
    bt_search->setFont(pixelFont(kSansSerif, 11));
    setWidgetColour(bt_search, QPalette::ButtonText, kDesignGrey);
    bt_search->setGeometry(8, 112, 225, 25);

    connect(bt_search, &QPushButton::clicked, this, [this] { reportErrors([this] { bt_searchClick(); }); });
    connect(Street, &SortedComboBox::changedByUser, this, [this] { reportErrors([this] { StreetChange(); }); });
    connect(OrgName, &SortedComboBox::changedByUser, this, [this] { reportErrors([this] { OrgNameChange(); }); });

}

void Tfm_main::CreateFilterControls()
{
    sLabelKind = new QLabel(QStringLiteral("Рубрика"), sGroupBox1);
    sLabelKind->setObjectName("sLabelKind");
    sLabelKind->setFont(pixelFont("Verdana", 11));
    setWidgetColour(sLabelKind, QPalette::WindowText, kDesignGrey);
    sLabelKind->setGeometry(8, 142, 80, 13);
    cb_kind = new KindComboBox(sGroupBox1);
    cb_kind->setObjectName("cb_kind");
    cb_kind->setFont(pixelFont(kSansSerif, 11));
    cb_kind->setGeometry(8, 158, 225, 21);
    cb_kind->setAccessibleName(sLabelKind->text());
    sLabelKind->setBuddy(cb_kind);
    ch_opennow = new QCheckBox(QStringLiteral("Открыто сейчас"), sGroupBox1);
    ch_opennow->setObjectName("ch_opennow");
    ch_opennow->setFont(pixelFont(kSansSerif, 11));
    ch_opennow->setGeometry(8, 184, 225, 17);
    ch_opennow->setAccessibleName(ch_opennow->text());
    ch_opennow->setEnabled(false); // until a places file gives hours
    connect(cb_kind, &KindComboBox::choiceChanged, this, [this] { reportErrors([this] { cb_kindChange(); }); });
    connect(ch_opennow, &QCheckBox::toggled, this, [this] { reportErrors([this] { ch_opennowClick(); }); });
}

void Tfm_main::LoadPlaces()
{
    std::size_t houses = 0;
    m_selection->ForEachHouse([&](Thouse&) { ++houses; });
    m_facts = std::make_unique<OrgFacts>(LoadOrgFacts(m_townFolder.toStdString(), m_records.size(), houses));
    m_filter = std::make_unique<OrgFilter>(*m_facts, m_records.size());
    m_selection->AttachPlaces(*m_facts, *m_filter);
    m_selection->Locations(); // made while the splash shows, not at the first click
    cb_kind->Fill(m_facts->Loaded() ? KindItems(m_facts->KindCounts()) : std::vector<KindItem>{{kAllKinds, {}, false}});
    ch_opennow->setEnabled(m_facts->Loaded());
}

void Tfm_main::cb_kindChange()
{
    if (!m_filter)
        return;
    m_filter->SetKind(cb_kind->Choice());
    m_searchPanel->FilterChanged();
    TreeView->MakeFirstCurrent(false);
    GxSceneViewer->update();
}

void Tfm_main::ch_opennowClick()
{
    if (!m_filter)
        return;
    m_filter->SetOpenNow(ch_opennow->isChecked(), Clock::Now());
    m_searchPanel->FilterChanged();
    TreeView->MakeFirstCurrent(false);
    GxSceneViewer->update();
}

void Tfm_main::TreeViewChoose(int organisation)
{
    m_selection->ShowOrganisation(std::size_t(organisation));
    GxSceneViewer->update();
}

void Tfm_main::DescribeControls()
{
    const auto describe = [](QWidget* control, const QString& text) { control->setAccessibleDescription(text); };
    describe(GxSceneViewer, QStringLiteral("Карта города: щелчок по дому выбирает его, правая кнопка вращает карту, "
                                           "Shift с левой кнопкой сдвигает, колесо приближает; щелчок по стрелке "
                                           "севера в правом нижнем углу поворачивает карту севером вверх; щелчок правой "
                                           "кнопкой или клавиша меню — маршрут отсюда или сюда; Ctrl со щелчком "
                                           "ставит точку линейки, Esc убирает её"));
    describe(PageControl, QStringLiteral("Схема города"));
    describe(sGroupBox1, QStringLiteral("Поиск организации, улицы или дома на карте"));
    describe(OrgName, QStringLiteral("Введите название или его часть: ниже появятся подходящие организации; "
                                     "стрелки выбирают строку, Enter показывает организацию, Escape закрывает список"));
    describe(Street, QStringLiteral("Введите улицу или улицу с номером дома, например «Ленина 5»; "
                                    "Enter показывает её на карте"));
    describe(HouseEdit, QStringLiteral("Номер дома на выбранной улице, например «8к2» или «15а»; "
                                       "Enter показывает дом на карте"));
    describe(bt_search, QStringLiteral("Показать на карте дом по улице и номеру или всю улицу"));
    describe(cb_kind, QStringLiteral("Рубрика: показать все организации одного вида, например аптеки; "
                                     "вместе с улицей показывает их только на этой улице"));
    describe(ch_opennow, QStringLiteral("Оставить только организации, открытые сейчас; их дома светятся оранжевым"));
    describe(TreeView, QStringLiteral("Найденные организации с адресом, телефоном, e-mail и сайтом. Enter или "
                                      "двойной щелчок открывает сайт или новое письмо, Ctrl+C копирует строку, "
                                      "контекстное меню копирует строку или всю организацию"));

    // The designed tab order of the search panel (name, number, search,
    // street) between the map and the results.
    setTabOrder(GxSceneViewer, OrgName);
    setTabOrder(OrgName, HouseEdit);
    setTabOrder(HouseEdit, bt_search);
    setTabOrder(bt_search, Street);
    setTabOrder(Street, cb_kind);
    setTabOrder(cb_kind, ch_opennow);
    setTabOrder(ch_opennow, TreeView);
}

void Tfm_main::CreateSuggestions()
{
    const auto houses = [this] {
        SearchSuggestions::Houses addresses;
        m_selection->ForEachHouse(
            [&](Thouse& house) {
                if (house.params().size() >= 2)
                    addresses.emplace_back(house.params()[0], house.params()[1]);
            });
        return addresses;
    };
    m_suggestions = std::make_unique<SearchSuggestions>(*OrgName, *Street, *HouseEdit, [this] { bt_search->click(); },
                                                        houses, [this] { m_searchPanel->ForgetChosenObject(); });
    m_suggestions->Prepare();
}

void Tfm_main::CreateSelection()
{
    m_searchControls = std::make_unique<WidgetSearchControls>(*OrgName, *Street, *HouseEdit, *TreeView);
    Selection::Services services;
    services.ObjectAtPixel = [this](int x, int y) { return GxSceneViewer->Buffer().ObjectAtPixel(x, y); };
    services.MoveToHouse = [this](Thouse& house) {
        ::MoveToHouse(m_state, *m_scene, house, [this](const std::string& street, const std::string& number) {
            m_searchControls->SetStreetText(street);
            m_searchControls->SetHouseNoText(number);
        });
    };
    services.ViewHint = [this](Thouse& house) {
        TGxSceneBuffer& buffer = GxSceneViewer->Buffer();
        MapOverlays::ViewHint(
            m_state, *m_scene->GxScene.ObjectRoot(), house,
            [&buffer](const TGxVector& point) { return buffer.ProjectToWindow(point); }, buffer.Height());
    };
    services.RemoveHint = [this] { MapOverlays::RemoveHint(m_state); };
    services.MoveToPoint = [this](float x, float y) {
        if (m_state.AutoMoveTo && !m_state.PanMode)
            SmoothMoveTo(m_state, x, y, 0.0f);
    };
    services.Now = [] { return Clock::Now(); };
    m_selection = std::make_unique<Selection>(m_state, m_scene->GxScene, m_records, *m_searchControls,
                                              std::move(services));
    m_searchPanel = std::make_unique<SearchPanel>(*m_selection);
}

TGxSceneViewer* Tfm_main::CreateSceneViewer(QWidget* parent)
{
    auto* viewer = new TGxSceneViewer(parent);
    viewer->SetVSync(vsmSync);
    TGxSceneBuffer& buffer = viewer->Buffer();
    buffer.SetBackgroundColor(clWhite);
    buffer.AmbientColor().SetColorVector(0.4f, 0.4f, 0.4f, 1.0f);
    buffer.SetShadeModel(smSmooth);
    viewer->SetCamera(m_scene->GxFreeCamera);
    return viewer;
}

void Tfm_main::CreateFrameLoop()
{
    m_keys = std::make_unique<InstalledKeyState>();
    m_pointer = std::make_unique<ViewPointer>(GxSceneViewer);
    m_picker = std::make_unique<SceneBufferPicker>(GxSceneViewer->Buffer());
    m_view = std::make_unique<MapViewInput>(m_state, *m_scene, *m_keys, *m_pointer, *m_picker);
}

void Tfm_main::FormCreate()
{
    StartUp::Services services;
    services.ShowMapPage = [this] { PageControl->setCurrentWidget(MapSheet); };
    services.ShowSplash = [this] { m_windows.ShowSplash(); };
    services.ShowProgress = [this](int percent) {
        if (m_windows.fm_start)
            m_windows.fm_start->ShowLoadProgress(percent);
    };
    services.CompleteSplash = [this] { m_windows.CreateSplash(); };
    services.DropSplash = [this] { m_windows.DropSplash(); };
    services.LoadDirectory = [this](const std::string& path) {
        LoadOrgDirectory(m_records, *OrgName, *Street, path);
        LoadPlaces();
    };
    services.CentreWindow = [this] { CentreOnPrimaryScreen(*this); };
    services.ShowError = [](const QString& message) { showErrorBox(message); };
    if (StartUp(m_state, *m_scene, m_programFolder, m_townFolder, std::move(services)).Run())
        reportErrors([this] {
            m_routes->LoadNetwork(m_townFolder.toStdString());
            // The network's streets are named along their true lines.
            if (m_scene->Labels && m_routes->Network())
                m_scene->Labels->Prepare(m_scene->GxScene, labels::LinesFromNetwork(*m_routes->Network()));
        });
    if (m_scene->Labels)
        m_scene->Labels->SetReservedAreas([](QSize view) {
            std::vector<QRect> areas = MapOverlays::ReservedAreas(view);
            areas.push_back(MapCorner::Area(view)); // the north arrow and the scale bar
            return areas;
        });
    m_view->StartFrames();
}

void Tfm_main::FormShow()
{
    GxSceneViewer->setFocus();
    m_view->Shown();
}

bool Tfm_main::FormCloseQuery()
{
    if (m_windows.fm_finish)
        m_windows.fm_finish->Timer->start();
    return true;
}

void Tfm_main::FormClose()
{
    // Hidden, not destroyed: the closing screen ends the process.
    if (m_windows.fm_finish)
        m_windows.fm_finish->show();
    hide();
}

void Tfm_main::FormResize()
{
    // The layout follows the anchors alone.
}

void Tfm_main::bt_SettingsClick()
{
    m_actions->Settings();
}

void Tfm_main::bt_printClick()
{
    m_actions->PrintMenu();
}

void Tfm_main::N1Click()
{
    m_actions->Print(N1->text());
}

void Tfm_main::N2Click()
{
    m_actions->Print(N2->text());
}

void Tfm_main::PrintSnap(float scale)
{
    m_actions->PrintPicture(scale);
}

void Tfm_main::PrintOrgs()
{
    m_actions->PrintList();
}

void Tfm_main::SetPrinterSource(std::unique_ptr<PrinterSource> printers)
{
    m_actions->SetPrinterSource(std::move(printers));
}

void Tfm_main::SetDocumentOpener(std::unique_ptr<DocumentOpener> opener)
{
    m_actions->SetDocumentOpener(std::move(opener));
}

void Tfm_main::SetLinkOpener(std::unique_ptr<LinkOpener> opener)
{
    m_links = std::move(opener);
}

void Tfm_main::bt_infoClick()
{
    m_actions->Help();
}

void Tfm_main::bt_searchClick()
{
    m_searchPanel->bt_searchClick();
    GxSceneViewer->update(); // the pins
    TreeView->MakeFirstCurrent(false);
}

void Tfm_main::StreetChange()
{
    m_searchPanel->StreetChange();
}

void Tfm_main::OrgNameChange()
{
    m_searchPanel->OrgNameChange();
    GxSceneViewer->update(); // the pins
    // The user is typing: the tree is where Tab leads, not where the keys go.
    TreeView->MakeFirstCurrent(false);
}

void Tfm_main::ClearFields()
{
    m_searchPanel->ClearFields();
}

void Tfm_main::SettingsChanged()
{
    ToolActions::ApplySettings(m_state, m_scene->GxScene);
    // What is drawn over the map may have changed with nothing in the scene.
    GxSceneViewer->update();
}

void Tfm_main::GxCadencerProgress()
{
    m_view->Tick();
}

void Tfm_main::GxSceneViewerMouseDown(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers)
{
    m_mapMenu->Pressed(button, x, y);
    if (m_view->Measures(button, modifiers)) {
        if (const auto ground = m_view->GroundAt(x, y))
            m_ruler->Add(*ground);
        return;
    }
    const bool chose = m_view->MouseDown(button, x, y, [this](Qt::MouseButton b, int bx, int by) {
        m_selection->GxSceneViewerMouseDown(b, bx, by);
    });
    // A house chosen in the map is announced through the tree's focus;
    // from a search box the focus stays where the user types.
    GxSceneViewer->update(); // the pins
    if (chose) {
        m_searchPanel->MapChosen();
        TreeView->MakeFirstCurrent(focusWidget() == GxSceneViewer);
    }
}

void Tfm_main::GxSceneViewerMouseMove()
{
    GxSceneViewer->setFocus();
    m_view->PointerOverView();
}

void Tfm_main::GxSceneViewerAfterRender(QPainter& painter)
{
    MapOverlays::Draw(painter, GxSceneViewer->height(), m_state.CurrentObject);
    MapPins::Draw(painter, m_selection->Pins(), ViewProjection(), GxSceneViewer->Buffer().Height());
    m_corner->Draw(painter, GxSceneViewer->size(), m_state, *m_scene->GxFreeCamera);
}

std::function<TGxVector(const TGxVector&)> Tfm_main::ViewProjection()
{
    TGxSceneBuffer& buffer = GxSceneViewer->Buffer();
    return [&buffer](const TGxVector& point) { return buffer.ProjectToWindow(point); };
}

void Tfm_main::FormMouseMove()
{
    m_view->PointerOverWindow();
}

void Tfm_main::FormMouseWheel(double wheelDelta)
{
    m_view->Wheel(wheelDelta);
}

void Tfm_main::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        reportErrors([this] { FormShow(); });
}

void Tfm_main::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    reportErrors([&] { canClose = FormCloseQuery(); });
    if (!canClose) {
        event->ignore();
        return;
    }
    reportErrors([this] { FormClose(); });
    event->accept();
    m_windows.WindowClosed(this);
}

void Tfm_main::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    reportErrors([this] { FormMouseMove(); });
}

void Tfm_main::wheelEvent(QWheelEvent* event)
{
    // Wheel turns over the view reach the window: the view does not take them.
    reportErrors([&] { FormMouseWheel(event->angleDelta().y()); });
    event->accept();
}

void Tfm_main::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    reportErrors([this] { FormResize(); });
}
