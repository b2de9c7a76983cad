#include "map/MapLabels.h"

#include "base/Cp1251.h"
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/RenderContextInfo.h"
#include "map/House.h"
#include "map/MapState.h"
#include "map/Road.h"
#include "map/StreetLines.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QOpenGLContext>
#include <QPainter>
#include <QPainterPath>

#include <GL/gl.h>

#include <algorithm>

using namespace labels;

namespace {

// The pictures are made this large and drawn smaller (mipmapped).
constexpr int kFontPixels = 32;
constexpr qreal kHalo = 12;      // the light band's width around the letters: wide enough to close the gaps between them
constexpr int kMargin = 4;
constexpr int kPlateAlpha = 170;
constexpr float kAboveGround = 0.06f;      // over the roads (0.035) and flat areas

QFont labelFont()
{
    // The family the map's other texts use (with the installed substitute).
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(kFontPixels);
    font.setBold(true); // thin strokes fade when the picture is drawn small
    return font;
}

// The picture's size: its sides multiples of the atlas's alignment.
QSize pictureSize(const QString& s, const QFontMetricsF& metrics)
{
    const auto aligned = [](int v) { return (v + LabelAtlas::kAlign - 1) / LabelAtlas::kAlign * LabelAtlas::kAlign; };
    return {aligned(int(std::ceil(metrics.horizontalAdvance(s))) + 2 * kMargin + int(kHalo)),
            aligned(int(std::ceil(metrics.height())) + 2 * kMargin)};
}

// Premultiplied.
QImage textPicture(LabelKind kind, const std::string& text)
{
    const QString s = cp1251::decode(text);
    const QFont font = labelFont();
    const QFontMetricsF metrics(font);
    const QSize size = pictureSize(s, metrics);
    const int width = size.width(), height = size.height();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addText((width - metrics.horizontalAdvance(s)) / 2, (height - metrics.height()) / 2 + metrics.ascent(), font, s);
    // A soft light plate that quiets the ground and the grid behind the
    // word, a light halo round each letter, then the dark letters: readable
    // over any ground.
    const qreal radius = image.height() / 3.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, kPlateAlpha));
    painter.drawRoundedRect(QRectF(0, 0, image.width(), image.height()).adjusted(1, 1, -1, -1), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255), kHalo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kind == LabelKind::Street ? QColor(25, 25, 60) : QColor(20, 20, 20));
    painter.drawPath(path);
    painter.end();
    return image;
}

std::string keyOf(LabelKind kind, const std::string& text)
{
    return (kind == LabelKind::Street ? "s" : "n") + text;
}

std::vector<P2> outlineOf(const TGxPolygon& polygon)
{
    std::vector<P2> points;
    const TGxNodes& nodes = polygon.Nodes();
    points.reserve(std::size_t(nodes.Count()));
    for (int i = 0; i < nodes.Count(); ++i)
        points.push_back({nodes.Items(i).X(), nodes.Items(i).Y()});
    return points;
}

} // namespace

TMapLabels::TMapLabels(TGxComponent* owner, const MapState& state) : TGxBaseSceneObject(owner), m_state(state)
{
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::NeverCull);
    SetRenderFlags(flags);
}

TMapLabels::~TMapLabels()
{
    // The texture can only be freed in its own context.
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (m_atlas && !(current && current->shareGroup() == m_atlasGroup))
        m_atlas->Abandon();
}

float TMapLabels::TextAspect(LabelKind, const std::string& text)
{
    const QSize size = pictureSize(cp1251::decode(text), QFontMetricsF(labelFont()));
    return float(size.width()) / float(std::max(1, size.height()));
}

void TMapLabels::Prepare(const TGxScene& scene, std::vector<StreetLine> extraRoads)
{
    std::vector<StreetLine> roads = std::move(extraRoads);
    const std::size_t given = roads.size();
    std::vector<AddressedPoint> addresses;
    std::vector<HouseMark> numbers;
    const TGxBaseSceneObject* root = const_cast<TGxScene&>(scene).ObjectRoot();
    for (int i = 0; i < root->Count(); ++i) {
        const TGxBaseSceneObject* object = root->Children(i);
        if (const auto* house = dynamic_cast<const Thouse*>(object)) {
            if (house->Nodes().Count() == 0)
                continue;
            const P2 centre{house->CenterX(), house->CenterY()};
            addresses.push_back({house->params()[0], centre});
            if (house->params()[1] != "0" && !house->params()[1].empty())
                numbers.push_back({house->params()[1], {centre.x, centre.y, house->Nodes().Items(0).Z() + kAboveGround}});
        } else if (const auto* road = dynamic_cast<const Troad*>(object)) {
            if (road->StreetName().empty())
                continue;
            std::vector<P2> line = BandCentreLine(outlineOf(*road));
            if (!line.empty())
                roads.push_back({road->StreetName(), std::move(line)});
        }
    }
    // What a road network names stands for the whole street.
    if (given > 0) {
        std::vector<StreetLine> network(roads.begin(), roads.begin() + std::ptrdiff_t(given));
        std::vector<StreetLine> pieces(roads.begin() + std::ptrdiff_t(given), roads.end());
        roads = MergeStreetLines(std::move(network), std::move(pieces));
    }
    // Measured when first placed, with the texts' pictures at hand.
    const auto aspect = [](LabelKind kind, const std::string& text) { return TextAspect(kind, text); };
    m_layout = std::make_unique<LabelLayout>(MergeStreetLines(std::move(roads), LinesFromHouses(addresses)),
                                             std::move(numbers), aspect);
    m_lastPlaced.clear();
}

