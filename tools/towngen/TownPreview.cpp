#include "TownPreview.h"

#include "GroundTextures.h"

#include "base/GxException.h"
#include "data/TownScale.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <array>
#include <map>

namespace {
QColor fromWin(std::int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QPolygonF toQt(const Polygon& p)
{
    QPolygonF q;
    for (Vec2 v : p)
        q << QPointF(v.x, v.y);
    return q;
}

QImage pictureOf(GroundKind kind)
{
    const GroundPicture pic = groundPicture(kind);
    QImage img(pic.size, pic.size, QImage::Format_RGB888);
    for (int y = 0; y < pic.size; ++y)
        std::memcpy(img.scanLine(y), pic.rgb.data() + std::size_t(y * pic.size * 3), std::size_t(pic.size * 3));
    return img;
}
} // namespace

void saveTownPreview(const GeneratedTown& town, const std::string& pngPath, int pixels, float halfExtent)
{
    QImage img(pixels, pixels, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = pixels / (2.0 * halfExtent);
    // Scene Y points north: flip it so north is up in the picture.
    const QTransform world = QTransform().translate(pixels / 2.0, pixels / 2.0).scale(k, -k);
    p.setTransform(world);

    std::map<GroundKind, QImage> pictures;
    for (const PlanPlane& pl : town.plan.planes) {
        auto it = pictures.find(pl.kind);
        if (it == pictures.end())
            it = pictures.emplace(pl.kind, pictureOf(pl.kind)).first;
        const float tile = groundTileSize(pl.kind);
        QBrush brush(it->second);
        brush.setTransform(QTransform().scale(tile / 128.0, tile / 128.0));
        p.save();
        p.translate(pl.centre.x, pl.centre.y);
        p.rotate(std::atan2(pl.axis.y, pl.axis.x) * 180 / 3.14159265);
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawRect(QRectF(-pl.width / 2, -pl.height / 2, pl.width, pl.height));
        p.restore();
    }
    p.setPen(Qt::NoPen);
    for (const PlanArea& a : town.plan.areas) {
        p.setBrush(fromWin(areaColour(a.kind)));
        p.drawPolygon(toQt(a.outline));
    }
    p.setBrush(fromWin(roadColour()));
    for (const PlanStreet& s : town.plan.streets)
        if (s.hasRoad)
            p.drawPolygon(toQt(s.line.band(s.halfWidth, s.halfWidth)));

    // Houses: light for low, dark for tall, outlined so neighbours stay apart.
    QPen edge(QColor(40, 40, 40));
    edge.setWidthF(0.05);
    p.setPen(edge);
    for (const PlacedHouse& h : town.houses) {
        const int f = std::min(h.floors, 16);
        const int shade = 235 - f * 9;
        p.setBrush(h.kind == BuildingKind::Shed ? QColor(150, 120, 90) : QColor(shade, shade - 20, shade - 50));
        p.drawPolygon(toQt(h.outline));
    }

    // Street names at the middle of each street, and house numbers when close.
    p.resetTransform();
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(9, pixels / 110));
    p.setFont(font);
    for (const PlanStreet& s : town.plan.streets) {
        if (!s.hasRoad || s.line.length() < 8)
            continue;
        const Vec2 m = s.line.pointAt(s.line.length() / 2);
        const Vec2 t = s.line.tangentAt(s.line.length() / 2);
        double angle = -std::atan2(t.y, t.x) * 180 / 3.14159265;
        if (angle > 90)
            angle -= 180;
        if (angle < -90)
            angle += 180;
        const QPointF at = world.map(QPointF(m.x, m.y));
        p.save();
        p.translate(at);
        p.rotate(angle);
        p.setPen(QColor(255, 255, 255));
        p.drawText(QRectF(-300, -font.pixelSize(), 600, font.pixelSize() * 2), Qt::AlignCenter,
                   QString::fromStdString(s.name));
        p.restore();
    }
    if (k > 6) {
        QFont small("DejaVu Sans");
        small.setPixelSize(std::max(7, int(k * 0.5)));
        p.setFont(small);
        p.setPen(QColor(20, 20, 60));
        for (const PlacedHouse& h : town.houses) {
            const Vec2 c = centroidOfNodes(h.outline);
            const QPointF at = world.map(QPointF(c.x, c.y));
            p.drawText(QRectF(at.x() - 30, at.y() - 10, 60, 20), Qt::AlignCenter, QString::fromStdString(h.number));
        }
    }
    p.end();
    if (!img.save(QString::fromStdString(pngPath), "PNG"))
        throw EGxError("Не удалось записать файл \"" + pngPath + "\"");
}

namespace {
struct Vec3 {
    double x = 0, y = 0, z = 0;
};
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot3(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross3(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 unit(Vec3 a) { return a * (1 / std::sqrt(dot3(a, a))); }

class StartupCamera {
public:
    StartupCamera(int w, int h) : m_w(w), m_h(h)
    {
        m_f = unit(Vec3{} - m_eye);
        m_r = unit(cross3(m_f, {0, 0, 1}));
        m_u = cross3(m_r, m_f);
    }
    double depth(Vec3 p) const { return dot3(p - m_eye, m_f); }
    QPointF project(Vec3 p) const
    {
        const Vec3 d = p - m_eye;
        const double z = dot3(d, m_f);
        return {m_w / 2.0 + dot3(d, m_r) / z * (m_w / 2.0) / kTanH, m_h / 2.0 - dot3(d, m_u) / z * (m_h / 2.0) / kTanV};
    }
    // Keeps the part of a polygon between the near and far planes.
    std::vector<Vec3> clip(std::vector<Vec3> poly) const
    {
        for (int side = 0; side < 2; ++side) {
            auto inside = [&](Vec3 p) { return side == 0 ? depth(p) - kNear : kFar - depth(p); };
            std::vector<Vec3> out;
            for (std::size_t i = 0; i < poly.size(); ++i) {
                const Vec3 a = poly[i], b = poly[(i + 1) % poly.size()];
                const double da = inside(a), db = inside(b);
                if (da >= 0)
                    out.push_back(a);
                if ((da >= 0) != (db >= 0))
                    out.push_back(a + (b - a) * (da / (da - db)));
            }
            poly = std::move(out);
        }
        return poly;
    }
    // Ground coordinates to picture pixels: a projective map valid in front of the camera.
    QTransform groundToPicture() const
    {
        QPolygonF ground, picture;
        for (Vec3 p : {Vec3{-10, -10, 0}, Vec3{10, -10, 0}, Vec3{10, 10, 0}, Vec3{-10, 10, 0}}) {
            ground << QPointF(p.x, p.y);
            picture << project(p);
        }
        QTransform t;
        QTransform::quadToQuad(ground, picture, t);
        return t;
    }
    Vec3 eye() const { return m_eye; }

private:
    static constexpr double kTanV = 0.582, kTanH = 0.784, kNear = 0.13, kFar = 500;
    int m_w, m_h;
    Vec3 m_eye{37.2, -41.2, 40.2};
    Vec3 m_f, m_r, m_u;
};

QPolygonF groundPolygon(const std::vector<Vec3>& p)
{
    QPolygonF q;
    for (Vec3 v : p)
        q << QPointF(v.x, v.y);
    return q;
}
} // namespace

void saveStartupView(const GeneratedTown& town, const std::string& pngPath, int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const StartupCamera cam(width, height);
    const QTransform ground = cam.groundToPicture();

    auto flat = [&](const std::vector<Vec3>& poly, const QBrush& brush, const QTransform& brushTransform) {
        const std::vector<Vec3> clipped = cam.clip(poly);
        if (clipped.size() < 3)
            return;
        p.setTransform(ground);
        QBrush b = brush;
        b.setTransform(brushTransform);
        p.setPen(Qt::NoPen);
        p.setBrush(b);
        p.drawPolygon(groundPolygon(clipped));
        p.resetTransform();
    };
    std::map<GroundKind, QImage> pictures;
    for (const PlanPlane& pl : town.plan.planes) {
        auto it = pictures.find(pl.kind);
        if (it == pictures.end())
            it = pictures.emplace(pl.kind, pictureOf(pl.kind)).first;
        const Vec2 u = pl.axis * (pl.width / 2), v = leftNormal(pl.axis) * (pl.height / 2);
        std::vector<Vec3> quad;
        for (Vec2 c : {pl.centre - u - v, pl.centre + u - v, pl.centre + u + v, pl.centre - u + v})
            quad.push_back({c.x, c.y, 0});
        const double tile = groundTileSize(pl.kind);
        flat(quad, QBrush(it->second), QTransform().scale(tile / 128.0, tile / 128.0));
    }
    // The map's grid: light lines every 5 units at Z = 0, over the ground planes.
    p.setTransform(ground);
    for (int k = -94; k <= 94; ++k) {
        for (int dir = 0; dir < 2; ++dir) {
            const double c = k * 5.0;
            std::vector<Vec3> seg = dir ? std::vector<Vec3>{{c, -470, 0}, {c, 470, 0}, {c + 0.05, 470, 0}, {c + 0.05, -470, 0}}
                                        : std::vector<Vec3>{{-470, c, 0}, {470, c, 0}, {470, c + 0.05, 0}, {-470, c + 0.05, 0}};
            const std::vector<Vec3> clipped = cam.clip(seg);
            if (clipped.size() < 2)
                continue;
            QPen pen(QColor(230, 230, 230));
            pen.setWidthF(0);
            p.setPen(pen);
            const QPolygonF q = groundPolygon(clipped);
            p.drawLine(q.first(), q.at(q.size() / 2));
        }
    }
    p.resetTransform();
    for (const PlanArea& a : town.plan.areas) {
        std::vector<Vec3> poly;
        for (Vec2 v : a.outline)
            poly.push_back({v.x, v.y, 0});
        flat(poly, fromWin(areaColour(a.kind)), QTransform());
    }
    for (const PlanStreet& s : town.plan.streets) {
        if (!s.hasRoad)
            continue;
        std::vector<Vec3> poly;
        for (Vec2 v : s.line.band(s.halfWidth, s.halfWidth))
            poly.push_back({v.x, v.y, 0});
        flat(poly, fromWin(roadColour()), QTransform());
    }

    // Houses far to near; each shows the walls that face the camera, then its roof.
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t i = 0; i < town.houses.size(); ++i) {
        const Vec2 c = centroidOfNodes(town.houses[i].outline);
        const double d = cam.depth({c.x, c.y, 0});
        if (d > 1 && d < 500)
            order.push_back({-d, i});
    }
    std::sort(order.begin(), order.end());
    auto lit = [&](Vec3 normal, Vec3 at) {
        const double k = 0.4 + 0.6 * std::max(0.0, dot3(unit(normal), unit(cam.eye() - at)));
        return QColor(0, int(std::min(255.0, 128 * k)), 0);
    };
    QPen edge(QColor(0, 70, 0));
    edge.setWidthF(0.6);
    for (const auto& [negDepth, i] : order) {
        const PlacedHouse& h = town.houses[i];
        const double top = double(float(h.floors * kMetresPerStorey) * kHeightScale);
        const Polygon& o = h.outline;
        // Houses beside or below the camera would project to huge coordinates.
        QPolygonF base;
        bool near = false;
        for (Vec2 v : o) {
            near = near || cam.depth({v.x, v.y, 0}) < 2;
            base << cam.project({v.x, v.y, 0});
        }
        if (near || !base.boundingRect().intersects(QRectF(-50, -50, width + 100, height + 100)))
            continue;
        p.setPen(edge);
        for (std::size_t k = 0; k < o.size(); ++k) {
            const Vec2 a = o[k], b = o[(k + 1) % o.size()];
            const Vec3 outward{double(b.y - a.y), double(a.x - b.x), 0};
            const Vec3 mid{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, top / 2};
            if (dot3(outward, cam.eye() - mid) <= 0)
                continue;
            p.setBrush(lit(outward, mid));
            p.drawPolygon(QPolygonF() << cam.project({a.x, a.y, 0}) << cam.project({a.x, a.y, top})
                                      << cam.project({b.x, b.y, top}) << cam.project({b.x, b.y, 0}));
        }
        QPolygonF roof;
        for (Vec2 v : o)
            roof << cam.project({v.x, v.y, top});
        const Vec2 c = centroidOfNodes(o);
        p.setBrush(lit({0, 0, 1}, {c.x, c.y, top}));
        p.drawPolygon(roof);
    }
    p.end();
    if (!img.save(QString::fromStdString(pngPath), "PNG"))
        throw EGxError("Не удалось записать файл \"" + pngPath + "\"");
}
