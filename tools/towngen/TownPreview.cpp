#include "TownPreview.h"

#include "GroundTextures.h"

#include "engine/scene/GxException.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <cstring>
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