LabelView TMapLabels::viewOf(const TRenderContextInfo& rci) const
{
    LabelView view;
    float projection[16], modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + r] * modelView[c * 4 + k];
            view.worldToClip[std::size_t(c * 4 + r)] = sum;
        }
    view.width = rci.viewPortWidth;
    view.height = rci.viewPortHeight;
    view.scale = float(rci.renderDPI) / 96.0f;
    view.focalPixels = projection[5] * float(view.height) / 2;
    view.right = {modelView[0], modelView[4], modelView[8]};
    view.up = {modelView[1], modelView[5], modelView[9]};
    view.eye = {rci.cameraPosition.X, rci.cameraPosition.Y, rci.cameraPosition.Z};
    view.streets = m_state.ShowStreetNames;
    view.numbers = m_state.ShowHouseNumbers;

    // Pixels at 96 dots per inch from the top left to the pass's own, from the bottom left.
    const float f = view.scale;
    const auto toWindow = [&](float left, float top, float width, float height) {
        return ScreenRect{left * f, float(view.height) - (top + height) * f, (left + width) * f,
                          float(view.height) - top * f};
    };
    if (m_reserved) {
        const QSize logical(int(float(view.width) / f), int(float(view.height) / f));
        for (const QRect& r : m_reserved(logical))
            view.reserved.push_back(toWindow(float(r.x()), float(r.y()), float(r.width()), float(r.height())));
    }
    // The search's address label, centred on its position.
    if (const TGxHUDSprite* hint = m_state.HintSprite; hint && hint->Visible()) {
        const TGxVector& p = hint->Position().Vector4();
        view.reserved.push_back(toWindow(p.X - hint->Width() / 2, p.Y - hint->Height() / 2, hint->Width(), hint->Height()));
    }
    return view;
}

LabelAtlas& TMapLabels::atlas()
{
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    QOpenGLContextGroup* group = current ? current->shareGroup() : nullptr;
    if (!m_atlas || group != m_atlasGroup) {
        if (m_atlas)
            m_atlas->Abandon(); // its context is not this one
        m_atlas = std::make_unique<LabelAtlas>();
        m_atlasGroup = group;
    }
    return *m_atlas;
}

void TMapLabels::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    // A pick or a pass without colours: nothing, so a label is never picked.
    const bool shown = m_state.ShowStreetNames || m_state.ShowHouseNumbers;
    if (renderSelf && !rci.ignoreMaterials) {
        m_lastPlaced.clear();
        if (m_layout && shown)
            m_lastPlaced = m_layout->Place(viewOf(rci));
        if (!m_lastPlaced.empty())
            draw();
    }
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

void TMapLabels::draw()
{
    LabelAtlas& pictures = atlas();
    // Behind the state cache's back, and put back exactly as found.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT
                 | GL_POLYGON_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    std::vector<LabelAtlas::Slot> places(m_lastPlaced.size());
    std::vector<char> have(m_lastPlaced.size(), 0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool full = false;
        for (std::size_t i = 0; i < m_lastPlaced.size(); ++i) {
            const PlacedLabel& label = m_lastPlaced[i];
            const std::string& text = label.kind == LabelKind::Street
                                          ? m_layout->Streets()[std::size_t(label.text)].name
                                          : m_layout->Houses()[std::size_t(label.text)].number;
            have[i] = pictures.SlotOf(keyOf(label.kind, text), [&] { return textPicture(label.kind, text); },
                                      places[i]);
            full = full || !have[i];
        }
        if (!full)
            break;
        // Full: start again with this frame's pictures only.
        pictures.Clear();
    }
    glBindTexture(GL_TEXTURE_2D, pictures.Texture());
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDepthMask(GL_FALSE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < m_lastPlaced.size(); ++i) {
        if (!have[i])
            continue;
        const PlacedLabel& label = m_lastPlaced[i];
        const LabelAtlas::Slot& s = places[i];
        const float u[4] = {s.u0, s.u1, s.u1, s.u0};
        const float v[4] = {s.v1, s.v1, s.v0, s.v0}; // bottom corners first
        glColor4f(1, 1, 1, label.alpha);
        for (std::size_t k = 0; k < 4; ++k) {
            const P3& p = label.world[k];
            glTexCoord2f(u[k], v[k]);
            glVertex3f(p.x, p.y, label.pose == LabelPose::Ground ? p.z + kAboveGround : p.z);
        }
    }
    glEnd();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopClientAttrib();
    glPopAttrib();
}
