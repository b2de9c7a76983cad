#include "app/RouteTool.h"

#include "app/RouteBar.h"
#include "base/GxException.h"
#include "data/RoadNetworkReader.h"
#include "map/MainScene.h"
#include "map/MapBand.h"
#include "navigation/FrameGround.h"
#include "routing/Router.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <algorithm>

RouteTool::RouteTool(MapState& state, MainScene& scene, RouteBar& bar, std::function<QSize()> viewSize)
    : m_state(state), m_scene(scene), m_bar(bar), m_viewSize(std::move(viewSize))
{
    m_bar.ModeChosen = [this](TravelMode mode) { SetMode(mode); };
    m_bar.ClearClicked = [this] { Clear(); };
}

RouteTool::~RouteTool() = default;

void RouteTool::LoadNetwork(const std::string& townFolder)
{
    const std::string path = QDir(QString::fromStdString(townFolder)).filePath(roadnetwork::kFileName).toStdString();
    std::optional<RoadNetwork> network;
    try {
        network = readRoadNetworkFile(path);
    } catch (const EGxError&) {
        m_plan = RoutePlan({}, QStringLiteral("Файл дорог roads.dat повреждён: маршруты не строятся"));
        show(false);
        throw;
    }
    if (!network)
        return;
    m_router = std::make_unique<Router>(std::move(*network));
    m_plan = RoutePlan([this](RoutePoint from, RoutePoint to, TravelMode mode) { return m_router->route(from, to, mode); });
    show(false);
}

const RoadNetwork* RouteTool::Network() const
{
    return m_router ? &m_router->network() : nullptr;
}

void RouteTool::From(const RouteEnd& end)
{
    if (m_plan.SetFrom(end))
        show(true);
}

void RouteTool::To(const RouteEnd& end)
{
    if (m_plan.SetTo(end))
        show(true);
}

void RouteTool::SetMode(TravelMode mode)
{
    if (m_plan.SetMode(mode))
        show(true);
}

void RouteTool::Clear()
{
    if (m_plan.Clear())
        show(false);
}

void RouteTool::AddMenuEntries(QMenu& menu, const std::optional<RouteEnd>& end, const QString& missing)
{
    menu.setToolTipsVisible(true);
    const QString why = !m_plan.Available() ? m_plan.UnavailableReason() : !end ? missing : QString();
    const auto add = [&](const char* text, const char* name, void (RouteTool::*set)(const RouteEnd&)) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setObjectName(name);
        action->setEnabled(why.isEmpty());
        action->setToolTip(why.isEmpty() ? action->text() : why);
        if (end)
            QObject::connect(action, &QAction::triggered, &menu, [this, set, place = *end] { (this->*set)(place); });
    };
    add(RoutePlan::kFromHere, "RouteFrom", &RouteTool::From);
    add(RoutePlan::kToHere, "RouteTo", &RouteTool::To);
    if (m_plan.Active()) {
        QAction* clear = menu.addAction(QString::fromUtf8(kClear));
        clear->setObjectName("RouteClear");
        QObject::connect(clear, &QAction::triggered, &menu, [this] { Clear(); });
    }
}

void RouteTool::show(bool frame)
{
    std::vector<RoutePoint> line;
    if (const std::optional<Route>& way = m_plan.Way()) {
        // From each end's own place to the road it was taken to.
        line.push_back(m_plan.From()->at);
        line.insert(line.end(), way->points.begin(), way->points.end());
        line.push_back(m_plan.To()->at);
    } else if (m_plan.From()) {
        line.push_back(m_plan.From()->at);
    } else if (m_plan.To()) {
        line.push_back(m_plan.To()->at);
    }
    if (!m_band && !line.empty()) {
        // Made late, so it follows the town in the scene.
        m_band = m_scene.GxScene.ObjectRoot()->SpawnChild<MapBand>();
        m_band->SetName("RouteBand");
        m_band->SetHalfWidth(0.45f);
        m_band->SetCapRadius(0.7f);
        m_band->SetColour(kColour);
    }
    if (m_band)
        m_band->SetPointsOf(line);
    m_bar.Show(m_plan);
    if (frame && m_plan.Way()) {
        GroundBox box{line[0].x, line[0].y, line[0].x, line[0].y};
        for (const RoutePoint& p : line) {
            box.minX = std::min(box.minX, p.x);
            box.minY = std::min(box.minY, p.y);
            box.maxX = std::max(box.maxX, p.x);
            box.maxY = std::max(box.maxY, p.y);
        }
        FrameGround(m_state, m_scene, box, m_viewSize());
    }
}
